// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace kestrune {

enum class OpenMode {
    read,     // an existing file, from its start
    replace,  // emptied, or created
    append,   // written at its end, created when missing
};

// Opens a file by its path: with the path's own wide text on Windows, so that a working
// folder of any name works (D:\设计\管网), and always in binary mode, so that CR LF stays
// exactly as written. nullptr on failure, with errno telling why.
std::FILE* open_file(const std::filesystem::path& file, OpenMode mode);

// Puts what has been written to f and flushed onto stable storage, so that a row the
// engineer has been shown is on the disk. 0, or the errno of the failure. A file that cannot
// be synchronised at all (a device) counts as done.
int flush_to_disk(std::FILE* f);

// The local time of a moment, by the system's time zone.
std::tm local_time(std::time_t moment);

}  // namespace kestrune
