// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kestrune {

// The program's UTF-8 texts as the wide (UTF-16) texts of the W functions, and back.
std::wstring wide_text(std::string_view utf8);
std::string utf8_text(std::wstring_view wide);

}  // namespace kestrune
