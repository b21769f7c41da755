// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace kestrune {

// SimSun (宋体) in the GB2312 character set at a size in points, made for dpi; the caller
// deletes it. Where SimSun is missing, the system's font mapper takes the nearest.
HFONT make_song_font(double points, UINT dpi);

}  // namespace kestrune
