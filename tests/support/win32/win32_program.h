// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "dialog_watch.h"
#include "expected_log.h"
#include "frmcompute.h"
#include "print_window.h"
#include "sheet_export.h"
#include "sheet_window.h"
#include "temp_folder.h"
#include "wide_text.h"
#include "win32_windows.h"

namespace kestrune::testing {

// The keys held down, as GetKeyState reads them, while a message is sent.
class HeldKeys {
  public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        BYTE state[256]{};
        for (int key : keys) {
            state[key] = 0x80;
        }
        SetKeyboardState(state);
    }
    ~HeldKeys() {
        BYTE none[256]{};
        SetKeyboardState(none);
    }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
};

// The program as app/main_win32.cpp puts it together, in a fresh working folder with the
// table; every dialog goes through the watch.
class Win32Program {
  public:
    Win32Program() {
        write_pipe_table(worked_dn, worked_d);
        windows.connect_to(handlers);
    }
    ~Win32Program() {
        EXPECT_TRUE(watch.unexpected().empty()) << utf8_text(watch.unexpected().front());
        EXPECT_EQ(watch.still_expected(), 0u);
        // The end of the program leaves a quit message; the next test must not see it.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    bool start() {
        const bool started = handlers.start();
        if (started) {
            windows.show_main();
        }
        return started;
    }
    HWND control(ControlId id) const { return windows.control(id); }
    // Typed key by key, as the keyboard does.
    void type(ControlId box, const wchar_t* keys) {
        for (const wchar_t* k = keys; *k != 0; ++k) {
            SendMessageW(control(box), WM_CHAR, *k, 1);
        }
    }
    void click(ControlId button) { SendMessageW(control(button), BM_CLICK, 0, 0); }
    // The worked example: 10000 W typed, then DN 25 answered in the input box.
    void size_worked_example() {
        type(ControlId::Text1, L"10000");
        watch.answer(L"25");
        click(ControlId::cmdok);
    }
    std::string shown(ControlId id) const { return windows.text(id); }
    PrintWindow& list() const { return windows.print_window(PrintWindowId::frmchoose); }
    PrintWindow& results() const { return windows.print_window(PrintWindowId::frmdisplay); }
    std::string printed(const PrintWindow& window, std::size_t line) const {
        std::string joined;
        for (const PlacedText& item : window.lines().at(line)) {
            joined += (joined.empty() ? "" : "|") + item.text;
        }
        return joined;
    }
    std::string log() const { return read_bytes("outdata.txt"); }
    // A cell of the sheet as its list view shows it; column: an index into sheet_columns.
    std::string sheet_cell(std::size_t row, std::size_t column) const {
        wchar_t text[64]{};
        LVITEMW item{};
        item.iSubItem = static_cast<int>(column) + 1;  // after the rows' numbers
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(windows.sheet_window()->list(), LVM_GETITEMTEXTW, row,
                     reinterpret_cast<LPARAM>(&item));
        return utf8_text(text);
    }
    static std::string window_text(HWND window) {
        wchar_t text[256]{};
        GetWindowTextW(window, text, 256);
        return utf8_text(text);
    }

    TempWorkingFolder folder;
    DialogWatch watch;
    Win32Windows windows;
    frmcompute handlers{windows, {}, sheet_exports()};
};

}  // namespace kestrune::testing
