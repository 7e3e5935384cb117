// The least work that cleaning a playlist takes: read it whole, test each
// path line for existence relative to the playlist's folder, and write the
// kept lines in one write. It assumes a well-formed CR LF playlist with a
// header and two-line entries, as the generator makes; listsift is measured
// against it.
//
// usage: floor PLAYLIST COPY
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const std::string playlist = argv[1];
    const std::string folder = playlist.substr(0, playlist.rfind('/'));
    const int in = open(argv[1], O_RDONLY);
    struct stat st {};
    if (in < 0 || fstat(in, &st) != 0)
        return 1;
    // Left uninitialised: the read fills it.
    const std::unique_ptr<char[]> bytes(new char[static_cast<std::size_t>(st.st_size) + 1]);
    if (read(in, bytes.get(), static_cast<std::size_t>(st.st_size) + 1) != st.st_size)
        return 1;
    close(in);
    const int dir = open(folder.c_str(), O_PATH | O_DIRECTORY);

    std::vector<char> kept;
    kept.reserve(static_cast<std::size_t>(st.st_size));
    char *at = bytes.get();
    char *const end = at + st.st_size;
    char *header_end = static_cast<char *>(std::memchr(at, '\n', end - at)) + 1;
    kept.insert(kept.end(), at, header_end);
    at = header_end;
    while (at < end) {
        char *info_end = static_cast<char *>(std::memchr(at, '\n', end - at)) + 1;
        char *path_end = static_cast<char *>(std::memchr(info_end, '\n', end - info_end)) + 1;
        path_end[-2] = '\0'; // the CR
        struct stat media {};
        const bool exists = fstatat(dir, info_end, &media, 0) == 0;
        path_end[-2] = '\r';
        if (exists)
            kept.insert(kept.end(), at, path_end);
        at = path_end;
    }
    const int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || write(out, kept.data(), kept.size()) != static_cast<ssize_t>(kept.size()))
        return 1;
    return close(out) == 0 ? 0 : 1;
}
