// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>

#include "system_sketch.h"

namespace kestrune {

// The system sketch in a child window with scroll bars: drawn at a zoom that Ctrl with the
// wheel changes, the wheel scrolling it otherwise; a click on a segment names its row.
class SketchView {
  public:
    explicit SketchView(HWND parent);
    SketchView(const SketchView&) = delete;
    SketchView& operator=(const SketchView&) = delete;

    HWND handle() const { return window_; }
    void show_sketch(SystemSketch sketch, std::optional<std::size_t> current);
    const SystemSketch& sketch() const { return sketch_; }
    // Where a point of the sketch (twips) is drawn, in the window's client pixels.
    POINT at(SketchPoint point) const;
    std::function<void(std::size_t row)> on_row;

  private:
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void paint();
    int pixels(int twips) const;
    // Client pixels as the sketch's twips.
    SketchBox twips_of(const RECT& client) const;
    // The scroll bars for the sketch's size at the zoom; the position kept within them.
    void update_scroll();
    void scroll(int bar, int to);
    // The current row's segment into view, once the window has its size.
    void scroll_to_current();

    HWND window_ = nullptr;
    SystemSketch sketch_;
    std::optional<std::size_t> current_;
    double zoom_ = 1.0;
    POINT origin_{};               // the scrolled offset, pixels
    bool scroll_pending_ = false;  // the current row changed since it was last scrolled to
};

}  // namespace kestrune
