// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform_files.h"

namespace kestrune {

// The step of writing a file that failed.
enum class FileStep {
    open,    // opening or creating it
    write,   // writing into it
    flush,   // putting what was written onto the disk
    header,  // the results log does not begin with its header line
};

// A file that could not be opened, read, written or closed, with the system's reason.
struct FileError {
    std::string file;  // UTF-8
    std::string reason;
    int code = 0;  // the errno value behind reason, 0 when unknown
    // Not regular: what stands where the file should be (a link, a FIFO, ...); reason is
    // then empty.
    FileKind in_the_way = FileKind::regular;
    FileStep step = FileStep::open;
    // After a failed append: whether the file was found exactly as long as before it. When
    // it is not, the row may be in it, whole or in part.
    bool unchanged = true;
};

// A failure with the errno value e.
FileError file_error(const std::filesystem::path& file, int e, FileStep step = FileStep::open);
// A refusal of what stands at file, which is not a regular file.
FileError not_a_file(const std::filesystem::path& file, FileKind in_the_way);

// The system's reason for an errno value, in the C locale's words.
std::string system_reason(int errno_value);

// A path as UTF-8 text, for messages, whatever the platform's own path encoding.
std::string path_text(const std::filesystem::path& file);
// And a path from UTF-8 text.
std::filesystem::path utf8_path(std::string_view text);

}  // namespace kestrune
