// Hostile input that must end cleanly, in memory that does not grow with
// the number of lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support.h"

namespace {

std::string program;
std::string peak_reporter;

const std::string done = "Validation complete.\n";

struct stress_case {
    const char *name;
    std::string (*playlist)();
    std::string (*copy)();
    long peak_limit_kib; // checked in builds without sanitizers
};

void PrintTo(const stress_case &c, std::ostream *os)
{
    *os << c.name;
}

std::string repeated(const std::string &piece, int times)
{
    std::string all;
    all.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        all += piece;
    return all;
}

std::string nothing()
{
    return "";
}

const std::vector<stress_case> cases = {
    {"binary file",
     [] {
         // A fixed seed: the same bytes on every run.
         std::mt19937 pick(20261211); // NOLINT(cert-msc32-c,cert-msc51-cpp)
         std::string bytes(4 << 20, '\0');
         for (char &c : bytes)
             c = static_cast<char>(pick() % 26 == 0 ? '\n' : pick() % 256);
         bytes[0] = 'x'; // not a blank first line, so that the filter runs
         bytes[1] = 'y';
         return bytes;
     },
     nothing, 8 << 10},
    {"a single line of 100 MB", [] { return std::string(100 << 20, 'L') + "\n"; }, nothing,
     400 << 10},
    {"a million blank lines", [] { return std::string(1000000, '\n'); }, nothing, 8 << 10},
    {"a million header lines", [] { return repeated("#EXTM3U\n", 1000000); },
     [] { return repeated("#EXTM3U\r\n", 1000000); }, 8 << 10},
    {"a million entries of missing files",
     [] { return "#EXTM3U\n" + repeated("#EXTINF:1,A\nmissing.mp3\n", 1000000); },
     [] { return std::string("#EXTM3U\r\n"); }, 8 << 10},
    // One line of 3 MB: memory grows with the longest line.
    {"only CR bytes", [] { return std::string(3 << 20, '\r'); }, nothing, 16 << 10},
    {"Ctrl-Z as the first byte", [] { return std::string("\x1a#EXTM3U\n#EXTINF:1\na\n"); }, nothing,
     8 << 10},
};

using Stress = folder_test<stress_case>;

TEST_P(Stress, EndsCleanly)
{
    const stress_case &c = GetParam();
    const fs::path music = temp.path / "music";
    fs::create_directories(music);
    fs::create_directories(temp.path / "scratch");
    write_bytes(music / "a", "media");
    write_bytes(music / "party.m3u", c.playlist());

    const fs::path peak_file = temp.path / "scratch" / "peak";
    const run_result run =
        run_program(program, {"music/party.m3u", "copy.m3u"}, temp.path, temp.path / "scratch",
                    {"LD_PRELOAD=" + peak_reporter, "LISTSIFT_PEAK_FILE=" + peak_file.string(),
                     "ASAN_OPTIONS=verify_asan_link_order=0"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, done);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(read_bytes(music / "copy.m3u") == c.copy()) << "the copy differs";
    const long peak_kib = std::stol(read_bytes(peak_file));
    EXPECT_GT(peak_kib, 0);
#ifndef LISTSIFT_SANITIZED
    EXPECT_LT(peak_kib, c.peak_limit_kib);
#endif
}

INSTANTIATE_TEST_SUITE_P(Cases, Stress, testing::ValuesIn(cases),
                         [](const auto &info) { return case_name(info.param.name); });

TEST(StressArguments, ArgumentsOfTenThousandCharacters)
{
    temp_folder temp;
    const fs::path music = temp.path / "music";
    fs::create_directories(music);
    fs::create_directories(temp.path / "scratch");
    write_bytes(music / "party.m3u", "#EXTM3U\n");
    const std::string long_path = "music/" + std::string(10000, 'p') + ".m3u";
    const std::string long_name = std::string(10000, 'n') + ".m3u";

    run_result run =
        run_program(program, {long_path, "copy.m3u"}, temp.path, temp.path / "scratch");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "File does not exist, or was typed incorrectly. Try again or type ? "
                       "for help\n");
    run = run_program(program, {"music/party.m3u", long_name}, temp.path, temp.path / "scratch");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "couldn't open file");
    EXPECT_EQ(read_bytes(music / "party.m3u"), "#EXTM3U\n");
    EXPECT_EQ(list_tree(temp.path / "music").size(), 1U);
}

} // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    const std::vector<std::string> paths =
        test_paths(argc, argv, "stress_test PROGRAM PEAK_REPORTER", 2);
    program = program_path(paths[0]);
    peak_reporter = fs::absolute(paths[1]).string();
    return RUN_ALL_TESTS();
}
