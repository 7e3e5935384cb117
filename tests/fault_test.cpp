// Every read of the playlist and every write of the copy, made to fail in
// turn: the program must say so, end with status 1, print no completion
// message and leave the playlist as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"

namespace {

std::string program;
std::string injector;

// Large enough for several reads of the playlist and writes of the copy.
std::string big_playlist()
{
    std::string playlist = "#EXTM3U\n";
    for (int i = 0; i < 20000; ++i) {
        playlist += "#EXTINF:" + std::to_string(i) + ",Artist - Title\n";
        playlist += i % 3 == 0 ? "missing.mp3\n" : "present.mp3\n";
    }
    return playlist;
}

class Fault : public testing::Test {
  protected:
    temp_folder temp;
    fs::path music = temp.path / "music";
    std::string playlist = big_playlist();

    void SetUp() override
    {
        fs::create_directories(music);
        fs::create_directories(temp.path / "scratch");
        write_bytes(music / "party.m3u", playlist);
        write_bytes(music / "present.mp3", "media");
    }

    run_result run_with(const std::string &setting)
    {
        return run_program(program, {"music/party.m3u", "copy.m3u"}, temp.path,
                           temp.path / "scratch",
                           {"LD_PRELOAD=" + injector, setting,
                            // The sanitizers' runtime need not come first here.
                            "ASAN_OPTIONS=verify_asan_link_order=0"});
    }

    // Fails the 1st, 2nd, ... call until a run no longer meets the fault,
    // and returns how many calls were failed.
    int fail_each(const std::string &variable, const std::string &message)
    {
        for (int n = 1; n < 1000; ++n) {
            const run_result run = run_with(variable + "=" + std::to_string(n));
            if (run.status == 0) {
                EXPECT_EQ(run.out, "Validation complete.\n");
                return n - 1;
            }
            EXPECT_EQ(run.status, 1) << variable << "=" << n;
            EXPECT_EQ(run.err, message) << variable << "=" << n;
            EXPECT_EQ(run.out, "") << variable << "=" << n;
            EXPECT_EQ(read_bytes(music / "party.m3u"), playlist) << variable << "=" << n;
        }
        ADD_FAILURE() << "the fault never stopped";
        return 0;
    }
};

TEST_F(Fault, EveryWriteThatFailsIsReported)
{
    EXPECT_GE(fail_each("LISTSIFT_FAULT_WRITE", "couldn't write file"), 5);
}

TEST_F(Fault, EveryReadThatFailsIsReported)
{
    EXPECT_GE(fail_each("LISTSIFT_FAULT_READ", "couldn't read file"), 5);
}

TEST_F(Fault, AFailedCloseOfTheCopyIsReported)
{
    const run_result run = run_with("LISTSIFT_FAULT_CLOSE=1");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "couldn't write file");
    EXPECT_EQ(run.out, "");
}

TEST_F(Fault, WithoutAFaultTheRunCompletes)
{
    const run_result run = run_with("LISTSIFT_FAULT_NONE=1");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "Validation complete.\n");
}

} // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    const std::vector<std::string> paths = test_paths(argc, argv, "fault_test PROGRAM INJECTOR", 2);
    program = program_path(paths[0]);
    injector = fs::absolute(paths[1]).string();
    return RUN_ALL_TESTS();
}
