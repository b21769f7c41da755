// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

// Window geometry is given in twips; 15 twips make one logical pixel at 96 dpi, and Qt's
// high-DPI scaling takes logical pixels on from there.
constexpr int px(int twips) {
    return twips / 15;
}
constexpr int twips_of(int pixels) {
    return pixels * 15;
}

}  // namespace kestrune
