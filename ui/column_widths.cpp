// SPDX-License-Identifier: GPL-3.0-or-later
#include "column_widths.h"

#include <charconv>
#include <string>

#include "file_error.h"
#include "sheet_columns.h"
#include "text_fields.h"
#include "whole_file.h"

namespace kestrune {
namespace {

constexpr int narrowest = 150;  // twips: a character
constexpr int widest = 28800;   // twips: 20 inches, more than any screen

}  // namespace

std::vector<std::optional<int>> kept_column_widths(const std::filesystem::path& folder) {
    std::vector<std::optional<int>> widths(sheet_columns.size());
    const std::string text = read_whole_file(folder / utf8_path(column_widths_file));
    for (std::string_view line : split_fields(text, '\n')) {
        const auto fields = split_fields(line, '\t');
        if (fields.size() != 2) {
            continue;
        }
        std::string_view number = fields[1];
        if (!number.empty() && number.back() == '\r') {
            number.remove_suffix(1);
        }
        int twips = 0;
        const auto read = std::from_chars(number.data(), number.data() + number.size(), twips);
        if (read.ec != std::errc() || read.ptr != number.data() + number.size() ||
            twips < narrowest || twips > widest) {
            continue;
        }
        for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
            if (sheet_columns[c].header == fields[0]) {
                widths[c] = twips;
            }
        }
    }
    return widths;
}

void keep_column_widths(const std::filesystem::path& folder, const std::vector<int>& twips) {
    std::string text;
    for (std::size_t c = 0; c < sheet_columns.size() && c < twips.size(); ++c) {
        text += std::string(sheet_columns[c].header) + "\t" + std::to_string(twips[c]) + "\n";
    }
    (void)write_whole_file(folder / utf8_path(column_widths_file), text);
}

}  // namespace kestrune
