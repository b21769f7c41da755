// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <string>

#include "library_path.h"

namespace kestrune {
namespace {

std::string in_ansi(const std::wstring& wide) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow.data(), size,
                        nullptr, nullptr);
    return narrow;
}

}  // namespace

std::string library_path(const std::filesystem::path& file) {
    // The file may not exist yet: the short form of its folder, and its own name.
    const std::filesystem::path folder = std::filesystem::absolute(file).parent_path();
    std::wstring shortened(MAX_PATH, L'\0');
    const DWORD length =
        GetShortPathNameW(folder.c_str(), shortened.data(), static_cast<DWORD>(shortened.size()));
    if (length == 0 || length >= shortened.size()) {
        return in_ansi(file.wstring());
    }
    shortened.resize(length);
    return in_ansi((std::filesystem::path(shortened) / file.filename()).wstring());
}

}  // namespace kestrune
