// The playlist's reader and the copy's writer. Both work on binary streams
// and apply the text-mode rules themselves, so that every platform reads
// and writes the same bytes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

// Bytes read or written at a time.
constexpr std::size_t default_buffer_size = 1 << 16;

// Reads whole lines of any length. CR LF reads as LF; a CR anywhere else
// stays; the first Ctrl-Z byte ends the input for good.
struct line_reader {
    std::FILE *file;
    std::vector<char> buffer;
    std::size_t begin; // first byte not yet handed out
    std::size_t end;   // one past the last byte read
    bool at_end;       // the file has nothing more to give
    bool failed;       // a read failed; once set, stays set
};

// buffer_size is where reading starts; a longer line grows the buffer.
line_reader make_reader(std::FILE *file, std::size_t buffer_size = default_buffer_size);

// Hands out the next line, its line end included where it has one. The
// line stays valid until the next call. False at the end of the input.
bool read_line(line_reader &in, std::string_view &line);

// Writes lines with every LF turned into CR LF. Errors are recorded, not
// reported: close_copy tells whether all went well.
struct copy_writer {
    std::FILE *file;
    std::vector<char> buffer;
    std::size_t used;
    bool failed;
};

copy_writer make_writer(std::FILE *file, std::size_t buffer_size = default_buffer_size);

void write_line(copy_writer &out, std::string_view line);

// Writes out what is pending and closes the stream. False when any write,
// the flush or the close failed.
bool close_copy(copy_writer &out);
