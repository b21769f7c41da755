#include "frmchoose.h"

#include <QCloseEvent>

#include "twips.h"

namespace kestrune {

frmchoose::frmchoose(QWidget* parent)
    : QWidget(parent, Qt::Window), surface_(new PrintSurface(this)) {
    setObjectName(QStringLiteral("frmchoose"));
    setWindowTitle(QStringLiteral("直径的选择:"));
    setFixedSize(px(9945), px(4065));
    surface_->setGeometry(rect());
}

void frmchoose::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace kestrune
