// SPDX-License-Identifier: GPL-3.0-or-later
#include "cp936.h"

#include "cp936_character.h"

namespace kestrune {
namespace {

bool is_continuation(unsigned char c) {
    return c >= 0x80 && c <= 0xBF;
}

// How many bytes at the start of text form one valid UTF-8 character (1 to 4), or, for a
// broken one, the negated length of its broken part (at least one byte), which becomes one
// "?": an unexpected byte, an overlong form, a surrogate or a sequence cut short.
int next_character(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        return 1;
    }
    int length = 0;
    unsigned char low = 0x80;  // the range of the second byte, narrower after some leads
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return -1;
    }
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) >= text.size()) {
            return -i;
        }
        const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        const bool fits = i == 1 ? (c >= low && c <= high) : is_continuation(c);
        if (!fits) {
            return -i;
        }
    }
    return length;
}

}  // namespace

std::string to_cp936(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const int length = next_character(utf8);
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
