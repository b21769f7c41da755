// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace kestrune {

// A captioned frame drawn with lines and text only. The style's own group box frame is a
// picture, and reading it loads every image format plugin (and libjpeg) before the main
// window is first painted.
class FrameBox : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kestrune
