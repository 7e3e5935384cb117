#include "support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

std::string read_bytes(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const fs::path &file, const std::string &bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

temp_folder::temp_folder()
{
    std::random_device seed;
    std::mt19937_64 pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate =
            fs::temp_directory_path() / ("listsift-test-" + std::to_string(pick() % 1000000000));
        if (fs::create_directory(candidate)) {
            path = fs::canonical(candidate);
            return;
        }
    }
    throw std::runtime_error("no temporary folder");
}

temp_folder::~temp_folder()
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

std::vector<std::string> list_tree(const fs::path &root)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::recursive_directory_iterator(root))
        names.push_back(entry.path().lexically_relative(root).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

#ifdef _WIN32

namespace {

// Quotes one argument so that the console start-up splits it back out
// unchanged.
std::string quote_argument(const std::string &arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string quoted = "\"";
    std::size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        quoted.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
        slashes = 0;
        quoted += c;
    }
    quoted.append(slashes * 2, '\\');
    return quoted + "\"";
}

HANDLE inheritable_file(const fs::path &file)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE h = CreateFileA(file.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + file.string());
    return h;
}

} // namespace

run_result run_program(const std::string &program, const std::vector<std::string> &args,
                       const fs::path &cwd, const fs::path &scratch,
                       const std::vector<std::string> & /*env*/)
{
    std::string command = quote_argument(program);
    for (const auto &arg : args)
        command += " " + quote_argument(arg);

    const fs::path out_file = scratch / "stdout.txt";
    const fs::path err_file = scratch / "stderr.txt";
    HANDLE out = inheritable_file(out_file);
    HANDLE err = inheritable_file(err_file);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = INVALID_HANDLE_VALUE;
    start.hStdOutput = out;
    start.hStdError = err;
    PROCESS_INFORMATION process{};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    const std::string dir = cwd.string();
    const BOOL started = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, dir.c_str(), &start, &process);
    CloseHandle(out);
    CloseHandle(err);
    if (!started)
        throw std::runtime_error("cannot start " + program);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {static_cast<int>(status), read_bytes(out_file), read_bytes(err_file)};
}

#else

run_result run_program(const std::string &program, const std::vector<std::string> &args,
                       const fs::path &cwd, const fs::path &scratch,
                       const std::vector<std::string> &env)
{
    const fs::path out_file = scratch / "stdout.txt";
    const fs::path err_file = scratch / "stderr.txt";
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const auto &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        const int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(cwd.c_str()) != 0)
            _exit(127);
        for (const auto &setting : env)
            putenv(const_cast<char *>(setting.c_str()));
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        throw std::runtime_error("cannot wait");
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return {code, read_bytes(out_file), read_bytes(err_file)};
}

#endif

std::string case_name(const char *description)
{
    std::string name;
    for (const char *p = description; *p != '\0'; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) != 0 ? *p : '_';
    return name;
}

std::vector<std::string> test_paths(int argc, char **argv, const char *usage, int count)
{
    if (argc != count + 1) {
        (void)std::fprintf(stderr, "usage: %s\n", usage);
        std::exit(2);
    }
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string program_path(const std::string &given)
{
#ifdef _WIN32
    // Under Wine the build hands over a Unix path; Wine shows / as drive Z:.
    std::string windows = given[0] == '/' ? "Z:" + given : given;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return fs::absolute(windows).string();
#else
    return fs::absolute(given).string();
#endif
}
