#!/usr/bin/env python3
"""Makes a benchmark music tree and a playlist of N entries.

The tree has 100 album folders (Artist/Album) of 20 files each, 2,000 in all.
The playlist has CR LF line ends, a header, and N entries of an #EXTINF line
and a relative path; every second entry names a file that does not exist.

usage: generate.py FOLDER N
"""
import os
import sys


def main():
    folder, count = sys.argv[1], int(sys.argv[2])
    files = []
    for artist in range(20):
        for album in range(5):
            album_dir = f"Artist {artist:02d}/Album {album:02d}"
            os.makedirs(os.path.join(folder, album_dir), exist_ok=True)
            for track in range(1, 21):
                path = f"{album_dir}/{track:02d} - Title {track:02d}.mp3"
                files.append(path)
                full = os.path.join(folder, path)
                if not os.path.exists(full):
                    with open(full, "wb") as media:
                        media.write(b"stand-in")
    with open(os.path.join(folder, f"list-{count}.m3u"), "wb") as playlist:
        lines = ["#EXTM3U"]
        for i in range(count):
            present = files[i // 2 % len(files)]
            if i % 2 == 0:
                path = present
            else:
                path = present.replace(" - Title", " - Missing")
            lines.append(f"#EXTINF:{180 + i % 120},Artist - Title {i}")
            lines.append(path)
        playlist.write(("\r\n".join(lines) + "\r\n").encode())


if __name__ == "__main__":
    main()
