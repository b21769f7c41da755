// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace kestrune {

// A Chinese TrueType font of the system's, for a printed calculation.
struct FontFile {
    std::filesystem::path file;
    unsigned index = 0;          // the face in a collection (.ttc)
    std::string_view name = {};  // as the engineer knows it: "微软雅黑 Microsoft YaHei"
};

// A font the system may have: its file in the fonts folder, and its name.
struct FontChoice {
    std::string_view file;
    std::string_view name;
};

// The fonts tried, in order. Windows: SimSun, SimHei, Microsoft YaHei, DengXian, KaiTi (an
// English Windows often has only YaHei and DengXian). Linux: Debian's AR PL UMing, then UKai.
std::span<const FontChoice> chinese_font_choices();
// The folder those files are in: the system's fonts folder; nullopt when it cannot be named.
std::optional<std::filesystem::path> font_folder();

// The first choice that is a regular file in the folder.
std::optional<FontFile> first_font(const std::filesystem::path& folder,
                                   std::span<const FontChoice> choices);
// The system's: the first of its choices in its fonts folder.
std::optional<FontFile> chinese_font();

}  // namespace kestrune
