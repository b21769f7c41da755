// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace kestrune {

enum class OpenMode {
    read,        // an existing file, from its start
    replace,     // emptied, or created
    append,      // an existing file, written at its end
    create_new,  // a file that must not exist yet
};

// What stands at a path, seen without following a symbolic link.
enum class FileKind { missing, regular, folder, link, fifo, device, socket, other };

FileKind file_kind(const std::filesystem::path& file);

// Opens a regular file by its path: with the path's own wide text on Windows, so that a
// working folder of any name works (D:\设计\管网), and always in binary mode, so that CR LF
// stays exactly as written. A symbolic link (a reparse point on Windows) is never followed,
// and nothing waits on a FIFO or a device: whatever is not a regular file is refused at once.
// nullptr on failure, with errno telling why; when the refusal is for what stands there,
// errno is 0 and *in_the_way (if given) says what it is.
std::FILE* open_file(const std::filesystem::path& file, OpenMode mode,
                     FileKind* in_the_way = nullptr);

// The size of an open file in bytes, or -1 when the system cannot tell.
std::int64_t open_file_size(std::FILE* f);

// Cuts an open file, opened for writing, to size bytes. 0, or the errno of the failure.
int set_file_size(std::FILE* f, std::int64_t size);

// Puts what has been written to f and flushed onto stable storage, so that a row the
// engineer has been shown is on the disk. 0, or the errno of the failure. A file that cannot
// be synchronised at all (a device) counts as done.
int flush_to_disk(std::FILE* f);

// Puts a finished file in place of another in one step, so that a reader finds either the
// old file or the whole new one. 0, or the errno of the failure.
int replace_file(const std::filesystem::path& finished, const std::filesystem::path& target);

// Failures of the disk that the next calls meet, for tests of what the engineer is told when
// a disk fails: an errno value each, 0 for none. Each is met once and then cleared.
struct InjectedFailures {
    int flush = 0;     // flush_to_disk
    int set_size = 0;  // set_file_size
};
InjectedFailures& injected_failures();

// The local time of a moment, by the system's time zone.
std::tm local_time(std::time_t moment);

}  // namespace kestrune
