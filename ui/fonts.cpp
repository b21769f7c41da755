// SPDX-License-Identifier: GPL-3.0-or-later
#include "fonts.h"

#include <QStringList>

namespace kestrune {

QFont song_font(qreal points) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW")});
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace kestrune
