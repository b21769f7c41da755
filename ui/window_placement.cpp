// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_placement.h"

#include <algorithm>
#include <array>

namespace kestrune {
namespace {

bool inside(const ScreenBox& box, const ScreenBox& area) {
    return box.left >= area.left && box.top >= area.top &&
           box.left + box.width <= area.left + area.width &&
           box.top + box.height <= area.top + area.height;
}

long long overlap(const ScreenBox& a, const ScreenBox& b) {
    const int w = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const int h = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? static_cast<long long>(w) * h : 0;
}

}  // namespace

ScreenBox place_list_window(const ScreenBox& main, int width, int height, const ScreenBox& area,
                            int gap) {
    const int top = std::clamp(main.top, area.top, area.top + area.height - height);
    const int left = std::clamp(main.left, area.left, area.left + area.width - width);
    const std::array<ScreenBox, 4> beside{{
        {main.left + main.width + gap, top, width, height},
        {main.left - gap - width, top, width, height},
        {left, main.top + main.height + gap, width, height},
        {left, main.top - gap - height, width, height},
    }};
    for (const ScreenBox& box : beside) {
        if (inside(box, area)) {
            return box;
        }
    }
    const int right = std::max(area.left, area.left + area.width - width);
    const int bottom = std::max(area.top, area.top + area.height - height);
    const std::array<ScreenBox, 4> corners{{
        {area.left, area.top, width, height},
        {right, area.top, width, height},
        {area.left, bottom, width, height},
        {right, bottom, width, height},
    }};
    return *std::min_element(corners.begin(), corners.end(),
                             [&main](const ScreenBox& a, const ScreenBox& b) {
                                 return overlap(a, main) < overlap(b, main);
                             });
}

ScreenBox place_sheet_window(const ScreenBox& main, int width, int height, const ScreenBox& area,
                             int gap) {
    return place_list_window(main, std::min(width, area.width), std::min(height, area.height), area,
                             gap);
}

}  // namespace kestrune
