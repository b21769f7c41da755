// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <array>
#include <string>

#include "chinese_font.h"

namespace kestrune {

std::span<const FontChoice> chinese_font_choices() {
    static constexpr std::array<FontChoice, 6> choices{{
        {"simsun.ttc", "宋体 SimSun"},
        {"simhei.ttf", "黑体 SimHei"},
        {"msyh.ttc", "微软雅黑 Microsoft YaHei"},
        {"msyh.ttf", "微软雅黑 Microsoft YaHei"},  // Windows 7's
        {"deng.ttf", "等线 DengXian"},
        {"simkai.ttf", "楷体 KaiTi"},
    }};
    return choices;
}

std::optional<std::filesystem::path> font_folder() {
    std::wstring windows(MAX_PATH, L'\0');
    const UINT length = GetWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
    if (length == 0 || length >= windows.size()) {
        return std::nullopt;
    }
    windows.resize(length);
    return std::filesystem::path(windows) / L"Fonts";
}

}  // namespace kestrune
