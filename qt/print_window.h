// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

#include "print_surface.h"
#include "window_layout.h"

namespace kestrune {

// A print window of the window table: a plain top-level window of fixed size whose whole
// client area is a print surface. Its close box, a double-click and Esc are forwarded as
// gestures; the window never closes by itself.
class PrintWindow : public QWidget {
    Q_OBJECT
  public:
    PrintWindow(QWidget* parent, const WindowSpec& layout);

    PrintSurface* surface() const { return surface_; }
    // A double-click, Esc or the close box: the handlers decide what it does.
    void on_gesture(std::function<void(Gesture)> action) { gesture_ = std::move(action); }
    // A click or a double-click on a printed line.
    void on_line_click(std::function<void(std::size_t line, bool double_click)> action) {
        line_click_ = std::move(action);
    }

    // Makes the window visible and raises it; a centred window is centred the first time.
    void show_window();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    PrintSurface* surface_;
    Placement placement_;
    bool placed_ = false;
    std::function<void(Gesture)> gesture_;
    std::function<void(std::size_t, bool)> line_click_;
};

}  // namespace kestrune
