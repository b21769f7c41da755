// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_layout.h"

#include <algorithm>

namespace kestrune {

int column_pixels(int average_char_width, int characters, int title_width) {
    return std::max(average_char_width * characters, title_width + average_char_width * 3);
}

}  // namespace kestrune
