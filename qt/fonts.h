// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace kestrune {

// The Song font of the window table in the given size (window_default_font: the application's
// own font); where SimSun is missing, the nearest Song-style Chinese font, so that Latin and
// Chinese glyphs come from one font.
QFont control_font(double points);

}  // namespace kestrune
