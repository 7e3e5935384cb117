// The built program, run in a fresh folder for every case: its output, its
// status, the copy it leaves and the playlist it must not touch.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support.h"

namespace {

std::string program; // the program under test, from the command line

const std::string help_text =
    "HELP:\n"
    "USAGE: listsift  [original file] [filename to save to]\n"
    "Example:  listsift  c:\\music\\myplaylist.m3u  playlistcopy.m3u\n"
    "\n"
    "NOTES:\n"
    "[original filename] the playlist you want to validate. must be absolute path.\n"
    "  i.e. c:\\music\\playlist.m3u not playlist.m3u\n"
    "[filename to save to]  must have an .m3u extension, but does not\n"
    " need a path. It will be saved in the same folder as the original file.\n";
const std::string missing =
    "File does not exist, or was typed incorrectly. Try again or type ? for help\n";
const std::string no_extension = "File to be saved must have an .m3u extension.\n";
const std::string self_overwrite = "File to be saved must not be the original file.\n";
const std::string done = "Validation complete.\n";

const std::string playlist =
    "#EXTM3U\n#EXTINF:1,A\na.mp3\n#EXTINF:2,B\nb.mp3\n#EXTINF:3,C\nsub/c.mp3\n";
const std::string cleaned = "#EXTM3U\r\n#EXTINF:1,A\r\na.mp3\r\n#EXTINF:3,C\r\nsub/c.mp3\r\n";

// Every case starts from this tree. b.mp3 lies beside the working folder,
// not beside the playlist, so it must not count.
void make_music(const fs::path &work)
{
    fs::create_directories(work / "music" / "sub");
    write_bytes(work / "music" / "party.m3u", playlist);
    write_bytes(work / "music" / "a.mp3", "media");
    write_bytes(work / "music" / "sub" / "c.mp3", "media");
    write_bytes(work / "b.mp3", "media");
}

struct cli_case {
    const char *name;
    std::vector<std::string> args; // "{work}" stands for the working folder
    const char *cwd;               // relative to the working folder
    void (*setup)(const fs::path &work);
    std::string out;
    std::string err;
    int status;
    const char *copy; // where the copy must be, relative to the working folder
    std::string copy_bytes;
    bool keep_slashes = false; // on Windows, pass '/' on as typed
};

// Names the case in failure reports instead of dumping its bytes.
void PrintTo(const cli_case &c, std::ostream *os)
{
    *os << c.name;
}

void no_setup(const fs::path &) {}

const std::string too_long_name = std::string(5000, 'n') + ".m3u";

// The table is laid out by hand, a case to a few lines.
// clang-format off
std::vector<cli_case> cases()
{
    std::vector<cli_case> all = {
        {"no arguments", {}, "", no_setup, help_text, "", 1, nullptr, ""},
        {"one argument", {"music/party.m3u"}, "", no_setup, help_text, "", 1, nullptr, ""},
        {"a lone question mark", {"?"}, "", no_setup, help_text, "", 1, nullptr, ""},
        {"question mark in the playlist path", {"music/pa?ty.m3u", "copy.m3u"}, "",
         no_setup, help_text, "", 1, nullptr, ""},
        {"question mark before an existing playlist", {"?music/party.m3u", "copy.m3u"}, "",
         no_setup, help_text, "", 1, nullptr, ""},
        {"missing playlist", {"music/none.m3u", "copy.m3u"}, "", no_setup, missing, "", 1,
         nullptr, ""},
        {"missing playlist is told before a bad save name", {"music/none.m3u", "copy.txt"},
         "", no_setup, missing, "", 1, nullptr, ""},
        {"save name without m3u", {"music/party.m3u", "copy.txt"}, "", no_setup,
         no_extension, "", 2, nullptr, ""},
        {"save name test is case sensitive", {"music/party.m3u", "copy.M3U"}, "", no_setup,
         no_extension, "", 2, nullptr, ""},
        {"relative playlist path with a folder", {"music/party.m3u", "copy.m3u"}, "",
         no_setup, done, "", 0, "music/copy.m3u", cleaned},
        {"full playlist path", {"{work}/music/party.m3u", "copy.m3u"}, "", no_setup, done,
         "", 0, "music/copy.m3u", cleaned},
        {"playlist path that climbs out of the working folder", {"../party.m3u", "copy.m3u"},
         "music/sub", no_setup, done, "", 0, "music/copy.m3u", cleaned},
        {"arguments after the second change nothing",
         {"music/party.m3u", "copy.m3u", "more", "x.txt"}, "", no_setup, done, "", 0,
         "music/copy.m3u", cleaned},
        {"save name test is not anchored", {"music/party.m3u", "copy.m3u.bak"}, "",
         no_setup, done, "", 0, "music/copy.m3u.bak", cleaned},
        {"save name with m3u inside", {"music/party.m3u", "x.m3uy"}, "", no_setup, done, "",
         0, "music/x.m3uy", cleaned},
        {"save name with a folder of its own", {"music/party.m3u", "sub/copy.m3u"}, "",
         no_setup, done, "", 0, "music/sub/copy.m3u", cleaned},
        {"an existing copy is replaced", {"music/party.m3u", "copy.m3u"}, "",
         [](const fs::path &work) {
             write_bytes(work / "music" / "copy.m3u", std::string(1000, 'o'));
         },
         done, "", 0, "music/copy.m3u", cleaned},
        {"a run that keeps nothing leaves the header", {"music/party.m3u", "copy.m3u"}, "",
         [](const fs::path &work) {
             write_bytes(work / "music" / "party.m3u", "#EXTM3U\n#EXTINF:2,B\nb.mp3\n");
         },
         done, "", 0, "music/copy.m3u", "#EXTM3U\r\n"},
        {"entries climb out of a relative playlist folder", {"music/party.m3u", "copy.m3u"},
         "",
         [](const fs::path &work) {
             write_bytes(work / "music" / "party.m3u",
                         "#EXTINF:1,A\n../music/a.mp3\n#EXTINF:2,B\n../b.mp3\n"
                         "#EXTINF:3,C\n../../b.mp3\n");
         },
         done, "", 0, "music/copy.m3u",
         "#EXTINF:1,A\r\n../music/a.mp3\r\n#EXTINF:2,B\r\n../b.mp3\r\n"},
        {"an empty playlist gives an empty copy", {"music/party.m3u", "copy.m3u"}, "",
         [](const fs::path &work) { write_bytes(work / "music" / "party.m3u", ""); }, done,
         "", 0, "music/copy.m3u", ""},
        {"bare playlist name", {"party.m3u", "copy.m3u"}, "music", no_setup, "",
         "couldn't open file", 1, nullptr, ""},
        {"playlist path naming a folder", {"music/sub", "copy.m3u"}, "", no_setup, "",
         "couldn't open file", 1, nullptr, ""},
        {"copy that cannot be created", {"music/party.m3u", "none/copy.m3u"}, "", no_setup,
         "", "couldn't open file", 1, nullptr, ""},
        {"output path too long", {"music/party.m3u", too_long_name}, "", no_setup, "",
         "couldn't open file", 1, nullptr, ""},
        {"save name that is the playlist", {"music/party.m3u", "party.m3u"}, "", no_setup,
         self_overwrite, "", 2, nullptr, ""},
        {"save name that is the playlist by dot", {"music/party.m3u", "./party.m3u"}, "",
         no_setup, self_overwrite, "", 2, nullptr, ""},
        {"save name that is the playlist by dot dot",
         {"music/party.m3u", "../music/party.m3u"}, "", no_setup, self_overwrite, "", 2,
         nullptr, ""},
        {"save name that is the playlist by full path",
         {"music/party.m3u", "{work}/music/party.m3u"}, "", no_setup, self_overwrite, "", 2,
         nullptr, ""},
        {"save name that is a hard link to the playlist", {"music/party.m3u", "hard.m3u"},
         "",
         [](const fs::path &work) {
             fs::create_hard_link(work / "music" / "party.m3u", work / "music" / "hard.m3u");
         },
         self_overwrite, "", 2, nullptr, ""},
    };
#ifdef _WIN32
    const std::vector<cli_case> windows = {
        {"an asterisk in the playlist path is not expanded", {"music/*.m3u", "copy.m3u"},
         "", no_setup, missing, "", 1, nullptr, ""},
        {"a playlist path with forward slashes", {"music/party.m3u", "copy.m3u"}, "",
         no_setup, done, "", 0, "music/copy.m3u", cleaned, true},
        {"a full playlist path with forward slashes", {"{work}/music/party.m3u", "copy.m3u"},
         "", no_setup, done, "", 0, "music/copy.m3u", cleaned, true},
        {"save name that is the playlist in other letter case",
         {"music/party.m3u", "PARTY.M3U"}, "", no_setup, no_extension, "", 2, nullptr, ""},
        {"save name that is the playlist in other letter case with m3u",
         {"music/party.m3u", "PARTY.m3u"}, "", no_setup, self_overwrite, "", 2, nullptr, ""},
        {"save name that is the playlist with forward slashes",
         {"music/party.m3u", "../music/party.m3u"}, "", no_setup, self_overwrite, "", 2,
         nullptr, "", true},
        {"question mark in the save name cannot be a file name",
         {"music/party.m3u", "c?.m3u"}, "", no_setup, "", "couldn't open file", 1, nullptr,
         ""},
    };
    all.insert(all.end(), windows.begin(), windows.end());
#else
    const std::vector<cli_case> posix = {
        {"save name that is a symbolic link to the playlist",
         {"music/party.m3u", "link.m3u"}, "",
         [](const fs::path &work) {
             fs::create_symlink("party.m3u", work / "music" / "link.m3u");
         },
         self_overwrite, "", 2, nullptr, ""},
        {"question mark in the save name is a plain character",
         {"music/party.m3u", "c?.m3u"}, "", no_setup, done, "", 0, "music/c?.m3u", cleaned},
        {"a full disk", {"music/party.m3u", "full.m3u"}, "",
         [](const fs::path &work) {
             fs::create_symlink("/dev/full", work / "music" / "full.m3u");
         },
         "", "couldn't write file", 1, nullptr, ""},
        {"a playlist that cannot be read", {"music/mem.m3u", "copy.m3u"}, "",
         [](const fs::path &work) {
             fs::create_symlink("/proc/self/mem", work / "music" / "mem.m3u");
         },
         "", "couldn't read file", 1, "music/copy.m3u", ""},
    };
    all.insert(all.end(), posix.begin(), posix.end());
#endif
    return all;
}
// clang-format on

// The program's console output uses the platform's line ends.
std::string console_text(std::string text)
{
#ifdef _WIN32
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.replace(at, 1, "\r\n");
#endif
    return text;
}

std::string with_work(std::string arg, const fs::path &work, bool keep_slashes)
{
    const std::string mark = "{work}";
    if (arg.compare(0, mark.size(), mark) == 0)
        arg.replace(0, mark.size(), work.generic_string());
#ifdef _WIN32
    if (!keep_slashes)
        std::replace(arg.begin(), arg.end(), '/', '\\');
#else
    (void)keep_slashes;
#endif
    return arg;
}

using Program = folder_test<cli_case>;

TEST_P(Program, Run)
{
    const cli_case &c = GetParam();
    const fs::path work = temp.path / "work";
    const fs::path scratch = temp.path / "scratch";
    fs::create_directories(scratch);
    make_music(work);
    c.setup(work);
    const std::string playlist_before = read_bytes(work / "music" / "party.m3u");
    std::vector<std::string> tree = list_tree(work);

    std::vector<std::string> args;
    for (const auto &arg : c.args)
        args.push_back(with_work(arg, work, c.keep_slashes));
    const run_result run = run_program(program, args, work / c.cwd, scratch);

    EXPECT_EQ(run.out, console_text(c.out));
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(read_bytes(work / "music" / "party.m3u"), playlist_before);
    if (c.copy != nullptr) {
        EXPECT_EQ(read_bytes(work / c.copy), c.copy_bytes);
        if (std::find(tree.begin(), tree.end(), c.copy) == tree.end())
            tree.emplace_back(c.copy);
        std::sort(tree.begin(), tree.end());
    }
    EXPECT_EQ(list_tree(work), tree) << "a file was made where none belongs";
}

INSTANTIATE_TEST_SUITE_P(Cases, Program, testing::ValuesIn(cases()),
                         [](const auto &info) { return case_name(info.param.name); });

} // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    const std::vector<std::string> paths = test_paths(argc, argv, "e2e_test PROGRAM", 1);
    program = program_path(paths[0]);
    return RUN_ALL_TESTS();
}
