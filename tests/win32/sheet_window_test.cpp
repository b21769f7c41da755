// SPDX-License-Identifier: GPL-3.0-or-later
// What Win32 does for the calculation sheet's window: it opens from the button and from
// Ctrl+T, keys reach the list view, the in-place edit control commits and cancels, the
// clipboard holds the copied text, and the window fits in the work area. What each key
// means is decided and tested once, without a toolkit.
#include <gtest/gtest.h>

#include "win32_program.h"
// After windows.h, which it needs.
#include <commctrl.h>

#include <initializer_list>

namespace kestrune::testing {
namespace {

constexpr int length = 3, dn = 4;
constexpr int row_number_column = 1;

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
};

struct SheetProgram : Win32Program {
    SheetWindow* open() {
        if (!start()) {
            return nullptr;
        }
        size_worked_example();
        click(ControlId::cmdsheet);
        return windows.sheet_window();
    }
    void key(HWND to, WPARAM key) { SendMessageW(to, WM_KEYDOWN, key, 1); }
    void type(HWND to, const wchar_t* keys) {
        for (const wchar_t* k = keys; *k != 0; ++k) {
            SendMessageW(to, WM_CHAR, *k, 1);
        }
    }
    // A cell as the list view shows it.
    std::wstring shown_cell(int row, int column) {
        wchar_t text[64]{};
        LVITEMW item{};
        item.iSubItem = column + row_number_column;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(windows.sheet_window()->list(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }
};

std::wstring caption(HWND window) {
    wchar_t text[64]{};
    GetWindowTextW(window, text, 64);
    return text;
}

TEST(SheetWindow, OpensFromTheButtonAndFromCtrlTAndFitsTheWorkArea) {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(IsWindowVisible(sheet->handle()));
    EXPECT_EQ(caption(sheet->handle()), L"计算表");
    EXPECT_EQ(run.shown_cell(0, dn), L"25");
    RECT frame{};
    GetWindowRect(sheet->handle(), &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(sheet->handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT inside{};
    IntersectRect(&inside, &frame, &monitor.rcWork);
    EXPECT_TRUE(EqualRect(&inside, &frame));
    SendMessageW(sheet->handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(sheet->handle()));
    {
        HeldKeys ctrl{VK_CONTROL};
        MSG message{run.control(ControlId::Text1), WM_KEYDOWN, 'T', 1, 0, {}};
        EXPECT_TRUE(run.windows.take_key(message));
    }
    EXPECT_TRUE(IsWindowVisible(sheet->handle()));
}

TEST(SheetWindow, KeysReachTheGridAndTheEditorCommitsAndCancels) {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    run.type(sheet->list(), L"12.5");
    EXPECT_TRUE(IsWindowVisible(sheet->editor()));
    EXPECT_EQ(caption(sheet->editor()), L"12.5");
    run.key(sheet->editor(), VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(sheet->editor()));
    EXPECT_EQ(run.shown_cell(0, length), L"12.5");
    run.type(sheet->list(), L"-1");
    run.key(sheet->editor(), VK_TAB);
    // Refused: the edit control stays with the text, the reason on the message line.
    EXPECT_TRUE(IsWindowVisible(sheet->editor()));
    EXPECT_EQ(caption(sheet->editor()), L"-1");
    EXPECT_FALSE(caption(sheet->message()).empty());
    run.key(sheet->editor(), VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(sheet->editor()));
    EXPECT_EQ(run.shown_cell(0, length), L"12.5");
    run.key(sheet->list(), VK_TAB);
    EXPECT_EQ(run.handlers.grid().current().column, static_cast<std::size_t>(dn));
    // A row gone before the list has heard of it (a message told meanwhile) draws empty.
    run.handlers.sheet().remove_rows({0});
    EXPECT_EQ(run.shown_cell(0, dn), L"");
}

TEST(SheetWindow, ASizingMeanwhileKeepsTheEntryAndLeavesTheFocusWhereItIs) {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    run.type(sheet->list(), L"7");
    run.type(sheet->editor(), L"5");  // typed into the edit control itself
    EXPECT_EQ(run.handlers.grid().edit_text(), "75");
    SetActiveWindow(run.windows.main_window());
    SetFocus(run.control(ControlId::Text1));
    SetWindowTextW(run.control(ControlId::Text1), L"");
    run.size_worked_example();
    EXPECT_EQ(run.handlers.sheet().rows(), 2u);
    EXPECT_EQ(caption(sheet->editor()), L"75");
    EXPECT_NE(GetFocus(), sheet->editor());
}

TEST(SheetWindow, CopyingPutsTheCellsOnTheClipboard) {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    {
        HeldKeys shift{VK_SHIFT};
        run.key(sheet->list(), VK_RIGHT);
    }
    {
        HeldKeys ctrl{VK_CONTROL};
        run.key(sheet->list(), 'C');
    }
    EXPECT_EQ(run.windows.clipboard_text(), "0\t25\r\n");
    run.windows.set_clipboard("7.5");
    run.key(sheet->list(), VK_LEFT);
    {
        HeldKeys ctrl{VK_CONTROL};
        run.key(sheet->list(), 'V');
    }
    EXPECT_EQ(run.shown_cell(0, length), L"7.5");
}

}  // namespace
}  // namespace kestrune::testing
