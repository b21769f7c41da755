// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace kestrune {

// Registers a window class of the program once: button-face background, arrow cursor, and the
// default procedure, which each window replaces with its own once it is made.
void register_window_class(const wchar_t* name, UINT style);

// A window's messages, given to a member of the object that owns it; found through the
// window's user data, so messages sent before it is attached go to the default procedure.
template <class Owner, LRESULT (Owner::*handle)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK forwarded(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return owner == nullptr ? DefWindowProcW(window, message, w, l)
                            : (owner->*handle)(message, w, l);
}

// Attaches a window (or a control to subclass) to its owner: its messages go to handle from
// now on. Gives the procedure it had, for what handle leaves to it.
template <class Owner, LRESULT (Owner::*handle)(UINT, WPARAM, LPARAM)>
WNDPROC attach_window(HWND window, Owner* owner) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&forwarded<Owner, handle>)));
}

// Moves a window so that it stands centred over around: its owner, or the work area of the
// screen when around is empty.
void centre_window(HWND window, RECT around = {});

// The colours of a problem line (a static control) for WM_CTLCOLORSTATIC: the warning colour
// on the button-face ground; gives the brush to return.
LRESULT problem_line_colours(HDC dc);

}  // namespace kestrune
