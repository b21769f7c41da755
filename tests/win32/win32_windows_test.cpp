// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 front-end with its real windows: wiring, layout, fonts, dialogs and print windows.
// What the windows decide is tested against the recording toolkit; the texts checked here
// show only that they reach the real controls.
#include "win32_windows.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "code_dialog.h"
#include "dialog_watch.h"
#include "dpi.h"
#include "expected_log.h"
#include "frmcompute.h"
#include "parameter_dialogs.h"
#include "print_colours.h"
#include "temp_folder.h"
#include "wide_text.h"
#include "win32_program.h"

namespace kestrune::testing {
namespace {

RECT client_place(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LOGFONTW font_of(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

TEST(Win32Windows, AreBuiltFromTheTableAtTheWindowsDpi) {
    Win32Program run;
    ASSERT_TRUE(run.start());
    const UINT dpi = window_dpi(run.windows.main_window());
    RECT client{};
    GetClientRect(run.windows.main_window(), &client);
    EXPECT_EQ(client.right, twips_to_pixels(10665, dpi));
    EXPECT_EQ(client.bottom, twips_to_pixels(7170, dpi));
    EXPECT_EQ(utf8_text(std::wstring(L"Kestrune：")), frmcompute_window.caption);
    wchar_t caption[64];
    GetWindowTextW(run.windows.main_window(), caption, 64);
    // The caption names the project: the working folder's, as no name was given.
    EXPECT_EQ(std::wstring(caption),
              L"Kestrune：" + std::filesystem::current_path().filename().wstring());
    const RECT text1 = client_place(run.control(ControlId::Text1));
    EXPECT_EQ(text1.left, twips_to_pixels(1560, dpi));
    EXPECT_EQ(text1.top, twips_to_pixels(1440, dpi));
    EXPECT_EQ(text1.right - text1.left, twips_to_pixels(2775, dpi));
    // A button of Frame1 stands at its place in the frame.
    const RECT set1 = client_place(run.control(ControlId::cmdset1));
    EXPECT_EQ(set1.left, twips_to_pixels(885 + 720, dpi));
    EXPECT_EQ(set1.top, twips_to_pixels(5760 + 360, dpi));
    if (dpi == 96) {
        EXPECT_EQ(client.right, 711);
        EXPECT_EQ(text1.left, 104);
    }
    EXPECT_EQ(run.shown(ControlId::Text4), "1.2");
    EXPECT_EQ(run.shown(ControlId::cmdok), control_spec(ControlId::cmdok).caption);
    EXPECT_NE(GetWindowLongPtrW(run.control(ControlId::Text2), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_FALSE(IsWindowVisible(run.results().handle()));
    EXPECT_EQ(run.log(), header_bytes());
}

TEST(Win32Windows, FontsAndTabOrderFollowTheTable) {
    Win32Program run;
    ASSERT_TRUE(run.start());
    const UINT dpi = window_dpi(run.windows.main_window());
    const LOGFONTW box = font_of(run.control(ControlId::Text1));
    EXPECT_EQ(std::wstring(box.lfFaceName), L"SimSun");
    EXPECT_EQ(box.lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(box.lfHeight, font_height(10.5, dpi));
    EXPECT_EQ(font_of(run.control(ControlId::cmdok)).lfHeight, font_height(12, dpi));
    EXPECT_EQ(
        reinterpret_cast<HFONT>(SendMessageW(run.control(ControlId::cmdset1), WM_GETFONT, 0, 0)),
        message_font());

    std::vector<HWND> order;
    HWND at = run.control(ControlId::Text1);
    for (int i = 0; i < 11; ++i) {
        order.push_back(at);
        at = GetNextDlgTabItem(run.windows.main_window(), at, FALSE);
    }
    const ControlId expected[] = {ControlId::Text1,   ControlId::Text2,   ControlId::cmdok,
                                  ControlId::Text4,   ControlId::Text3,   ControlId::Cmdexit,
                                  ControlId::cmdset1, ControlId::cmdset2, ControlId::cmdset3,
                                  ControlId::cmdset4, ControlId::cmdsheet};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(order[i], run.control(expected[i])) << i;
    }
    EXPECT_EQ(at, run.control(ControlId::Text1));  // and round again
}

TEST(Win32Windows, EveryKeystrokeAndPasteReachesTheLoadEntry) {
    Win32Program run;
    ASSERT_TRUE(run.start());
    run.type(ControlId::Text1, L"1");
    EXPECT_EQ(run.shown(ControlId::Text2), "1.2");
    EXPECT_EQ(run.shown(ControlId::Text3), "0.05");
    run.type(ControlId::Text1, L"0000");
    EXPECT_EQ(run.shown(ControlId::Text2), "12000");
    EXPECT_EQ(run.shown(ControlId::Text3), "412.71");
    // A paste is one change.
    SendMessageW(run.control(ControlId::Text4), EM_SETSEL, 0, -1);
    SendMessageW(run.control(ControlId::Text4), EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(L"1.5"));
    EXPECT_EQ(run.handlers.state().k_margin, 1.5f);
    run.type(ControlId::Text1, L"0");
    EXPECT_EQ(run.shown(ControlId::Text2), "150000");
    // Typing into an output box changes nothing.
    run.type(ControlId::Text3, L"99");
    EXPECT_EQ(run.shown(ControlId::Text3), "5158.83");
}

TEST(Win32Windows, OkListsTheTableAndAsksInTheInputBox) {
    // State: 10000 W typed. Action: 确定, answer 25. Expected: the input box's buttons, the
    // list with its preview muted while the box waits, the results at zone starts evenly
    // spaced. (What is asked, listed, shown and logged: the conformance scenarios.)
    Win32Program run;
    ASSERT_TRUE(run.start());
    run.type(ControlId::Text1, L"10000");
    DialogSeen seen;
    bool list_visible = false;
    bool muted = false;
    run.watch.answer(L"25", &seen, [&] {
        list_visible = IsWindowVisible(run.list().handle()) != FALSE;
        muted = run.list().is_muted(3, 2) && !run.list().is_muted(3, 1);
    });
    run.click(ControlId::cmdok);
    EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"确定", L"取消"}));
    EXPECT_TRUE(list_visible);
    EXPECT_TRUE(muted);
    EXPECT_FALSE(IsWindowVisible(run.list().handle()));
    EXPECT_TRUE(run.list().lines().empty());
    const auto& values = run.results().lines().at(1);
    const double zone = values.at(1).x;
    EXPECT_GT(zone, 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].x, zone * static_cast<double>(i));
    }
}

TEST(Win32Windows, EnterAndEscAnswerTheInputBox) {
    Win32Program run;
    ASSERT_TRUE(run.start());
    DialogSeen seen;
    run.watch.answer_by_key(L"90", VK_RETURN, &seen);
    run.click(ControlId::cmdset2);
    EXPECT_EQ(seen.title, wide_text(parameter_dialogs[1].title));
    EXPECT_EQ(seen.offered, L"95");
    EXPECT_EQ(run.handlers.state().dt, 20);
    run.watch.answer_by_key(L"50", VK_ESCAPE);
    run.click(ControlId::cmdset3);
    EXPECT_EQ(run.handlers.state().t_return, 70);
}

MSG key(HWND window, WPARAM which) {
    MSG message{};
    message.hwnd = window;
    message.message = WM_KEYDOWN;
    message.wParam = which;
    return message;
}

TEST(Win32Windows, EnterInTheLoadBoxAndOnAButtonPressesWhatItShould) {
    Win32Program run;
    ASSERT_TRUE(run.start());
    run.type(ControlId::Text1, L"10000");
    DialogSeen seen;
    run.watch.answer(L"25", &seen);
    EXPECT_TRUE(run.windows.take_key(key(run.control(ControlId::Text1), VK_RETURN)));
    EXPECT_EQ(seen.title, wide_text(diameter_title));
    EXPECT_EQ(run.log(), header_bytes() + worked_row);
    run.watch.press(L"取消", &seen);
    EXPECT_TRUE(run.windows.take_key(key(run.control(ControlId::cmdset2), VK_RETURN)));
    EXPECT_EQ(seen.title, wide_text(parameter_dialogs[1].title));
    // Other keys, and Enter in an output box, go on to the dialog manager.
    EXPECT_FALSE(run.windows.take_key(key(run.control(ControlId::Text1), VK_TAB)));
    EXPECT_FALSE(run.windows.take_key(key(run.control(ControlId::Text2), VK_RETURN)));
}

TEST(Win32Windows, TheListOpensBesideTheMainWindowWhereThereIsRoom) {
    Win32Program run;
    ASSERT_TRUE(run.start());
    SetWindowPos(run.windows.main_window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    run.type(ControlId::Text1, L"10000");
    RECT main{}, list{}, area{};
    run.watch.answer(L"25", nullptr, [&] { GetWindowRect(run.list().handle(), &list); });
    run.click(ControlId::cmdok);
    GetWindowRect(run.windows.main_window(), &main);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_GE(list.left, area.left);
    EXPECT_GE(list.top, area.top);
    EXPECT_LE(list.right, area.right);
    EXPECT_LE(list.bottom, area.bottom);
    if (area.right - area.left < (main.right - main.left) + (list.right - list.left) + 8) {
        GTEST_SKIP() << "no room beside the main window on this desktop";
    }
    RECT both{};
    EXPECT_FALSE(IntersectRect(&both, &main, &list));
    EXPECT_EQ(list.left, main.right + 8);
    EXPECT_EQ(list.top, main.top);
}

TEST(Win32Windows, EnterAndEscGiveTheSafeAnswerOfAQuestion) {
    Win32Program run;
    run.watch.press_key(VK_RETURN);
    EXPECT_EQ(run.windows.ask_choice("问题", {"清空结果文件", "保留并退出"}, 1), 1u);
    run.watch.press_key(VK_ESCAPE);
    EXPECT_EQ(run.windows.ask_choice("问题", {"甲", "乙", "丙"}, 0), 2u);
    run.watch.press_key(VK_RETURN);
    EXPECT_EQ(run.windows.ask_choice("问题", {"甲", "乙", "丙"}, 0), 0u);
}

TEST(Win32Windows, AClickOnTheListFillsTheBoxWhichKeepsTheFocus) {
    // State: the DN input box waits. Action: a click on the row of DN 24, then a double-click
    // on the row of DN 26. Expected: 24 in the box, selected, the focus in the box; then the
    // box answered with 26 (the watch's later 确定 changes nothing).
    Win32Program run;
    ASSERT_TRUE(run.start());
    run.type(ControlId::Text1, L"10000");
    std::wstring after_click;
    bool box_has_focus = false;
    DWORD from = 1, to = 0;
    run.watch.answer(L"15", nullptr, [&] {
        const int height = run.list().line_height();
        HWND list = run.list().handle();
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, height * 2 + height / 2));
        HWND box = GetFocus();
        box_has_focus = box != nullptr && GetParent(box) != list && GetParent(box) != nullptr &&
                        GetWindow(GetParent(box), GW_OWNER) == run.windows.main_window();
        wchar_t text[16]{};
        GetWindowTextW(box, text, 16);
        after_click = text;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, height * 4 + height / 2));
    });
    run.click(ControlId::cmdok);
    EXPECT_EQ(after_click, L"24");
    EXPECT_TRUE(box_has_focus);
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 2u);
    EXPECT_EQ(run.handlers.state().dn, 26);
}

TEST(Win32Windows, ThePreviewIsDrawnInReadableTones) {
    Win32Program run;
    ASSERT_TRUE(run.start());
    run.type(ControlId::Text1, L"10000");
    std::vector<COLORREF> preview, marks;
    run.watch.answer(L"25", nullptr, [&] {
        const PrintWindow& list = run.list();
        for (std::size_t line = 1; line < list.lines().size(); ++line) {
            const std::size_t last = list.lines()[line].size() - 1;
            if (list.tone(line, last) == Tone::suggested) {
                marks.push_back(list.colour(line, last));
            }
            if (list.lines()[line].size() > 2) {
                preview.push_back(list.colour(line, 2));
            }
        }
    });
    run.click(ControlId::cmdok);
    const auto rgb = [](COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; };
    const Rgb ground = rgb(GetSysColor(COLOR_BTNFACE));
    ASSERT_FALSE(preview.empty());
    ASSERT_EQ(marks.size(), 1u);
    for (COLORREF c : preview) {
        EXPECT_GE(contrast_ratio(rgb(c), ground), least_contrast);
    }
    EXPECT_GE(contrast_ratio(rgb(marks.front()), ground), least_contrast);
    EXPECT_NE(marks.front(), preview.front());
}

TEST(Win32Windows, F1AndTheSystemMenuShowTheHelp) {
    Win32Program run;
    ASSERT_TRUE(run.start());
    run.size_worked_example();
    DialogSeen from_key, from_menu;
    run.watch.press(L"确定", &from_key);
    MSG f1{run.results().handle(), WM_KEYDOWN, VK_F1, 0, 0, {}};
    EXPECT_TRUE(run.windows.take_key(f1));
    EXPECT_EQ(from_key.text.rfind(L"Kestrune ", 0), 0u);

    HMENU menu = GetSystemMenu(run.windows.main_window(), FALSE);
    const int items = GetMenuItemCount(menu);
    wchar_t caption[64]{};
    GetMenuStringW(menu, static_cast<UINT>(items - 1), caption, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(caption), L"关于 Kestrune…");
    run.watch.press(L"确定", &from_menu);
    SendMessageW(run.windows.main_window(), WM_SYSCOMMAND, GetMenuItemID(menu, items - 1), 0);
    EXPECT_EQ(from_menu.text, from_key.text);

    // The sheet's window has help of its own.
    run.click(ControlId::cmdsheet);
    DialogSeen from_sheet;
    run.watch.press(L"确定", &from_sheet);
    MSG in_sheet{run.windows.sheet_window()->list(), WM_KEYDOWN, VK_F1, 0, 0, {}};
    EXPECT_TRUE(run.windows.take_key(in_sheet));
    EXPECT_EQ(from_sheet.text.rfind(L"计算表：", 0), 0u);
}

TEST(Win32Windows, ASecondProgramReachesTheFirstByItsToken) {
    Win32Windows first;
    Win32Windows second;
    EXPECT_TRUE(second.bring_to_front(first.window_token()));
    EXPECT_FALSE(second.bring_to_front("12"));
    EXPECT_FALSE(second.bring_to_front("not a window"));
}

}  // namespace
}  // namespace kestrune::testing
