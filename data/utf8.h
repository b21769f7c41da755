// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrune {

// How many bytes at the start of text form one valid UTF-8 character (1 to 4), or, for a
// broken one, the negated length of its broken part (at least one byte): an unexpected
// byte, an overlong form, a surrogate or a sequence cut short. text must not be empty.
int next_utf8_character(std::string_view text);

// Whether all of text is valid UTF-8.
bool valid_utf8(std::string_view text);
// The text with each broken part replaced by "?", so that bytes from a file can be shown.
std::string readable_utf8(std::string_view bytes);

// At most the first count characters of valid UTF-8 text, never cutting one in two.
std::string first_characters(std::string_view text, std::size_t count);

}  // namespace kestrune
