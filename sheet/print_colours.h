// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kestrune {

// How a printed item or a cell is drawn: the table's text, the preview beside it, its two
// marks, and the sheet's 最不利环路, each in its own colour (tone_colour) and never by colour
// alone (the marks keep words).
enum class Tone { plain, muted, suggested, too_fast, critical };

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The main window's problem line: a dark red, as a warning reads.
inline constexpr Rgb problem_line_colour{0xB0, 0x00, 0x00};

// Text must stand out from its background by at least this contrast ratio (WCAG 2.x, level
// AA, normal text).
inline constexpr double least_contrast = 4.5;

// The preview is set apart from the table by a grey, yet read as easily as body text: it
// keeps the contrast WCAG asks for at level AAA.
inline constexpr double muted_contrast = 7.0;

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white), WCAG 2.x.
double contrast_ratio(Rgb a, Rgb b);

// The colour of printed text of a tone, given the system's text and background colours of
// the window: plain is the text colour; muted lies between text and background, as near the
// background as muted_contrast allows; suggested is a dark green and too_fast a dark red (on
// a dark background, light ones), each reaching least_contrast.
// critical is a dark blue (a light one on a dark background).
Rgb tone_colour(Tone tone, Rgb text, Rgb background);

// The background of the sheet's cells the engineer cannot edit: the window's, a shade
// towards the text colour, so that every tone on it still reaches its contrast.
Rgb read_only_background(Rgb text, Rgb background);

}  // namespace kestrune
