// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "sheet_keys.h"

namespace kestrune {

int column_pixels(int average_char_width, int characters, int title_width) {
    return std::max(average_char_width * characters, title_width + average_char_width * 2);
}

int row_number_pixels(int average_char_width) {
    return column_pixels(average_char_width, 5, 0);
}

int row_pixels(int font_height, const std::function<int(int)>& px) {
    return font_height + px(120);
}

int button_twips(std::string_view caption) {
    // A Chinese character is about an em of the 10.5 pt font (210 twips), the rest half that.
    int text = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const auto byte = static_cast<unsigned char>(caption[i]);
        if (byte < 0x80) {
            text += 110;
        } else if (byte >= 0xC0) {
            text += 210;  // a character's first byte
        }
    }
    return std::max(sheet_window_layout.button_width, text + 2 * sheet_window_layout.margin + 240);
}

int sheet_window_width(int grid_width, const std::function<int(int)>& px) {
    return std::max(px(frmsheet_window.width), grid_width + 2 * px(sheet_window_layout.margin));
}

SheetWindowBoxes sheet_window_boxes(int width, int height, const std::function<int(int)>& px,
                                    bool with_sketch, int grid_width) {
    const SheetWindowLayout& l = sheet_window_layout;
    const int margin = px(l.margin);
    const int button_height = px(l.button_height);
    SheetWindowBoxes boxes;
    // The buttons in a row, wrapped onto another where the window is too narrow for them.
    int x = margin;
    int top = margin;
    for (const CommandLayout& command : sheet_commands) {
        if (!command.caption.empty()) {
            const int button = px(button_twips(command.caption));
            if (x > margin && x + button > width - margin) {
                x = margin;
                top += button_height + margin;
            }
            boxes.buttons.push_back({x, top, button, button_height});
            x += button + margin;
        }
    }
    // The grid takes what the rest leaves, and never less than three lines.
    const int line = px(l.line_height);
    const int grid_top = top + button_height + margin;
    const int below_grid = line * 3 + px(l.loops_height) + margin;
    const int grid_height = std::max(line * 3, height - grid_top - below_grid - margin);
    const int inner = width - 2 * margin;
    boxes.grid = {margin, grid_top, inner, grid_height};
    if (with_sketch && inner - grid_width - margin >= px(sketch_least_width)) {
        boxes.grid.width = grid_width;
        boxes.sketch = {margin + grid_width + margin, grid_top, inner - grid_width - margin,
                        grid_height};
    } else if (with_sketch) {
        boxes.grid.height = (grid_height - margin) / 2;
        boxes.sketch = {margin, grid_top + boxes.grid.height + margin, inner,
                        grid_height - boxes.grid.height - margin};
    }
    const int y = grid_top + grid_height;
    boxes.message = {margin, y, inner, line};
    boxes.loops_title = {margin, y + line, inner, line};
    boxes.loops = {margin, y + 2 * line, inner, px(l.loops_height)};
    boxes.notes = {margin, y + 2 * line + px(l.loops_height), inner, line};
    return boxes;
}

double next_sketch_zoom(double zoom, int steps) {
    const auto* nearest = std::min_element(
        std::begin(sketch_zooms), std::end(sketch_zooms),
        [zoom](double a, double b) { return std::abs(a - zoom) < std::abs(b - zoom); });
    const auto at = std::clamp<std::ptrdiff_t>((nearest - std::begin(sketch_zooms)) + steps, 0,
                                               std::ssize(sketch_zooms) - 1);
    return sketch_zooms[at];
}

int sketch_pixels(int twips, double zoom, const std::function<int(int)>& px) {
    return px(static_cast<int>(std::lround(twips * zoom)));
}

CellColours cell_colours(const ShownCell& cell, bool selected, const SystemColours& system) {
    if (selected) {
        return {system.highlight_text, system.highlight};
    }
    const Rgb ground =
        cell.read_only ? read_only_background(system.text, system.base) : system.base;
    return {tone_colour(cell.tone, system.text, ground), ground};
}

ScreenBox offers_box(const ScreenBox& cell, std::size_t count, int line_height, int widest_text,
                     int window_height) {
    constexpr int frame = 4;  // the list's border, both sides
    const int height = static_cast<int>(count) * line_height + frame;
    const int below = cell.top + cell.height;
    const bool room_below = below + height <= window_height || cell.top - height < 0;
    return {cell.left, room_below ? below : cell.top - height, std::max(cell.width, widest_text),
            height};
}

}  // namespace kestrune
