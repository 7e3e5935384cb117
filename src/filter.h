// The entry filter: one pass over the playlist that copies its header lines
// and every two-line entry whose media file exists.
#pragma once

#include <string_view>

#include "platform/path.h"
#include "textio.h"

// Tells whether the file that an entry path names exists.
using exists_test = bool (*)(const void *context, std::string_view entry_path);

// The filter over any existence test.
void sift_entries(line_reader &in, copy_writer &out, exists_test exists, const void *context);

// The filter with entries found relative to the playlist folder.
void filter_entries(line_reader &in, copy_writer &out, const platform::folder &playlist_folder);
