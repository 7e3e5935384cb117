#include "filter.h"

#include <string>

namespace {

constexpr std::string_view header_mark = "#EXTM3U";

bool is_header(std::string_view line)
{
    return line.substr(0, header_mark.size()) == header_mark;
}

bool is_blank(std::string_view line)
{
    return line == "\n";
}

std::string_view without_line_end(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    return line;
}

bool exists_in_folder(const void *context, std::string_view entry_path)
{
    return platform::entry_exists(*static_cast<const platform::folder *>(context), entry_path);
}

} // namespace

void sift_entries(line_reader &in, copy_writer &out, exists_test exists, const void *context)
{
    // The information line must outlive the read of its path line, which
    // may move the reader's buffer. Its storage is reused for every entry.
    std::string info;
    std::string_view line;

    // A line of fewer than two characters, line end counted, ends the list:
    // a blank line, or a one-character last line.
    while (read_line(in, line) && line.size() >= 2) {
        if (is_header(line)) {
            write_line(out, line);
            continue;
        }
        info.assign(line);
        std::string_view path_line;
        // A blank path line drops the entry but does not end the list.
        if (!read_line(in, path_line) || is_blank(path_line))
            continue;
        if (exists(context, without_line_end(path_line))) {
            write_line(out, info);
            write_line(out, path_line);
        }
    }
}

void filter_entries(line_reader &in, copy_writer &out, const platform::folder &playlist_folder)
{
    sift_entries(in, out, exists_in_folder, &playlist_folder);
}
