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

std::optional<GridKey> ctrl_letter(char letter) {
    switch (letter) {
        case 'Z':
            return GridKey::undo;
        case 'Y':
            return GridKey::redo;
        case 'C':
            return GridKey::copy;
        case 'V':
            return GridKey::paste;
        case 'E':
            return GridKey::export_workbook;
        case 'P':
            return GridKey::export_report;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<KeyPress> grid_key(const KeyStroke& stroke) {
    const auto press = [&stroke](GridKey key) {
        return KeyPress{key, stroke.shift, stroke.ctrl, {}};
    };
    switch (stroke.key) {
        case PhysicalKey::up:
            return press(stroke.alt ? GridKey::move_row_up : GridKey::up);
        case PhysicalKey::down:
            return press(stroke.alt ? GridKey::move_row_down : GridKey::down);
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
            return press(stroke.ctrl ? GridKey::delete_rows : GridKey::clear);
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
                if (auto key = ctrl_letter(stroke.letter)) {
                    return press(*key);
                }
                return std::nullopt;
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

KeyPress command_key(SheetCommand command) {
    const auto press = [](GridKey key) { return KeyPress{key, false, false, {}}; };
    switch (command) {
        case SheetCommand::undo:
            return press(GridKey::undo);
        case SheetCommand::redo:
            return press(GridKey::redo);
        case SheetCommand::move_up:
            return press(GridKey::move_row_up);
        case SheetCommand::move_down:
            return press(GridKey::move_row_down);
        case SheetCommand::delete_rows:
            return press(GridKey::delete_rows);
        case SheetCommand::set_limit:
            return press(GridKey::set_limit);
        case SheetCommand::export_excel:
            return press(GridKey::export_workbook);
        case SheetCommand::export_pdf:
            return press(GridKey::export_report);
    }
    return press(GridKey::escape);
}

}  // namespace kestrune
