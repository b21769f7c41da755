// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The widths the engineer gave the sheet's columns by dragging, kept in the working folder so
// that the sheet opens as it was left there, whichever program or screen opens it.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrune {

// UTF-8 text, a line a column: its header, a tab, its width in twips. Columns are found by
// their header, so a file from a version with other columns still serves the ones it names.
inline constexpr std::string_view column_widths_file = "sheetcolumns.txt";

// A width for each of sheet_columns, where the folder's file gives one (a sensible one: at
// least a character, at most a screen).
std::vector<std::optional<int>> kept_column_widths(const std::filesystem::path& folder);
// The widths of all sheet_columns, in twips, written whole. A failure is not told: the
// widths are a convenience, and the sheet itself is elsewhere.
void keep_column_widths(const std::filesystem::path& folder, const std::vector<int>& twips);

}  // namespace kestrune
