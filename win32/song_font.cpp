// SPDX-License-Identifier: GPL-3.0-or-later
#include "song_font.h"

#include "dpi.h"
#include "wide_text.h"
#include "window_layout.h"

namespace kestrune {

HFONT make_song_font(double points, UINT dpi) {
    return CreateFontW(font_height(points, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, wide_text(song_face).c_str());
}

}  // namespace kestrune
