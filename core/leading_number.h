// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "arith_error.h"
#include "result.h"

namespace kestrune {

// The one rule by which every typed number is read: blanks, tabs and line feeds are removed
// wherever they stand ("1 000" reads 1000), then the longest leading number is taken: an
// optional sign, digits with at most one point, an optional exponent after E or e; or a
// hexadecimal number after &H or an octal one after &O. Whatever follows is ignored; text
// that does not start with a number, and empty text, read as 0. The point is always ".".
// A number beyond the 64-bit float range is an overflow; one too small for it reads as 0.
Result<double, ArithError> read_leading_number(std::string_view text);

// What that reading left unread: the text after the leading number, from its first character
// that is not a blank; all of it when the text does not begin with a number.
std::string_view unread_rest(std::string_view text);

// Whether text holds a digit: an ASCII one, or a full-width one of a Chinese input method
// (U+FF10 to U+FF19). A rest that does is more than a unit: "35,000", "12 ５".
bool holds_digit(std::string_view text);

// The same reading, for text that must be one number and nothing else (a table field):
// nullopt when the text is empty or anything follows the number.
std::optional<Result<double, ArithError>> read_whole_number(std::string_view text);

}  // namespace kestrune
