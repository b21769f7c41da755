// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_colours.h"

#include <algorithm>
#include <cmath>

namespace kestrune {
namespace {

double channel(std::uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Rgb colour) {
    return 0.2126 * channel(colour.r) + 0.7152 * channel(colour.g) + 0.0722 * channel(colour.b);
}

Rgb mix(Rgb from, Rgb to, double share_of_to) {
    const auto part = [share_of_to](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * share_of_to));
    };
    return {part(from.r, to.r), part(from.g, to.g), part(from.b, to.b)};
}

// The colour, taken towards the text colour in steps until it reaches the contrast.
Rgb readable(Rgb colour, Rgb text, Rgb background) {
    for (int step = 0; step <= 20 && contrast_ratio(colour, background) < least_contrast; ++step) {
        colour = mix(colour, text, 0.1);
    }
    return contrast_ratio(colour, background) < least_contrast ? text : colour;
}

}  // namespace

double contrast_ratio(Rgb a, Rgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb tone_colour(Tone tone, Rgb text, Rgb background) {
    const bool dark_ground = luminance(background) < 0.2;
    switch (tone) {
        case Tone::plain:
            return text;
        case Tone::muted: {
            // As far towards the background as the contrast allows: set apart, still legible.
            Rgb best = text;
            for (int share = 1; share <= 19; ++share) {
                const Rgb candidate = mix(text, background, share / 20.0);
                if (contrast_ratio(candidate, background) < muted_contrast) {
                    break;
                }
                best = candidate;
            }
            return best;
        }
        case Tone::suggested:
            return readable(dark_ground ? Rgb{0x81, 0xC7, 0x84} : Rgb{0x1B, 0x6E, 0x20}, text,
                            background);
        case Tone::too_fast:
            return readable(dark_ground ? Rgb{0xFF, 0x8A, 0x80} : Rgb{0xB0, 0x00, 0x20}, text,
                            background);
        case Tone::critical:
            return readable(dark_ground ? Rgb{0x90, 0xCA, 0xF9} : Rgb{0x0D, 0x47, 0xA1}, text,
                            background);
    }
    return text;
}

Rgb read_only_background(Rgb text, Rgb background) {
    return mix(background, text, 0.06);
}

}  // namespace kestrune
