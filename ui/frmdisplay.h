// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print_window.h"

namespace kestrune {

// The results window: shows the header and the values of the last sizing. A double-click
// anywhere hides it, and so does its close box; the next sizing shows it again.
class frmdisplay : public PrintWindow {
    Q_OBJECT
  public:
    explicit frmdisplay(QWidget* parent = nullptr);

    // Makes the window visible, centred on the screen the first time.
    void show_results();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool placed_ = false;
};

}  // namespace kestrune
