// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "cp936_character.h"

namespace kestrune {

std::optional<std::string> cp936_character(std::string_view utf8_character) {
    constexpr UINT cp936 = 936;
    wchar_t wide[2];  // one character: a UTF-16 unit or a surrogate pair
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8_character.data(),
                                          static_cast<int>(utf8_character.size()), wide, 2);
    if (units <= 0) {
        return std::nullopt;
    }
    char out[8];
    BOOL used_default = FALSE;
    const int length = WideCharToMultiByte(cp936, WC_NO_BEST_FIT_CHARS, wide, units, out,
                                           sizeof out, nullptr, &used_default);
    if (length <= 0 || used_default) {
        return std::nullopt;
    }
    return std::string(out, static_cast<std::size_t>(length));
}

}  // namespace kestrune
