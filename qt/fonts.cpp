// SPDX-License-Identifier: GPL-3.0-or-later
#include "fonts.h"

#include <QApplication>
#include <QStringList>

#include "qt_text.h"
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
    QStringList families{qt_text(song_face)};
    for (std::string_view fallback : song_fallbacks) {
        families << qt_text(fallback);
    }
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace kestrune
