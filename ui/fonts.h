// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace kestrune {

// SimSun in the given size; where SimSun is missing, the nearest Song-style Chinese font, so
// that Latin and Chinese glyphs come from one font.
QFont song_font(qreal points);

}  // namespace kestrune
