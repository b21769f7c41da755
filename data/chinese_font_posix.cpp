// SPDX-License-Identifier: GPL-3.0-or-later
#include <system_error>

#include "chinese_font.h"

namespace kestrune {

std::optional<FontFile> chinese_font() {
    for (const char* file : {"/usr/share/fonts/truetype/arphic/uming.ttc",
                             "/usr/share/fonts/truetype/arphic/ukai.ttc"}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            return FontFile{file, 0};
        }
    }
    return std::nullopt;
}

}  // namespace kestrune
