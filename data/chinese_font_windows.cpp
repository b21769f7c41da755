// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <string>
#include <system_error>

#include "chinese_font.h"

namespace kestrune {

std::optional<FontFile> chinese_font() {
    std::wstring windows(MAX_PATH, L'\0');
    const UINT length = GetWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
    if (length == 0 || length >= windows.size()) {
        return std::nullopt;
    }
    windows.resize(length);
    for (const wchar_t* name : {L"simsun.ttc", L"simhei.ttf"}) {
        const std::filesystem::path file = std::filesystem::path(windows) / L"Fonts" / name;
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            return FontFile{file, 0};
        }
    }
    return std::nullopt;
}

}  // namespace kestrune
