// Feeds arbitrary bytes to the entry filter through the program's own reader
// and writer, and checks the copy against a model of the filter written from
// the rules, not from the code: whole lines, CR LF read as LF, the first
// Ctrl-Z as the end, a line under two characters as the stop, header lines
// kept, entries kept exactly when their path "exists", and LF written as
// CR LF.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "filter.h"
#include "textio.h"

namespace {

// A path "exists" when its FNV-1a hash is even: arbitrary, but fixed by the
// input, so that every run of the same bytes agrees.
bool hash_is_even(std::string_view path)
{
    std::uint32_t hash = 2166136261U;
    for (const char c : path) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619U;
    }
    return hash % 2 == 0;
}

bool fake_exists(const void * /*context*/, std::string_view entry_path)
{
    return !entry_path.empty() && hash_is_even(entry_path);
}

// The input as the reader must see it, one string a line.
std::vector<std::string> model_lines(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        std::size_t size = bytes.find('\n');
        size = size == std::string_view::npos ? bytes.size() : size + 1;
        std::string line(bytes.substr(0, size));
        if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
            line.erase(line.size() - 2, 1);
        lines.push_back(line);
        bytes.remove_prefix(size);
    }
    return lines;
}

std::string model_copy(std::string_view bytes)
{
    const std::vector<std::string> lines = model_lines(bytes);
    std::string kept;
    std::size_t at = 0;
    while (at < lines.size() && lines[at].size() >= 2) {
        const std::string &first = lines[at++];
        if (first.rfind("#EXTM3U", 0) == 0) {
            kept += first;
            continue;
        }
        if (at == lines.size())
            break;
        const std::string &path_line = lines[at++];
        if (path_line == "\n")
            continue;
        std::string path = path_line;
        if (path.back() == '\n')
            path.pop_back();
        if (fake_exists(nullptr, path))
            kept += first + path_line;
    }
    std::string written;
    for (const char c : kept)
        written += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return written;
}

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first two bytes choose small buffers, so that short inputs also
    // cross the reader's refills and growth and the writer's flushes.
    if (size < 2)
        return 0;
    const std::size_t read_size = 1 + data[0] % 32;
    const std::size_t write_size = 1 + data[1] % 32;
    const std::string input(reinterpret_cast<const char *>(data) + 2, size - 2);
    // fmemopen refuses an empty buffer; one spare byte past the end is never read.
    std::string backing = input + '\0';
    std::FILE *in = fmemopen(backing.data(), input.size(), "rb");
    char *copy_bytes = nullptr;
    std::size_t copy_size = 0;
    std::FILE *out = open_memstream(&copy_bytes, &copy_size);
    check(in != nullptr && out != nullptr, "streams open");

    line_reader reader = make_reader(in, read_size);
    copy_writer writer = make_writer(out, write_size);
    sift_entries(reader, writer, fake_exists, nullptr);
    check(!reader.failed, "no read error");
    check(close_copy(writer), "the copy closes cleanly");
    std::fclose(in);

    const std::string copy(copy_bytes, copy_size);
    std::free(copy_bytes);
    for (std::size_t at = copy.find('\n'); at != std::string::npos; at = copy.find('\n', at + 1))
        check(at > 0 && copy[at - 1] == '\r', "every LF in the copy follows a CR");
    check(copy == model_copy(input), "the copy is the model's copy");
    return 0;
}
