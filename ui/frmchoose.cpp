#include "frmchoose.h"

#include <QCloseEvent>

namespace kestrune {

frmchoose::frmchoose(QWidget* parent)
    : PrintWindow(parent, QStringLiteral("frmchoose"), QStringLiteral("直径的选择:"), 9945, 4065) {}

void frmchoose::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace kestrune
