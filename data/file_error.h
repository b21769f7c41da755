// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace kestrune {

// A file that could not be opened, read, written or closed, with the system's reason.
struct FileError {
    std::string file;  // UTF-8
    std::string reason;
    int code = 0;  // the errno value behind reason, 0 when unknown
};

// A failure with the errno value e.
FileError file_error(const std::filesystem::path& file, int e);

// The system's reason for an errno value, in the C locale's words.
std::string system_reason(int errno_value);

// A path as UTF-8 text, for messages, whatever the platform's own path encoding.
std::string path_text(const std::filesystem::path& file);

}  // namespace kestrune
