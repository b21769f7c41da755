// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "print_line.h"
#include "window_toolkit.h"

namespace kestrune {

// What a print window holds: its printed lines, laid out by the print-zone rule in the
// window's font, with the tone of each item. Both front-ends keep one and draw from it, so
// that a covered window is drawn again as it was.
class PrintPage {
  public:
    // Lays one statement out by the zone rule: width measures a text in the window's font,
    // zones are 14 average character widths apart.
    void print(const PrintStatement& statement, const WidthMeasure& width,
               double average_char_width, std::size_t muted_from, Tone last_item);
    void clear();

    const std::vector<std::vector<PlacedText>>& lines() const { return lines_; }
    bool is_muted(std::size_t line, std::size_t item) const { return item >= muted_from_.at(line); }
    // The tone an item is drawn in: the last item's own when it has one, else muted or plain.
    Tone tone(std::size_t line, std::size_t item) const;
    // The printed line at a height, for lines line_height apart; nullopt below the last one.
    std::optional<std::size_t> line_at(double y, double line_height) const;

  private:
    std::vector<std::vector<PlacedText>> lines_;
    std::vector<std::size_t> muted_from_;
    std::vector<Tone> last_item_;
};

}  // namespace kestrune
