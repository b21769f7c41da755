// SPDX-License-Identifier: GPL-3.0-or-later
#include "chinese_font.h"

#include <system_error>

namespace kestrune {

std::optional<FontFile> first_font(const std::filesystem::path& folder,
                                   std::span<const FontChoice> choices) {
    for (const FontChoice& choice : choices) {
        const std::filesystem::path file =
            folder / std::filesystem::path(std::u8string(choice.file.begin(), choice.file.end()));
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            return FontFile{file, 0, choice.name};
        }
    }
    return std::nullopt;
}

std::optional<FontFile> chinese_font() {
    const auto folder = font_folder();
    return folder ? first_font(*folder, chinese_font_choices()) : std::nullopt;
}

}  // namespace kestrune
