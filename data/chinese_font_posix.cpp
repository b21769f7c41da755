// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>

#include "chinese_font.h"

namespace kestrune {

std::span<const FontChoice> chinese_font_choices() {
    // Debian's fonts-arphic-uming and fonts-arphic-ukai.
    static constexpr std::array<FontChoice, 2> choices{{
        {"arphic/uming.ttc", "AR PL UMing"},
        {"arphic/ukai.ttc", "AR PL UKai"},
    }};
    return choices;
}

std::optional<std::filesystem::path> font_folder() {
    return std::filesystem::path("/usr/share/fonts/truetype");
}

}  // namespace kestrune
