// POSIX paths: '/' separates components, and the kernel resolves "." and
// ".." itself, which stays right when a folder is a symbolic link.
#include "platform/path.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool needs_separator(const char *folder, std::size_t folder_size)
{
    return folder_size == 0 || folder[folder_size - 1] != '/';
}

// Characters of folder joined with name, terminator not counted.
std::size_t joined_size(const char *folder, std::size_t folder_size, std::size_t name_size,
                        bool name_is_full)
{
    if (name_is_full)
        return name_size;
    return folder_size + (needs_separator(folder, folder_size) ? 1 : 0) + name_size;
}

} // namespace

bool path_exists(const char *path)
{
    struct stat st {};
    return stat(path, &st) == 0;
}

void normalize_separators(char * /*path*/) {}

bool path_has_folder(const char *path)
{
    return std::strchr(path, '/') != nullptr;
}

void cut_to_folder(char *path)
{
    char *last = std::strrchr(path, '/');
    if (last == nullptr)
        return;
    // The root keeps its slash: the folder of /x.m3u is /.
    last[last == path ? 1 : 0] = '\0';
}

bool join_path(char *out, std::size_t size, const char *folder, const char *name)
{
    const std::size_t folder_size = std::strlen(folder);
    const std::size_t name_size = std::strlen(name);
    const bool name_is_full = name[0] == '/';
    if (size == 0)
        return false;
    out[0] = '\0';
    if (joined_size(folder, folder_size, name_size, name_is_full) >= size)
        return false;
    if (!name_is_full) {
        std::memcpy(out, folder, folder_size);
        std::size_t at = folder_size;
        if (needs_separator(folder, folder_size))
            out[at++] = '/';
        std::memcpy(out + at, name, name_size + 1);
    } else {
        std::memcpy(out, name, name_size + 1);
    }
    return true;
}

bool is_folder(std::FILE *opened)
{
    struct stat st {};
    return fstat(fileno(opened), &st) == 0 && S_ISDIR(st.st_mode);
}

bool is_same_file(std::FILE *opened, const char *path)
{
    struct stat open_st {};
    struct stat path_st {};
    if (fstat(fileno(opened), &open_st) != 0 || stat(path, &path_st) != 0)
        return false;
    return open_st.st_dev == path_st.st_dev && open_st.st_ino == path_st.st_ino;
}

folder open_folder(const char *path)
{
#ifdef O_PATH
    const int flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
    // When the folder cannot be opened, relative entries fail to resolve
    // against the bad handle, as they would fail to resolve by name, while
    // full entry paths ignore the handle.
    return folder{path, std::strlen(path), open(path, flags)};
}

void close_folder(folder opened)
{
    if (opened.handle >= 0)
        close(opened.handle);
}

bool entry_exists(const folder &in, std::string_view entry_path)
{
    const std::size_t size = entry_path.size();
    if (size == 0 || std::memchr(entry_path.data(), '\0', size) != nullptr)
        return false;
    const bool is_full = entry_path[0] == '/';
    // The same limit as looking the joined path up by name would meet.
    if (joined_size(in.path, in.path_size, size, is_full) >= path_limit)
        return false;
    char name[path_limit];
    std::memcpy(name, entry_path.data(), size);
    name[size] = '\0';
    struct stat st {};
    return fstatat(in.handle, name, &st, 0) == 0;
}

} // namespace platform
