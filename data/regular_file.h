// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "file_error.h"
#include "platform_files.h"
#include "result.h"

namespace kestrune {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// errno, or EIO when a failure left it 0.
int errno_or_eio();

// Opens a regular file, or says why not: what stands in its place, or the system's reason.
Result<FilePtr, FileError> open_regular(const std::filesystem::path& file, OpenMode mode);

// Writes all of bytes to f in one flush and puts them on the disk; the file is left open.
// Errors name file.
std::optional<FileError> write_out(std::FILE* f, const std::filesystem::path& file,
                                   std::string_view bytes);

// Closes f; a failure to close is a failed write, unless an earlier error stands.
std::optional<FileError> close_after(FilePtr f, const std::filesystem::path& file,
                                     std::optional<FileError> earlier);

}  // namespace kestrune
