// listsift: writes a cleaned copy of an extended M3U playlist, keeping its
// header lines and the entries whose media files exist.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "filter.h"
#include "platform/path.h"
#include "textio.h"

namespace {

void say(std::FILE *stream, const char *text);
[[noreturn]] void print_help();
[[noreturn]] void refuse(const char *message, int status);
[[noreturn]] void fail(const char *message);
std::FILE *open_playlist(const char *path);

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        print_help();
    char *playlist_path = argv[1];
    const char *save_name = argv[2];

    if (std::strchr(playlist_path, '?') != nullptr)
        print_help();
    if (!platform::path_exists(playlist_path))
        refuse("File does not exist, or was typed incorrectly. Try again or type ? for help", 1);
    if (std::strstr(save_name, ".m3u") == nullptr)
        refuse("File to be saved must have an .m3u extension.", 2);

    std::FILE *playlist = open_playlist(playlist_path);
    // The copy lands in the playlist's folder, so a playlist given by a bare
    // name has nowhere to put it.
    char output_path[platform::path_limit] = {};
    bool formed = false;
    if (playlist != nullptr) {
        platform::normalize_separators(playlist_path);
        if (platform::path_has_folder(playlist_path)) {
            platform::cut_to_folder(playlist_path);
            formed = platform::join_path(output_path, sizeof output_path, playlist_path, save_name);
        }
    }
    // Opening the copy empties it, so it must not be the playlist itself.
    if (formed && platform::is_same_file(playlist, output_path))
        refuse("File to be saved must not be the original file.", 2);
    std::FILE *copy = formed ? std::fopen(output_path, "wb") : nullptr;
    if (copy == nullptr)
        fail("couldn't open file");
    // The reader and the writer keep buffers of their own.
    (void)std::setvbuf(copy, nullptr, _IONBF, 0);

    const platform::folder playlist_folder = platform::open_folder(playlist_path);
    line_reader in = make_reader(playlist);
    copy_writer out = make_writer(copy);
    filter_entries(in, out, playlist_folder);
    platform::close_folder(playlist_folder);

    // Nothing was written through the playlist stream, so its close has
    // nothing to lose.
    (void)std::fclose(playlist);
    const bool copy_written = close_copy(out);
    if (in.failed)
        fail("couldn't read file");
    if (!copy_written)
        fail("couldn't write file");
    say(stdout, "Validation complete.\n");
    return 0;
}

namespace {

// Console output is not retried or checked: the exit status carries the
// outcome, and the copy is already written or refused when a message goes.
void say(std::FILE *stream, const char *text)
{
    (void)std::fputs(text, stream);
}

void print_help()
{
    say(stdout, "HELP:\n"
                "USAGE: listsift  [original file] [filename to save to]\n"
                "Example:  listsift  c:\\music\\myplaylist.m3u  playlistcopy.m3u\n"
                "\n"
                "NOTES:\n"
                "[original filename] the playlist you want to validate. must be "
                "absolute path.\n"
                "  i.e. c:\\music\\playlist.m3u not playlist.m3u\n"
                "[filename to save to]  must have an .m3u extension, but does not\n"
                " need a path. It will be saved in the same folder as the original "
                "file.\n");
    std::exit(1);
}

// A refusal of the arguments, told on standard output.
void refuse(const char *message, int status)
{
    say(stdout, message);
    say(stdout, "\n");
    std::exit(status);
}

// A file that could not be opened, read or written, told on standard error.
void fail(const char *message)
{
    say(stderr, message);
    std::exit(1);
}

// Opens the playlist, which must be a file: on some systems a folder opens
// for reading too.
std::FILE *open_playlist(const char *path)
{
    std::FILE *playlist = std::fopen(path, "rb");
    if (playlist != nullptr && platform::is_folder(playlist)) {
        (void)std::fclose(playlist);
        return nullptr;
    }
    if (playlist != nullptr)
        (void)std::setvbuf(playlist, nullptr, _IONBF, 0);
    return playlist;
}

} // namespace
