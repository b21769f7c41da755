// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_window.h"

#include "twips.h"

namespace kestrune {

PrintWindow::PrintWindow(QWidget* parent, const QString& name, const QString& caption,
                         int width_twips, int height_twips)
    : QWidget(parent, Qt::Window), surface_(new PrintSurface(this)) {
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(px(width_twips), px(height_twips));
    surface_->setGeometry(rect());
}

}  // namespace kestrune
