// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_error.h"
#include "loop_balance.h"
#include "pipe_preview.h"
#include "result.h"
#include "sheet_row.h"

namespace kestrune {

// The calculation sheet in the working folder: UTF-8 text that a person can read and diff.
// A version line, the imbalance limit, the known loops, one line per segment (fields
// separated by tabs; a tab, a line end or a backslash in a text written \t, \n, \r, \\) and
// a closing line with the count of segments, so that a file cut short is known as such.
inline constexpr std::string_view sheet_file_name = "calcsheet.txt";
// Version 2 adds 自动选管径's upper specific resistance and the entrance's available pressure
// (a line each after the limit) and to each row its
// 上游, its 用户负荷 and whether its DN is the engineer's; a sheet without them is still written
// as version 1.
inline constexpr int sheet_file_version = 2;

// What a sheet holds besides its rows.
struct SheetSettings {
    std::vector<std::string> loops;            // the loops known, in their order
    double limit = default_imbalance_limit;    // %
    std::optional<double> available_pressure;  // 入口资用压力, Pa, where the engineer gave it
    float resistance_limit = kestrune::resistance_limit;  // 自动选管径's upper R, Pa/m

    bool operator==(const SheetSettings&) const = default;
};

struct SheetData : SheetSettings {
    std::vector<SheetRow> rows;

    bool operator==(const SheetData&) const = default;
};

std::string sheet_text(const SheetData& sheet);

enum class SheetFault {
    damaged,  // not a sheet, or one cut short or changed by hand beyond reading (see line)
    newer,    // written by a newer version of the program (see version)
};

struct SheetFileError {
    SheetFault fault = SheetFault::damaged;
    std::size_t line = 0;  // 1-based, for damaged
    int version = 0;       // for newer
};

Result<SheetData, SheetFileError> parse_sheet(std::string_view text);

// Saves the sheet whole, or leaves the file as it was.
std::optional<FileError> save_sheet(const std::filesystem::path& file, const SheetData& sheet);

// What was found at start.
struct LoadedSheet {
    SheetData sheet;  // empty when there was none, or it was set aside
    std::optional<SheetFileError> fault;
    std::optional<FileError> unread;                 // why a file set aside could not be read
    std::optional<std::filesystem::path> set_aside;  // where a damaged, newer or unread file went
};

// Reads the sheet. A missing file gives an empty sheet. A damaged one, one of a newer
// version, or one that cannot be read, is never overwritten: it is renamed beside it
// (calcsheet-YYYYMMDD-HHMM.txt) and an empty sheet starts. An error only when the file can be
// neither read nor set aside: nothing may then be saved over it.
Result<LoadedSheet, FileError> load_sheet(const std::filesystem::path& file);

}  // namespace kestrune
