// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kestrune {

// The digits of a 32-bit float: rounded to 7 significant digits, no trailing zeros after the
// point, no point when whole, "." whatever the locale. Magnitudes from 1E-04 up to below
// 1E+07 are written plainly; others as one digit, the rest after a point, and a signed
// two-digit (or longer) exponent: 1.234568E+07, 1E-05. Zero of either sign is "0".
//
// The print form, used in the log and the print windows: a sign position (blank or "-"),
// the digits with no 0 before the point below 1, one trailing blank: " .329 ", "-3.5 ".
std::string float_print_form(float value);

// The text-box form, used in the main window's output boxes: the same digits with the 0
// kept before the point, no blanks: "0.329", "-3.5", "12000".
std::string float_box_form(float value);

// A single-precision value as the log and the windows give it (float_box_form), as a 64-bit
// value: 96.08, not 96.0800018310547. What the sheet computes from and the workbook holds.
double logged_value(float value);

// A 16-bit integer in print form: " 25 ", "-3 ".
std::string int_print_form(std::int16_t value);

// A 64-bit value rounded to a fixed number of decimals, "." whatever the locale: 1264.6.
std::string fixed_text(double value, int decimals);

// The shortest text that reads back as the same 64-bit value: 12.5, 13, 0.25.
std::string shortest_text(double value);

}  // namespace kestrune
