// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a key on the sheet's grid means. Each front-end names the key the engineer pressed
// (and the characters it typed); the meaning is decided here for both.

#include <optional>
#include <span>
#include <string>

#include "sheet_grid.h"
#include "sheet_layout.h"

namespace kestrune {

enum class PhysicalKey {
    up,
    down,
    left,
    right,
    tab,
    enter,
    escape,
    f2,
    delete_key,
    home,
    end,
    space,
    letter,  // with ctrl_letter
    other,   // a key that only types: its characters in text
};

struct KeyStroke {
    PhysicalKey key = PhysicalKey::other;
    char letter = 0;  // 'A' to 'Z', for PhysicalKey::letter
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    std::string text;  // the characters the key typed, UTF-8; empty when none
};

// One toolkit's codes for the keys the grid knows by name. A key may have several codes
// (Return and Enter); its first is the one a test presses.
template <class Code>
struct NamedKey {
    Code code;
    PhysicalKey key;
};

template <class Code>
std::optional<PhysicalKey> key_named(std::span<const NamedKey<Code>> keys, Code code) {
    for (const NamedKey<Code>& named : keys) {
        if (named.code == code) {
            return named.key;
        }
    }
    return std::nullopt;
}

template <class Code>
std::optional<Code> code_of(std::span<const NamedKey<Code>> keys, PhysicalKey key) {
    for (const NamedKey<Code>& named : keys) {
        if (named.key == key) {
            return named.code;
        }
    }
    return std::nullopt;
}

// The grid's key for a stroke; nullopt when the grid has no use for it (the toolkit may).
std::optional<KeyPress> grid_key(const KeyStroke& stroke);

// The key of a command of the sheet window's buttons.
KeyPress command_key(SheetCommand command);

}  // namespace kestrune
