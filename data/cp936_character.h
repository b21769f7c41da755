// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

// The code page 936 bytes of one valid, non-ASCII UTF-8 character; nullopt when the code
// page has no code for it. One implementation per platform: iconv on POSIX, the Windows
// code page functions on Windows, giving the same bytes.
std::optional<std::string> cp936_character(std::string_view utf8_character);

}  // namespace kestrune
