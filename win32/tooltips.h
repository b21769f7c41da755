// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string_view>

namespace kestrune {

// A tooltip control for the controls of a window.
HWND make_tooltips(HWND owner);

// A control's tip, added to the tooltip control, or its text changed where it has one.
// relayed: the control passes on its mouse messages itself (TTM_RELAYEVENT), as one whose
// tip depends on the point does, instead of being subclassed for them.
void set_control_tip(HWND tips, HWND owner, HWND control, std::string_view tip, bool added,
                     bool relayed = false);

}  // namespace kestrune
