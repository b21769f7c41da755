// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "design_state.h"
#include "file_error.h"

namespace kestrune {

// The results log in the working folder: one header line, then one row per sizing.
inline constexpr std::string_view results_log_name = "outdata.txt";

// Empties or creates the log with its header line: the header is written beside the log,
// put on the disk and then put in the log's place, so that the log is afterwards either its
// whole header or as it was before. Only a regular file is replaced.
std::optional<FileError> recreate_results_log(const std::filesystem::path& file);

// Whether the log can be written in the folder, found without changing anything there: an
// existing log is opened for appending, a missing one is created and removed again.
std::optional<FileError> check_log_writable(const std::filesystem::path& folder);

// Appends the row of the last sizing. A missing log is made with its header first, and a
// file that does not begin with the whole header line is refused, so that every row stands
// under the header. The row goes out in one write and the file is closed again. On any
// failure the file is cut back to its length before, and the error says whether it was.
std::optional<FileError> append_results_row(const std::filesystem::path& file,
                                            const design_state& s);

}  // namespace kestrune
