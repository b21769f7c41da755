#include "frmdisplay.h"

#include <QCloseEvent>
#include <QScreen>

#include "twips.h"

namespace kestrune {

frmdisplay::frmdisplay(QWidget* parent)
    : QWidget(parent, Qt::Window), surface_(new PrintSurface(this)) {
    setObjectName(QStringLiteral("frmdisplay"));
    setWindowTitle(QStringLiteral("display"));
    setFixedSize(px(10755), px(8340));
    surface_->setGeometry(rect());
    // Double-clicks on the printed text reach the window itself.
    surface_->setAttribute(Qt::WA_TransparentForMouseEvents);
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
