// Helpers shared by the test programs: files, temporary folders and running
// the built program.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

std::string read_bytes(const fs::path &file);
void write_bytes(const fs::path &file, const std::string &bytes);

// A fresh, empty folder of its own for one test, removed afterwards.
struct temp_folder {
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder &) = delete;
    temp_folder &operator=(const temp_folder &) = delete;
    fs::path path;
};

// A table-driven test whose every case runs in a fresh folder of its own.
template <typename Case> class folder_test : public testing::TestWithParam<Case> {
  protected:
    temp_folder temp;
};

// Every file and folder below root, as paths relative to it, sorted.
std::vector<std::string> list_tree(const fs::path &root);

struct run_result {
    int status;
    std::string out;
    std::string err;
};

// Runs program with args in folder cwd and captures both output streams.
// The captures live in scratch, outside cwd. env adds NAME=value settings
// (POSIX only: the Windows build's tests need none).
run_result run_program(const std::string &program, const std::vector<std::string> &args,
                       const fs::path &cwd, const fs::path &scratch,
                       const std::vector<std::string> &env = {});

// The paths that the build passes to a test program after GoogleTest's own
// flags: exactly as many as usage names, or the process ends with status 2.
std::vector<std::string> test_paths(int argc, char **argv, const char *usage, int count);

// The program under test, as the build named it on the command line.
std::string program_path(const std::string &given);

// A description turned into a name that GoogleTest accepts for a case.
std::string case_name(const char *description);
