// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>

namespace kestrune {

// A Song-style Chinese TrueType font of the system's, for a printed calculation: AR PL UMing
// on Linux (Debian's fonts-arphic-uming), SimSun from the fonts folder on Windows.
struct FontFile {
    std::filesystem::path file;
    unsigned index = 0;  // the face in a collection (.ttc)
};

std::optional<FontFile> chinese_font();

}  // namespace kestrune
