// The platform's path rules as the program relies on them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/path.h"
#include "support.h"

namespace {

#ifdef _WIN32
#define SEP "\\"
#else
#define SEP "/"
#endif

struct cut_case {
    std::string path;
    bool has_folder;
    std::string folder; // after the cut, when it has one
};

TEST(Path, FolderPartAndCut)
{
    const std::vector<cut_case> cases = {
        {"party.m3u", false, ""},
        {"lists" SEP "party.m3u", true, "lists"},
        {"a" SEP "b" SEP "party.m3u", true, "a" SEP "b"},
#ifdef _WIN32
        {"c:\\music\\party.m3u", true, "c:\\music"},
        {"c:/music/party.m3u", true, "c:\\music"},
        {"lists/party.m3u", true, "lists"},
#else
        {"/x.m3u", true, "/"},
        {"/music/party.m3u", true, "/music"},
        {"./party.m3u", true, "."},
        {"a\\b.m3u", false, ""},
#endif
    };
    for (const auto &c : cases) {
        std::vector<char> path(c.path.begin(), c.path.end());
        path.push_back('\0');
        platform::normalize_separators(path.data());
        EXPECT_EQ(platform::path_has_folder(path.data()), c.has_folder) << c.path;
        if (c.has_folder) {
            platform::cut_to_folder(path.data());
            EXPECT_EQ(std::string(path.data()), c.folder) << c.path;
        }
    }
}

struct join_case {
    std::string folder;
    std::string name;
    std::string joined;
};

TEST(Path, Join)
{
    const std::vector<join_case> cases = {
        {"music", "copy.m3u", "music" SEP "copy.m3u"},
        {"a" SEP "b", "sub" SEP "c.m3u", "a" SEP "b" SEP "sub" SEP "c.m3u"},
#ifdef _WIN32
        {"c:\\music", "d:\\other\\c.m3u", "d:\\other\\c.m3u"},
        {"c:\\music", "\\root.m3u", "c:\\root.m3u"},
#else
        {"/", "c.m3u", "/c.m3u"},
        {"music", "/tmp/c.m3u", "/tmp/c.m3u"},
        {"music", "../c.m3u", "music/../c.m3u"},
#endif
    };
    for (const auto &c : cases) {
        std::vector<char> out(platform::path_limit, 'z');
        EXPECT_TRUE(platform::join_path(out.data(), out.size(), c.folder.c_str(), c.name.c_str()));
        EXPECT_EQ(std::string(out.data()), c.joined) << c.folder << " + " << c.name;
    }
}

TEST(Path, JoinNeverTruncates)
{
    const std::string folder(platform::path_limit / 2, 'f');
    const std::string fits(platform::path_limit - folder.size() - 2, 'n');
    const std::string too_long = fits + "n";
    std::vector<char> out(platform::path_limit, 'z');
    EXPECT_TRUE(platform::join_path(out.data(), out.size(), folder.c_str(), fits.c_str()));
    EXPECT_EQ(std::string(out.data()).size(), platform::path_limit - 1);
    EXPECT_FALSE(platform::join_path(out.data(), out.size(), folder.c_str(), too_long.c_str()));
    EXPECT_EQ(out[0], '\0');
}

TEST(Path, SameFileUnderAnotherSpelling)
{
    temp_folder temp;
    const fs::path music = temp.path / "music";
    fs::create_directory(music);
    write_bytes(music / "party.m3u", "#EXTM3U\n");
    write_bytes(music / "other.m3u", "#EXTM3U\n");
    fs::create_hard_link(music / "party.m3u", music / "hard.m3u");
    std::FILE *open = std::fopen((music / "party.m3u").string().c_str(), "rb");
    ASSERT_NE(open, nullptr);
    const std::string base = music.string();
    EXPECT_TRUE(platform::is_same_file(open, (base + SEP "party.m3u").c_str()));
    EXPECT_TRUE(platform::is_same_file(open, (base + SEP "." SEP "party.m3u").c_str()));
    EXPECT_TRUE(
        platform::is_same_file(open, (base + SEP ".." SEP "music" SEP "party.m3u").c_str()));
    EXPECT_TRUE(platform::is_same_file(open, (base + SEP "hard.m3u").c_str()));
    EXPECT_FALSE(platform::is_same_file(open, (base + SEP "other.m3u").c_str()));
    EXPECT_FALSE(platform::is_same_file(open, (base + SEP "absent.m3u").c_str()));
#ifdef _WIN32
    EXPECT_TRUE(platform::is_same_file(open, (base + "\\PARTY.M3U").c_str()));
    EXPECT_TRUE(platform::is_same_file(open, (music.generic_string() + "/party.m3u").c_str()));
#endif
    (void)std::fclose(open);
}

TEST(Path, EntriesAreFoundRelativeToTheFolder)
{
    temp_folder temp;
    write_bytes(temp.path / "a.mp3", "media");
    const std::string base = temp.path.string();
    const platform::folder folder = platform::open_folder(base.c_str());
    EXPECT_TRUE(platform::entry_exists(folder, "a.mp3"));
    EXPECT_FALSE(platform::entry_exists(folder, "b.mp3"));
    EXPECT_FALSE(platform::entry_exists(folder, ""));
    EXPECT_TRUE(platform::entry_exists(folder, base + SEP "a.mp3"));
    const std::string too_long(platform::path_limit, 'a');
    EXPECT_FALSE(platform::entry_exists(folder, too_long));
    platform::close_folder(folder);
}

#ifndef _WIN32
TEST(Path, ADanglingLinkIsMissing)
{
    temp_folder temp;
    fs::create_symlink(temp.path / "gone.mp3", temp.path / "link.mp3");
    const std::string base = temp.path.string();
    const platform::folder folder = platform::open_folder(base.c_str());
    EXPECT_FALSE(platform::entry_exists(folder, "link.mp3"));
    platform::close_folder(folder);
    EXPECT_FALSE(platform::path_exists((temp.path / "link.mp3").c_str()));
}
#endif

} // namespace
