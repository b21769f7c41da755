// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_keys.h"

namespace kestrune {
namespace {

// Characters a key typed that start an entry: none of them a control character.
bool types_text(const KeyStroke& stroke) {
    if (stroke.ctrl || stroke.alt || stroke.text.empty()) {
        return false;
    }
    for (char c : stroke.text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

// The command bound to a stroke's key and modifiers.
const CommandLayout* bound_command(const KeyStroke& stroke) {
    for (const CommandLayout& command : sheet_commands) {
        const KeyChord& chord = command.chord;
        if (chord.key != PhysicalKey::other && chord.key == stroke.key &&
            chord.letter == stroke.letter && chord.ctrl == stroke.ctrl && chord.alt == stroke.alt &&
            (chord.key != PhysicalKey::letter || chord.shift == stroke.shift)) {
            return &command;
        }
    }
    return nullptr;
}

std::string_view key_word(PhysicalKey key) {
    switch (key) {
        case PhysicalKey::up:
            return "Up";
        case PhysicalKey::down:
            return "Down";
        case PhysicalKey::left:
            return "Left";
        case PhysicalKey::right:
            return "Right";
        case PhysicalKey::tab:
            return "Tab";
        case PhysicalKey::enter:
            return "Enter";
        case PhysicalKey::escape:
            return "Esc";
        case PhysicalKey::f2:
            return "F2";
        case PhysicalKey::delete_key:
            return "Delete";
        case PhysicalKey::home:
            return "Home";
        case PhysicalKey::end:
            return "End";
        case PhysicalKey::space:
            return "Space";
        case PhysicalKey::letter:
        case PhysicalKey::other:
            break;
    }
    return {};
}

}  // namespace

std::string chord_name(const KeyChord& chord) {
    if (chord.key == PhysicalKey::other) {
        return {};
    }
    std::string name = chord.ctrl ? "Ctrl+" : "";
    name += chord.alt ? "Alt+" : "";
    name += chord.shift ? "Shift+" : "";
    return chord.key == PhysicalKey::letter ? name + chord.letter
                                            : name + std::string(key_word(chord.key));
}

std::string command_tip(const CommandLayout& command) {
    const std::string key = chord_name(command.chord);
    return key.empty() ? std::string(command.note) : key;
}

std::optional<KeyPress> grid_key(const KeyStroke& stroke) {
    const auto press = [&stroke](GridKey key) {
        return KeyPress{key, stroke.shift, stroke.ctrl, {}};
    };
    if (const CommandLayout* command = bound_command(stroke)) {
        return press(command->grid);
    }
    switch (stroke.key) {
        case PhysicalKey::up:
            return press(GridKey::up);
        case PhysicalKey::down:
            return press(GridKey::down);
        case PhysicalKey::left:
            return press(GridKey::left);
        case PhysicalKey::right:
            return press(GridKey::right);
        case PhysicalKey::tab:
            return press(GridKey::tab);
        case PhysicalKey::enter:
            return press(GridKey::enter);
        case PhysicalKey::escape:
            return press(GridKey::escape);
        case PhysicalKey::f2:
            return press(GridKey::edit);
        case PhysicalKey::delete_key:
            return press(GridKey::clear);
        case PhysicalKey::home:
            return press(GridKey::home);
        case PhysicalKey::end:
            return press(GridKey::end);
        case PhysicalKey::space:
            // Shift+Space selects the rows, as in a spreadsheet; a plain space starts an entry.
            if (stroke.shift && !stroke.ctrl && !stroke.alt) {
                return press(GridKey::select_rows);
            }
            break;
        case PhysicalKey::letter:
            if (stroke.ctrl && !stroke.alt) {
                return std::nullopt;  // an unbound Ctrl+letter types nothing
            }
            break;
        case PhysicalKey::other:
            break;
    }
    if (types_text(stroke)) {
        return KeyPress{GridKey::typed, false, false, stroke.text};
    }
    return std::nullopt;
}

std::optional<KeyPress> editor_key(const KeyStroke& stroke) {
    switch (stroke.key) {
        case PhysicalKey::enter:
        case PhysicalKey::tab:
        case PhysicalKey::escape:
        case PhysicalKey::up:
        case PhysicalKey::down:
            return grid_key(stroke);
        default:
            return std::nullopt;  // Home, End, Delete, the letters: the editor's own
    }
}

KeyPress command_key(SheetCommand command) {
    for (const CommandLayout& layout : sheet_commands) {
        if (layout.command == command) {
            return {layout.grid, false, false, {}};
        }
    }
    return {GridKey::escape, false, false, {}};
}

}  // namespace kestrune
