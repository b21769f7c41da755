// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include "qt_text.h"
#include "twips.h"

namespace kestrune {

PrintWindow::PrintWindow(QWidget* parent, const WindowSpec& layout)
    : QWidget(parent, Qt::Window), surface_(new PrintSurface(this)), placement_(layout.placement) {
    setObjectName(qt_text(layout.name));
    setWindowTitle(qt_text(layout.caption));
    setFixedSize(px(layout.width), px(layout.height));
    surface_->setGeometry(rect());
    // Double-clicks on the printed text reach the window itself.
    surface_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PrintWindow::show_window() {
    if (!placed_ && placement_ == Placement::centred) {
        if (QScreen* s = screen()) {
            move(s->availableGeometry().center() - rect().center());
        }
    }
    placed_ = true;
    show();
    raise();
}

void PrintWindow::mousePressEvent(QMouseEvent* event) {
    const auto line = surface_->line_at(event->position().y());
    if (line_click_ && line && event->button() == Qt::LeftButton) {
        line_click_(*line, false);
    }
}

void PrintWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    const auto line = surface_->line_at(event->position().y());
    if (line_click_ && line) {
        line_click_(*line, true);
    }
    if (gesture_) {
        gesture_(Gesture::double_click);
    }
}

void PrintWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && gesture_) {
        gesture_(Gesture::escape);
        return;
    }
    QWidget::keyPressEvent(event);
}

void PrintWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (gesture_) {
        gesture_(Gesture::close_box);
    }
}

}  // namespace kestrune
