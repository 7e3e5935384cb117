// Path and file operations that differ between the platforms. Every path
// is 8-bit text exactly as the command line delivered it.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdio>
#include <string_view>

namespace platform {

// Room for the longest path the platform accepts, terminator included.
#ifdef _WIN32
inline constexpr std::size_t path_limit = 260; // MAX_PATH
#else
inline constexpr std::size_t path_limit = PATH_MAX;
#endif

// Something exists at the path.
bool path_exists(const char *path);

// Makes the path's separators the ones the folder-part test and the cut
// understand. The path is changed in place and never grows.
void normalize_separators(char *path);

// The path has a folder part, as opposed to being a bare name.
bool path_has_folder(const char *path);

// Cuts the last component off the path, in place, leaving its folder.
void cut_to_folder(char *path);

// Joins folder and name into out, which holds size characters. Returns
// false, leaving out empty, when the result would not fit.
bool join_path(char *out, std::size_t size, const char *folder, const char *name);

// The stream that was opened is a folder rather than a file.
bool is_folder(std::FILE *opened);

// The path names the very file that is open in the stream, under any
// spelling or link.
bool is_same_file(std::FILE *opened, const char *path);

// The playlist folder, opened once so that each entry is found relative to
// it without walking the folder's own path again.
struct folder {
    const char *path;
    std::size_t path_size;
    int handle; // -1 where the platform keeps none
};

folder open_folder(const char *path);
void close_folder(folder opened);

// Something exists at the entry path, taken relative to the folder. An
// entry path that holds a NUL, or whose joined path would be too long,
// names nothing.
bool entry_exists(const folder &in, std::string_view entry_path);

} // namespace platform
