// Windows paths, through the system's own path utilities on 8-bit text in
// the ANSI code page, exactly as the command line delivered it.
#include "platform/path.h"

#include <cstring>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#include <shlwapi.h>

namespace platform {

static_assert(path_limit == MAX_PATH, "the path buffers hold MAX_PATH characters");

namespace {

// Joins folder and the name's size characters into out, which holds
// MAX_PATH characters, or returns false when they would not fit: the
// utilities write up to MAX_PATH characters and may truncate past it, so a
// join whose plain concatenation would not fit is never attempted.
// A name with a drive or a leading backslash goes through PathCombineA,
// which knows drives. A relative name is appended as it stands: PathCombineA
// folds ".." and, past the start of a relative folder, climbs to the root
// ("lists" and "..\a.mp3" give "\a.mp3"), while the system resolves the
// plain join right.
bool combine(char *out, const char *folder, std::size_t folder_size, const char *name,
             std::size_t name_size)
{
    if (folder_size + 1 + name_size >= MAX_PATH)
        return false;
    char own_name[MAX_PATH];
    std::memcpy(own_name, name, name_size);
    own_name[name_size] = '\0';
    normalize_separators(own_name);
    if (PathIsRelativeA(own_name) == FALSE)
        return PathCombineA(out, folder, own_name) != nullptr;
    std::memcpy(out, folder, folder_size);
    std::size_t at = folder_size;
    if (at > 0 && folder[at - 1] != '\\' && folder[at - 1] != ':')
        out[at++] = '\\';
    std::memcpy(out + at, own_name, name_size + 1);
    return true;
}

bool identify(HANDLE file, BY_HANDLE_FILE_INFORMATION &info)
{
    return GetFileInformationByHandle(file, &info) != FALSE;
}

} // namespace

bool path_exists(const char *path)
{
    return PathFileExistsA(path) != FALSE;
}

// '/' is never a trail byte of a double-byte character, so the plain byte
// scan is safe in every ANSI code page.
void normalize_separators(char *path)
{
    for (; *path != '\0'; ++path)
        if (*path == '/')
            *path = '\\';
}

bool path_has_folder(const char *path)
{
    return PathIsFileSpecA(path) == FALSE;
}

void cut_to_folder(char *path)
{
    PathRemoveFileSpecA(path);
}

bool join_path(char *out, std::size_t size, const char *folder, const char *name)
{
    if (size >= MAX_PATH && combine(out, folder, std::strlen(folder), name, std::strlen(name)))
        return true;
    if (size > 0)
        out[0] = '\0';
    return false;
}

bool is_folder(std::FILE *opened)
{
    struct _stat st {};
    return _fstat(_fileno(opened), &st) == 0 && (st.st_mode & _S_IFDIR) != 0;
}

// Compares volume serial numbers and file indexes: names cannot tell, since
// case, "..", slashes and hard links all give one file many spellings.
bool is_same_file(std::FILE *opened, const char *path)
{
    BY_HANDLE_FILE_INFORMATION open_info{};
    BY_HANDLE_FILE_INFORMATION path_info{};
    const auto open_handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(opened)));
    if (!identify(open_handle, open_info))
        return false;
    HANDLE other = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    const bool same = identify(other, path_info) &&
                      open_info.dwVolumeSerialNumber == path_info.dwVolumeSerialNumber &&
                      open_info.nFileIndexHigh == path_info.nFileIndexHigh &&
                      open_info.nFileIndexLow == path_info.nFileIndexLow;
    CloseHandle(other);
    return same;
}

folder open_folder(const char *path)
{
    return folder{path, std::strlen(path), -1};
}

void close_folder(folder /*opened*/) {}

bool entry_exists(const folder &in, std::string_view entry_path)
{
    const std::size_t size = entry_path.size();
    if (size == 0 || std::memchr(entry_path.data(), '\0', size) != nullptr)
        return false;
    char joined[MAX_PATH];
    return combine(joined, in.path, in.path_size, entry_path.data(), size) &&
           PathFileExistsA(joined) != FALSE;
}

} // namespace platform
