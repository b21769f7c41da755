// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

namespace kestrune {

// The list view's row numbers and its first column (管段号), held at its left edge while it
// scrolls sideways: a window of its own over the list, shown only while the list is
// scrolled, drawn from the same cells and the list's own header, its clicks given as
// clicks on those cells, so that each row still names its segment.
class FrozenColumn {
  public:
    struct Cell {
        std::wstring text;
        COLORREF text_colour, ground;
    };
    // cell: a row's number (column 0) or its first column (1), as the list shows them;
    // click: a click or a double click on one of them.
    FrozenColumn(HWND list, HFONT font, std::function<Cell(std::size_t row, int column)> cell,
                 std::function<void(std::size_t row, int column, bool twice)> click);
    FrozenColumn(const FrozenColumn&) = delete;
    FrozenColumn& operator=(const FrozenColumn&) = delete;

    HWND handle() const { return window_; }
    // Pixels of the list's client area the two columns cover, from its left edge.
    int width() const;
    // Placed, shown or hidden and drawn anew, after the list scrolled, resized or changed.
    void follow();

  private:
    LRESULT handle_message(UINT message, WPARAM w, LPARAM l);
    void paint(HDC dc);

    HWND list_;
    HFONT font_;
    std::function<Cell(std::size_t, int)> cell_;
    std::function<void(std::size_t, int, bool)> click_;
    HWND window_ = nullptr;
};

}  // namespace kestrune
