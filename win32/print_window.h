// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "print_line.h"
#include "print_page.h"
#include "window_layout.h"
#include "window_toolkit.h"

namespace kestrune {

// A print window of the window table: a plain window, owned by the main window, whose client
// area is printed on line by line in the window default font. Each statement is laid out by
// the zone rule measured in that font (text widths from the font, zones 14 average character
// widths apart); the lines are kept and drawn again whenever the window is painted. A
// double-click anywhere, Esc and the close box are forwarded as gestures; the window never
// closes by itself.
class PrintWindow {
  public:
    PrintWindow(HWND owner, const WindowSpec& layout);
    ~PrintWindow();
    PrintWindow(const PrintWindow&) = delete;
    PrintWindow& operator=(const PrintWindow&) = delete;

    HWND handle() const { return window_; }
    // A double-click, Esc or the close box: the handlers decide what it does.
    void on_gesture(std::function<void(Gesture)> action) { gesture_ = std::move(action); }
    // A click or a double-click on a printed line.
    void on_line_click(std::function<void(std::size_t line, bool double_click)> action) {
        line_click_ = std::move(action);
    }

    void show();
    void hide() { ShowWindow(window_, SW_HIDE); }
    void clear();
    void print(const PrintStatement& statement, std::size_t muted_from, Tone last_item);

    // What has been printed, line by line, with positions in pixels.
    const std::vector<std::vector<PlacedText>>& lines() const { return page_.lines(); }
    bool is_muted(std::size_t line, std::size_t item) const { return page_.is_muted(line, item); }
    // The tone an item is drawn in, and the colour that gives under the system's colours.
    Tone tone(std::size_t line, std::size_t item) const { return page_.tone(line, item); }
    COLORREF colour(std::size_t line, std::size_t item) const;
    // Height of a printed line, pixels.
    int line_height() const;

  private:
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void paint();

    HWND window_ = nullptr;
    Placement placement_;
    bool placed_ = false;
    std::function<void(Gesture)> gesture_;
    std::function<void(std::size_t, bool)> line_click_;
    PrintPage page_;
};

}  // namespace kestrune
