// SPDX-License-Identifier: GPL-3.0-or-later
#include "utf8.h"

namespace kestrune {
namespace {

bool is_continuation(unsigned char c) {
    return c >= 0x80 && c <= 0xBF;
}

std::size_t taken(int length) {
    return static_cast<std::size_t>(length < 0 ? -length : length);
}

}  // namespace

int next_utf8_character(std::string_view text) {
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

bool valid_utf8(std::string_view text) {
    while (!text.empty()) {
        const int length = next_utf8_character(text);
        if (length < 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(length));
    }
    return true;
}

std::string readable_utf8(std::string_view bytes) {
    std::string out;
    while (!bytes.empty()) {
        const int length = next_utf8_character(bytes);
        if (length < 0) {
            out += '?';
        } else {
            out += bytes.substr(0, taken(length));
        }
        bytes.remove_prefix(taken(length));
    }
    return out;
}

std::string first_characters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (; count > 0 && end < text.size(); --count) {
        end += taken(next_utf8_character(text.substr(end)));
    }
    return std::string(text.substr(0, end));
}

}  // namespace kestrune
