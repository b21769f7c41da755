// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kestrune {

// The program's texts are UTF-8; its files are in code page 936 (GBK), where a Chinese
// character takes two bytes. This is the only place that knows that encoding. A character
// the code page lacks, or a broken UTF-8 sequence, becomes "?".
std::string to_cp936(std::string_view utf8);

}  // namespace kestrune
