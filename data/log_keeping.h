// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>

#include "file_error.h"
#include "result.h"

namespace kestrune {

// The name an earlier run's log is kept under, beside it: the log's own name with the local
// time of its last write, outdata-20261207-1530.txt, and -2, -3, ... after the time when that
// name is taken.
std::filesystem::path kept_log_name(const std::filesystem::path& log, const std::tm& written);

// Before the start-up sequence empties the results log: a log that holds more than its header
// line is renamed to kept_log_name, never over another file. nullopt when there is nothing to
// keep; otherwise where the rows went, or why they could not be kept (the log is then as it
// was).
std::optional<Result<std::filesystem::path, FileError>> keep_earlier_log(
    const std::filesystem::path& log);

}  // namespace kestrune
