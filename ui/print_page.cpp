// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_page.h"

namespace kestrune {

void PrintPage::print(const PrintStatement& statement, const WidthMeasure& width,
                      double average_char_width, std::size_t muted_from, Tone last_item) {
    lines_.push_back(place_items(statement, width, zone_columns * average_char_width));
    muted_from_.push_back(muted_from);
    last_item_.push_back(last_item);
}

void PrintPage::clear() {
    lines_.clear();
    muted_from_.clear();
    last_item_.clear();
}

Tone PrintPage::tone(std::size_t line, std::size_t item) const {
    if (item + 1 == lines_.at(line).size() && last_item_.at(line) != Tone::plain) {
        return last_item_.at(line);
    }
    return is_muted(line, item) ? Tone::muted : Tone::plain;
}

std::optional<std::size_t> PrintPage::line_at(double y, double line_height) const {
    if (y < 0 || line_height <= 0) {
        return std::nullopt;
    }
    const auto line = static_cast<std::size_t>(y / line_height);
    return line < lines_.size() ? std::optional<std::size_t>(line) : std::nullopt;
}

}  // namespace kestrune
