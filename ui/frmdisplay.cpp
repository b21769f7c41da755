// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmdisplay.h"

#include <QCloseEvent>
#include <QScreen>

namespace kestrune {

frmdisplay::frmdisplay(QWidget* parent)
    : PrintWindow(parent, QStringLiteral("frmdisplay"), QStringLiteral("display"), 10755, 8340) {
    // Double-clicks on the printed text reach the window itself.
    surface()->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void frmdisplay::show_results() {
    if (!placed_) {
        if (QScreen* s = screen()) {
            move(s->availableGeometry().center() - rect().center());
        }
        placed_ = true;
    }
    show();
    raise();
}

void frmdisplay::mouseDoubleClickEvent(QMouseEvent*) {
    hide();
}

void frmdisplay::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

}  // namespace kestrune
