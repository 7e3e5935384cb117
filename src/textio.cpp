#include "textio.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char ctrl_z = 0x1a;

// Reads more of the file behind the unconsumed bytes, moving them to the
// front and growing the buffer only when a line fills it.
void fill(line_reader &in)
{
    if (in.begin > 0) {
        std::memmove(in.buffer.data(), in.buffer.data() + in.begin, in.end - in.begin);
        in.end -= in.begin;
        in.begin = 0;
    }
    if (in.end == in.buffer.size())
        in.buffer.resize(in.buffer.size() * 2);

    char *room = in.buffer.data() + in.end;
    std::size_t got = std::fread(room, 1, in.buffer.size() - in.end, in.file);
    if (got == 0) {
        in.failed = std::ferror(in.file) != 0;
        in.at_end = true;
        return;
    }
    if (const void *stop = std::memchr(room, ctrl_z, got)) {
        got = static_cast<std::size_t>(static_cast<const char *>(stop) - room);
        in.at_end = true;
    }
    in.end += got;
}

void flush_copy(copy_writer &out)
{
    if (out.used > 0 && std::fwrite(out.buffer.data(), 1, out.used, out.file) != out.used)
        out.failed = true;
    out.used = 0;
}

void put_bytes(copy_writer &out, const char *bytes, std::size_t size)
{
    if (size > out.buffer.size() - out.used) {
        flush_copy(out);
        if (size >= out.buffer.size()) {
            if (std::fwrite(bytes, 1, size, out.file) != size)
                out.failed = true;
            return;
        }
    }
    std::memcpy(out.buffer.data() + out.used, bytes, size);
    out.used += size;
}

} // namespace

line_reader make_reader(std::FILE *file, std::size_t buffer_size)
{
    // An empty buffer could never grow by doubling.
    return line_reader{file, std::vector<char>(std::max<std::size_t>(buffer_size, 1)), 0, 0, false,
                       false};
}

bool read_line(line_reader &in, std::string_view &line)
{
    std::size_t scanned = 0; // bytes of this line already searched for LF
    for (;;) {
        char *start = in.buffer.data() + in.begin;
        const std::size_t held = in.end - in.begin;
        if (auto *lf = static_cast<char *>(std::memchr(start + scanned, '\n', held - scanned))) {
            std::size_t size = static_cast<std::size_t>(lf - start) + 1;
            in.begin += size;
            if (size > 1 && lf[-1] == '\r') {
                lf[-1] = '\n';
                --size;
            }
            line = std::string_view(start, size);
            return true;
        }
        scanned = held;
        if (in.at_end) {
            // The last line of a file without a final line end.
            in.begin = in.end;
            line = std::string_view(start, held);
            return held > 0;
        }
        fill(in);
    }
}

copy_writer make_writer(std::FILE *file, std::size_t buffer_size)
{
    return copy_writer{file, std::vector<char>(std::max<std::size_t>(buffer_size, 1)), 0, false};
}

void write_line(copy_writer &out, std::string_view line)
{
    while (!line.empty()) {
        const void *lf = std::memchr(line.data(), '\n', line.size());
        if (lf == nullptr) {
            put_bytes(out, line.data(), line.size());
            return;
        }
        const auto before = static_cast<std::size_t>(static_cast<const char *>(lf) - line.data());
        put_bytes(out, line.data(), before);
        put_bytes(out, "\r\n", 2);
        line.remove_prefix(before + 1);
    }
}

bool close_copy(copy_writer &out)
{
    flush_copy(out);
    if (std::fflush(out.file) != 0 || std::ferror(out.file) != 0)
        out.failed = true;
    if (std::fclose(out.file) != 0)
        out.failed = true;
    out.file = nullptr;
    return !out.failed;
}
