#pragma once

#include <QWidget>

#include "print_surface.h"

namespace kestrune {

// The results window: shows the header and the values of the last sizing. A double-click
// anywhere hides it, and so does its close box; the next sizing shows it again.
class frmdisplay : public QWidget {
    Q_OBJECT
  public:
    explicit frmdisplay(QWidget* parent = nullptr);

    PrintSurface* surface() const { return surface_; }
    // Makes the window visible, centred on the screen the first time.
    void show_results();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    PrintSurface* surface_;
    bool placed_ = false;
};

}  // namespace kestrune
