// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_line.h"

#include <cmath>

#include "cp936.h"
#include "number_text.h"

namespace kestrune {

PrintItem text_item(std::string_view text, Separator after) {
    return {std::string(text), after};
}

PrintItem int_item(std::int16_t value, Separator after) {
    return {int_print_form(value), after};
}

PrintItem float_item(float value, Separator after) {
    return {float_print_form(value), after};
}

std::vector<PlacedText> place_items(const PrintStatement& items, const WidthMeasure& width,
                                    double zone_width) {
    std::vector<PlacedText> placed;
    placed.reserve(items.size());
    double x = 0.0;
    for (const PrintItem& item : items) {
        placed.push_back({item.text, x});
        x += width(item.text);
        if (item.after == Separator::comma) {
            x = (std::floor(x / zone_width) + 1.0) * zone_width;
        } else if (item.after == Separator::end_of_line) {
            break;
        }
    }
    return placed;
}

std::string file_line(const PrintStatement& items) {
    auto columns = [](std::string_view text) { return static_cast<double>(to_cp936(text).size()); };
    std::string line;
    for (const PlacedText& p : place_items(items, columns, zone_columns)) {
        line.append(static_cast<std::size_t>(p.x) - line.size(), ' ');
        line += to_cp936(p.text);
    }
    return line + "\r\n";
}

}  // namespace kestrune
