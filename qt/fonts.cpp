// SPDX-License-Identifier: GPL-3.0-or-later
#include "fonts.h"

#include <QApplication>
#include <QStringList>

#include "window_layout.h"

namespace kestrune {

QFont control_font(double points) {
    if (points == window_default_font) {
        // Resolved in full, so that a control inside a frame keeps it instead of the frame's.
        QFont font = QApplication::font();
        font.setResolveMask(QFont::AllPropertiesResolved);
        return font;
    }
    QFont font;
    font.setFamilies({QString::fromUtf8(song_face.data(), static_cast<qsizetype>(song_face.size())),
                      QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("AR PL UMing TW")});
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace kestrune
