// The entry filter over real files: a playlist's bytes and the media files
// present in its folder, against the copy's bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "filter.h"
#include "support.h"

namespace {

using namespace std::string_literals;

struct filter_case {
    const char *name;
    std::string playlist;
    std::vector<std::string> present; // media files; a trailing '/' makes a folder
    std::string copy;
};

// Names the case in failure reports instead of dumping its bytes.
void PrintTo(const filter_case &c, std::ostream *os)
{
    *os << c.name;
}

std::string repeat(char c, std::size_t n)
{
    return std::string(n, c);
}

const std::string long_info = "#EXTINF:1," + repeat('L', 100000) + "\n";
const std::string info_499 = "#EXTINF:1," + repeat('n', 489) + "\n";

const std::vector<filter_case> cases = {
    {"empty playlist", "", {"a.mp3"}, ""},
    {"header only", "#EXTM3U\n", {}, "#EXTM3U\r\n"},
    {"keeps present, drops missing",
     "#EXTM3U\n#EXTINF:1,A\na.mp3\n#EXTINF:2,B\nb.mp3\n#EXTINF:3,C\nc.mp3\n",
     {"a.mp3", "c.mp3"},
     "#EXTM3U\r\n#EXTINF:1,A\r\na.mp3\r\n#EXTINF:3,C\r\nc.mp3\r\n"},
    {"no header is made up", "#EXTINF:1,A\na.mp3\n", {"a.mp3"}, "#EXTINF:1,A\r\na.mp3\r\n"},
    {"headers anywhere, with text after the mark",
     "#EXTM3U\n#EXTINF:1,A\na.mp3\n#EXTM3U and more\n#EXTINF:2,B\nb.mp3\n#EXTM3U\n",
     {},
     "#EXTM3U\r\n#EXTM3U and more\r\n#EXTM3U\r\n"},
    {"header mark is upper case only", "#extm3u\na.mp3\n", {"a.mp3"}, "#extm3u\r\na.mp3\r\n"},
    {"bare paths pair up, first line never tested, odd last dropped",
     "a.mp3\nb.mp3\nc.mp3\nd.mp3\ne.mp3\n",
     {"b.mp3", "c.mp3"},
     "a.mp3\r\nb.mp3\r\n"},
    {"blank line between entries ends the list",
     "#EXTM3U\n#EXTINF:1,A\na.mp3\n\n#EXTM3U\n#EXTINF:2,B\nb.mp3\n",
     {"a.mp3", "b.mp3"},
     "#EXTM3U\r\n#EXTINF:1,A\r\na.mp3\r\n"},
    {"blank path line drops the entry and the list goes on",
     "#EXTINF:1,A\n\n#EXTINF:2,B\nb.mp3\n",
     {"b.mp3"},
     "#EXTINF:2,B\r\nb.mp3\r\n"},
    {"information line at the end is dropped", "#EXTM3U\n#EXTINF:1,A\n", {}, "#EXTM3U\r\n"},
    {"last path line without line end", "#EXTINF:1,A\na.mp3", {"a.mp3"}, "#EXTINF:1,A\r\na.mp3"},
    {"CR LF playlist",
     "#EXTM3U\r\n#EXTINF:1,A\r\na.mp3\r\n#EXTINF:2,B\r\nb.mp3\r\n",
     {"a.mp3"},
     "#EXTM3U\r\n#EXTINF:1,A\r\na.mp3\r\n"},
    {"lone CR stays in a line",
     "#EXTINF:1,A\rB\na.mp3\n",
     {"a.mp3"},
     "#EXTINF:1,A\rB\r\na.mp3\r\n"},
    {"CR CR LF keeps one CR", "#EXTINF:1,A\r\r\na.mp3\n", {"a.mp3"}, "#EXTINF:1,A\r\r\na.mp3\r\n"},
    {"CR before LF is not part of the entry path",
     "#EXTINF:1,A\na.mp3\r\n",
     {"a.mp3"},
     "#EXTINF:1,A\r\na.mp3\r\n"},
    {"Ctrl-Z ends the playlist",
     "#EXTINF:1,A\na.mp3\n#EXTINF:2,B\nb\x1a.mp3\n#EXTINF:3,C\nc.mp3\n",
     {"a.mp3", "b", "c.mp3"},
     "#EXTINF:1,A\r\na.mp3\r\n#EXTINF:2,B\r\nb"},
    {"lines of any length are read whole",
     long_info + "a.mp3\n" + long_info + "b.mp3\n",
     {"a.mp3"},
     long_info.substr(0, long_info.size() - 1) + "\r\na.mp3\r\n"},
    {"a line of 499 characters is an ordinary line",
     info_499 + "a.mp3\n",
     {"a.mp3"},
     info_499.substr(0, info_499.size() - 1) + "\r\na.mp3\r\n"},
    {"byte-order mark pairs every later line one off",
     "\xEF\xBB\xBF#EXTM3U\n#EXTINF:1,A\na.mp3\n#EXTINF:2,B\nb.mp3\n",
     {"a.mp3", "b.mp3"},
     ""},
    {"NUL is an ordinary byte of an information line",
     "#EXTINF:1,A\0B\na.mp3\n"s,
     {"a.mp3"},
     "#EXTINF:1,A\0B\r\na.mp3\r\n"s},
    {"an entry path holding NUL names no file",
     "#EXTINF:1,A\na.mp3\0x\n#EXTINF:2,B\nb.mp3\n"s,
     {"a.mp3", "b.mp3"},
     "#EXTINF:2,B\r\nb.mp3\r\n"},
    {"one character and a line end is an ordinary line", "x\na.mp3\n", {"a.mp3"}, "x\r\na.mp3\r\n"},
    {"one character without line end ends the list", "#EXTM3U\nx", {"x"}, "#EXTM3U\r\n"},
    {"entry paths in subfolders and back out",
     "#EXTINF:1,A\nsub/a.mp3\n#EXTINF:2,B\nsub/../b.mp3\n#EXTINF:3,C\nsub/c.mp3\n",
     {"sub/", "sub/a.mp3", "b.mp3"},
     "#EXTINF:1,A\r\nsub/a.mp3\r\n#EXTINF:2,B\r\nsub/../b.mp3\r\n"},
    {"blanks and tabs are part of the entry path", "#EXTINF:1,A\n a.mp3\t\n", {"a.mp3"}, ""},
    {"an entry path naming a folder exists",
     "#EXTINF:1,A\nsub\n",
     {"sub/"},
     "#EXTINF:1,A\r\nsub\r\n"},
    {"an entry path too long for the system names no file",
     "#EXTINF:1,A\n" + repeat('p', 70000) + "\n#EXTINF:2,B\na.mp3\n",
     {"a.mp3"},
     "#EXTINF:2,B\r\na.mp3\r\n"},
#ifdef _WIN32
    {"backslashes in entry paths",
     "#EXTINF:1,A\nsub\\a.mp3\n#EXTINF:2,B\nsub\\..\\b.mp3\n",
     {"sub/", "sub/a.mp3", "b.mp3"},
     "#EXTINF:1,A\r\nsub\\a.mp3\r\n#EXTINF:2,B\r\nsub\\..\\b.mp3\r\n"},
    {"names that differ only in letter case are one file",
     "#EXTINF:1,A\nA.MP3\n",
     {"a.mp3"},
     "#EXTINF:1,A\r\nA.MP3\r\n"},
#endif
};

class Filter : public folder_test<filter_case> {
  protected:
    // Runs the filter over the playlist with the files present and returns
    // the copy's bytes.
    std::string sift(const filter_case &c)
    {
        const fs::path music = temp.path / "music";
        fs::create_directory(music);
        for (const auto &name : c.present) {
            if (name.back() == '/')
                fs::create_directories(music / name);
            else
                write_bytes(music / name, "media");
        }
        write_bytes(music / "list.m3u", c.playlist);
        std::FILE *in = std::fopen((music / "list.m3u").string().c_str(), "rb");
        std::FILE *out = std::fopen((temp.path / "copy.m3u").string().c_str(), "wb");
        EXPECT_NE(in, nullptr);
        EXPECT_NE(out, nullptr);
        const std::string folder_path = music.string();
        const platform::folder folder = platform::open_folder(folder_path.c_str());
        line_reader reader = make_reader(in);
        copy_writer writer = make_writer(out);
        filter_entries(reader, writer, folder);
        platform::close_folder(folder);
        (void)std::fclose(in);
        EXPECT_FALSE(reader.failed);
        EXPECT_TRUE(close_copy(writer));
        EXPECT_EQ(read_bytes(music / "list.m3u"), c.playlist);
        return read_bytes(temp.path / "copy.m3u");
    }
};

TEST_P(Filter, WritesTheExpectedCopy)
{
    EXPECT_EQ(sift(GetParam()), GetParam().copy);
}

INSTANTIATE_TEST_SUITE_P(Cases, Filter, testing::ValuesIn(cases),
                         [](const auto &info) { return case_name(info.param.name); });

TEST_F(Filter, FullEntryPathsStandAlone)
{
    const fs::path elsewhere = temp.path / "elsewhere.mp3";
    write_bytes(elsewhere, "media");
    const std::string full = elsewhere.string();
    const std::string playlist = "#EXTINF:1,A\n" + full + "\n#EXTINF:2,B\n" + full + "x\n";
    EXPECT_EQ(sift({"full", playlist, {}, ""}), "#EXTINF:1,A\r\n" + full + "\r\n");
}

#ifdef _WIN32
TEST_F(Filter, RootRelativeEntryPathsTakeTheFoldersDrive)
{
    write_bytes(temp.path / "elsewhere.mp3", "media");
    const std::string full = (temp.path / "elsewhere.mp3").string();
    const std::string rooted = full.substr(full.find('\\')); // drive cut off
    const std::string playlist = "#EXTINF:1,A\n" + rooted + "\n";
    EXPECT_EQ(sift({"rooted", playlist, {}, ""}), "#EXTINF:1,A\r\n" + rooted + "\r\n");
}
#endif

} // namespace
