// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "file_error.h"

namespace kestrune {

// The partner a file is written to before it takes the file's place: the name with ".new".
std::filesystem::path partner_of(const std::filesystem::path& file);

// Writes bytes as the whole of file, or leaves file as it was: they go to the partner beside
// it, are put on the disk, and the partner is then renamed over the file. Only a regular
// file (or none) is replaced; a link or anything else in its place is refused. Errors name
// the file, never its partner, which is removed again on failure.
std::optional<FileError> write_whole_file(const std::filesystem::path& file,
                                          std::string_view bytes);

// The bytes of a small file the program keeps for its own convenience (column widths, a
// project's details, the recent projects); empty when there is none or it cannot be read.
std::string read_whole_file(const std::filesystem::path& file);

}  // namespace kestrune
