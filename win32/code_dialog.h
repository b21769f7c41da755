// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestrune {

// A modal dialog built in code, with no resource script: a text, an optional answer box and
// a row of buttons. The input box, the messages and the start-up question are all this one
// dialog, so that they look alike and speak the program's words.
struct DialogContent {
    std::wstring title;
    std::wstring text;
    std::optional<std::wstring> answer;  // an answer box, offering this text selected
    std::vector<std::wstring> buttons;   // the last answers Esc and the close box
    std::size_t default_button = 0;      // the one Enter presses
};

struct DialogOutcome {
    std::size_t button;  // index of the button pressed
    std::wstring answer;
};

// Runs the dialog owned by owner, which stays disabled meanwhile; other windows stay as they
// are.
DialogOutcome run_dialog(HWND owner, const DialogContent& content);

// While a dialog with an answer box runs: puts text in the box, selected, and gives the
// dialog the focus back; with answer_now the dialog is answered with it by its first button.
void offer_to_dialog(const std::wstring& text, bool answer_now);

// The font of message boxes: the window default of this program.
HFONT message_font();

}  // namespace kestrune
