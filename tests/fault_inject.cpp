// Loaded into the program with LD_PRELOAD: makes one chosen read, write or
// close of its files fail for real, by pointing the stream's descriptor at
// something that refuses the operation. The program's code path is the one
// that runs for users; only the file under it changes.
//   LISTSIFT_FAULT_READ=N   the N-th fread of the playlist meets EISDIR
//   LISTSIFT_FAULT_WRITE=N  the N-th fwrite to the copy meets ENOSPC
//   LISTSIFT_FAULT_CLOSE=1  closing the copy reports EIO
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

long reads;
long writes;
std::FILE *copy_stream;

long wanted(const char *name)
{
    const char *value = std::getenv(name);
    return value != nullptr ? std::strtol(value, nullptr, 10) : 0;
}

void redirect(std::FILE *stream, const char *path, int flags)
{
    const int refusing = open(path, flags);
    if (refusing >= 0) {
        dup2(refusing, fileno(stream));
        close(refusing);
    }
}

template <typename F> F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
extern "C" std::size_t fread(void *data, std::size_t size, std::size_t count, std::FILE *stream)
{
    static const auto next =
        real<std::size_t (*)(void *, std::size_t, std::size_t, std::FILE *)>("fread");
    if (stream != stdin && ++reads == wanted("LISTSIFT_FAULT_READ"))
        redirect(stream, "/", O_RDONLY | O_DIRECTORY);
    return next(data, size, count, stream);
}

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
extern "C" std::size_t fwrite(const void *data, std::size_t size, std::size_t count,
                              std::FILE *stream)
{
    static const auto next =
        real<std::size_t (*)(const void *, std::size_t, std::size_t, std::FILE *)>("fwrite");
    if (stream != stdout && stream != stderr) {
        copy_stream = stream;
        if (++writes == wanted("LISTSIFT_FAULT_WRITE"))
            redirect(stream, "/dev/full", O_WRONLY);
    }
    return next(data, size, count, stream);
}

extern "C" int fclose(std::FILE *stream)
{
    static const auto next = real<int (*)(std::FILE *)>("fclose");
    const int closed = next(stream);
    if (stream == copy_stream && wanted("LISTSIFT_FAULT_CLOSE") != 0) {
        errno = EIO;
        return EOF;
    }
    return closed;
}
