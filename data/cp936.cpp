// SPDX-License-Identifier: GPL-3.0-or-later
#include "cp936.h"

#include "cp936_character.h"
#include "utf8.h"

namespace kestrune {

std::string to_cp936(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const int length = next_utf8_character(utf8);
        const std::size_t taken = static_cast<std::size_t>(length < 0 ? -length : length);
        if (length == 1) {
            out += utf8[0];  // ASCII is the same in code page 936
        } else if (length < 0) {
            out += '?';
        } else if (auto bytes = cp936_character(utf8.substr(0, taken))) {
            out += *bytes;
        } else {
            out += '?';
        }
        utf8.remove_prefix(taken);
    }
    return out;
}

}  // namespace kestrune
