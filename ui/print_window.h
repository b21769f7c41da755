// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "print_surface.h"

namespace kestrune {

// A plain top-level window of fixed size whose whole client area is a print surface.
class PrintWindow : public QWidget {
    Q_OBJECT
  public:
    PrintWindow(QWidget* parent, const QString& name, const QString& caption, int width_twips,
                int height_twips);

    PrintSurface* surface() const { return surface_; }

  private:
    PrintSurface* surface_;
};

}  // namespace kestrune
