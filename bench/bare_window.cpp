// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the start-up benchmark: a bare Qt window of the main window's size
// showing its first Chinese label, and nothing else. Of the same size, because the memory a
// window's pixels take (about 1.4 MB for the main window) is paid by any program showing it.
#include <QApplication>
#include <QLabel>

#include "window_layout.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("用户负荷(w)："));
    label.resize(kestrune::frmcompute_window.width / 15, kestrune::frmcompute_window.height / 15);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.show();
    return app.exec();
}
