// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// What follows an item of a print statement.
enum class Separator {
    comma,        // advance to the next print zone
    semicolon,    // stay where the item ended
    end_of_line,  // end the line
};

// One item, already in its written form (texts unchanged, numbers in print form).
struct PrintItem {
    std::string text;
    Separator after;
};

using PrintStatement = std::vector<PrintItem>;

PrintItem text_item(std::string_view text, Separator after);
PrintItem int_item(std::int16_t value, Separator after);
PrintItem float_item(float value, Separator after);

// Where an item is written, from 0 at the left edge, in the units of the width measure.
struct PlacedText {
    std::string text;
    double x;
};

using WidthMeasure = std::function<double(std::string_view)>;

// Print zones are 14 columns (in a file) or 14 average character widths (on a window) apart.
inline constexpr int zone_columns = 14;

// The one layout rule for files and windows alike: each item is written where the line
// stands and the line advances by its width; a semicolon stays; a comma moves to the next
// zone start strictly after the current position. So an item that ends exactly on a zone
// start, or runs past one, is followed by a blank gap up to the zone after: items never
// touch, and numbers after a long text still start on zone boundaries.
std::vector<PlacedText> place_items(const PrintStatement& items, const WidthMeasure& width,
                                    double zone_width);

// The statement as one line of a file: code page 936 bytes, one column per byte, the gaps
// filled with blanks, ended by CR LF.
std::string file_line(const PrintStatement& items);

}  // namespace kestrune
