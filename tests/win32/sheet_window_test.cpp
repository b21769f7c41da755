// SPDX-License-Identifier: GPL-3.0-or-later
// What only Win32 does for the calculation sheet's window: it opens from the button and from
// Ctrl+T and fits in the work area, and a sizing meanwhile leaves the edit control and the
// focus alone. Entries, refusals and the clipboard: the conformance scenarios.
#include <gtest/gtest.h>

#include <filesystem>

#include "column_widths.h"
#include "dpi.h"
#include "file_error.h"
#include "fitting_drive.h"
#include "network_sheet.h"
#include "sheet_file.h"
#include "sheet_layout.h"
#include "wide_text.h"
#include "win32_program.h"
#include "worked_sheet.h"

namespace kestrune::testing {
namespace {

struct SheetProgram : Win32Program {
    SheetWindow* open() {
        if (!start()) {
            return nullptr;
        }
        size_worked_example();
        click(ControlId::cmdsheet);
        return windows.sheet_window();
    }
    void type(HWND to, const wchar_t* keys) {
        for (const wchar_t* k = keys; *k != 0; ++k) {
            SendMessageW(to, WM_CHAR, *k, 1);
        }
    }
    // From the opened sheet's 管长 L along to its Σξ.
    void tab_to_xi(SheetWindow* sheet) {
        for (std::size_t c = column_index(SheetColumn::length); c < column_index(SheetColumn::xi);
             ++c) {
            SendMessageW(sheet->list(), WM_KEYDOWN, VK_TAB, 1);
        }
    }
};

TEST(SheetWindow, OpensFromTheButtonAndFromCtrlTAndFitsTheWorkArea) {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(IsWindowVisible(sheet->handle()));
    EXPECT_EQ(
        run.window_text(sheet->handle()),
        project_title(frmsheet_window, path_text(std::filesystem::current_path().filename())));
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

TEST(SheetWindow, TheSketchStandsBesideTheListAndAClickOnASegmentSelectsItsRow) {
    SheetProgram run;
    SheetData data = small_system();
    settle_network(data);
    choose_pipes(data, example_pipes(), shipped_fittings());
    ASSERT_FALSE(save_sheet(sheet_file_name, data));
    ASSERT_TRUE(run.start());
    run.click(ControlId::cmdsheet);
    SheetWindow* sheet = run.windows.sheet_window();
    ASSERT_NE(sheet, nullptr);
    const SketchView& sketch = sheet->sketch();
    EXPECT_TRUE(IsWindowVisible(sketch.handle()));
    // No column given up for it: under the list in a window without room beside it, beside
    // it in one with room.
    RECT list{}, drawn{};
    SetWindowPos(sheet->handle(), nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(sheet->list(), &list);
    GetWindowRect(sketch.handle(), &drawn);
    EXPECT_GT(drawn.top, list.bottom);
    SetWindowPos(sheet->handle(), nullptr, 0, 0, 1900, 700, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(sheet->list(), &list);
    GetWindowRect(sketch.handle(), &drawn);
    EXPECT_GT(drawn.left, list.right);
    const std::size_t column = run.handlers.grid().current().column;
    // Found first: the click draws the sketch anew.
    POINT a{}, b{};
    for (const SketchLine& line : sketch.sketch().lines) {
        if (line.row == 4 && !line.joint) {
            a = sketch.at(line.points[0]);
            b = sketch.at(line.points[1]);
        }
    }
    SendMessageW(sketch.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((a.x + b.x) / 2, a.y));
    EXPECT_EQ(run.handlers.grid().current().row, 4u);
    EXPECT_EQ(run.handlers.grid().current().column, column);
}

// The window's client area set to width × height pixels.
void resize_client(HWND window, int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE, 0);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

// A cell's place in the list's client area (column: the sheet's; the list's own first column
// numbers the rows).
RECT cell_box(HWND list, int row, std::size_t column) {
    RECT cell{};
    cell.top = static_cast<LONG>(column) + 1;
    cell.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&cell));
    return cell;
}

TEST(SheetWindow, EveryColumnShowsAt1366PixelsAndTheSegmentStaysWhileTheListScrollsSideways) {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    HWND list = sheet->list();
    HWND frozen = sheet->frozen().handle();
    // The titles on two lines: the header is two lines high.
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    RECT header{};
    GetClientRect(ListView_GetHeader(list), &header);
    EXPECT_GE(header.bottom, 2 * metrics.tmHeight);
    // A 1366 px screen at 100 %, less the window's frame: the last column ends inside the list.
    resize_client(sheet->handle(), 1366 - 2 * 8, 650);
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_LE(cell_box(list, 0, sheet_columns.size() - 1).right, client.right);
    EXPECT_FALSE(IsWindowVisible(frozen));
    // About 900 px, as 150 % leaves: End goes to 备注, the list scrolls, and the row numbers and
    // 管段号 stay at its left edge.
    resize_client(sheet->handle(), 900, 500);
    SendMessageW(list, WM_KEYDOWN, VK_END, 1);
    EXPECT_EQ(run.handlers.grid().current().column, sheet_columns.size() - 1);
    EXPECT_LT(cell_box(list, 0, 0).left, 0);
    EXPECT_TRUE(IsWindowVisible(frozen));
    RECT strip{};
    GetWindowRect(frozen, &strip);
    MapWindowPoints(HWND_DESKTOP, list, reinterpret_cast<POINT*>(&strip), 2);
    EXPECT_EQ(strip.left, 0);
    EXPECT_EQ(strip.right, sheet->frozen().width());
    // Left to 上游: brought out from under the frozen column, not left beneath it.
    for (std::size_t c = sheet_columns.size() - 1; c > 1; --c) {
        SendMessageW(list, WM_KEYDOWN, VK_LEFT, 1);
    }
    EXPECT_EQ(run.handlers.grid().current().column, 1u);
    EXPECT_GE(cell_box(list, 0, 1).left, sheet->frozen().width());
    // A click on the frozen 管段号 is a click on the row's 管段号.
    SendMessageW(list, WM_KEYDOWN, VK_END, 1);
    const RECT row = cell_box(list, 0, 1);
    SendMessageW(frozen, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(sheet->frozen().width() - 4, (row.top + row.bottom) / 2));
    EXPECT_EQ(run.handlers.grid().current().column, 0u);
    EXPECT_EQ(cell_box(list, 0, 0).left,
              static_cast<LONG>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0)));
    EXPECT_FALSE(IsWindowVisible(frozen));
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
    EXPECT_EQ(run.window_text(sheet->editor()), "75");
    EXPECT_NE(GetFocus(), sheet->editor());
}

TEST(SheetWindow, F2OnALongEntryShowsItsEndWhereTheCaretStands) {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    run.tab_to_xi(sheet);
    std::wstring entry;
    for (int part = 0; part < 30; ++part) {
        entry += part == 0 ? L"0.5" : L" + 0.5";
    }
    run.type(sheet->list(), entry.c_str());
    SendMessageW(sheet->editor(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessageW(sheet->list(), WM_KEYDOWN, VK_UP, 1);
    SendMessageW(sheet->list(), WM_KEYDOWN, VK_F2, 1);
    ASSERT_TRUE(IsWindowVisible(sheet->editor()));
    EXPECT_EQ(run.window_text(sheet->editor()), utf8_text(entry));
    RECT client{};
    GetClientRect(sheet->editor(), &client);
    const auto x_of = [&](std::size_t at) {
        return static_cast<short>(
            LOWORD(SendMessageW(sheet->editor(), EM_POSFROMCHAR, static_cast<WPARAM>(at), 0)));
    };
    const short last = x_of(entry.size() - 1);
    EXPECT_GE(last, 0);
    EXPECT_LT(last, client.right);
}

TEST(SheetWindow, AShortCodeOffersItsFittingsUnderTheCellAndAClickOrEnterTakesOne) {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    run.tab_to_xi(sheet);
    run.type(sheet->list(), L"2");
    run.type(sheet->editor(), L"w");
    HWND offers = sheet->offers();
    ASSERT_TRUE(IsWindowVisible(offers));
    ASSERT_EQ(SendMessageW(offers, LB_GETCOUNT, 0, 0), 1);
    wchar_t label[64] = {};
    SendMessageW(offers, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(std::wstring(label).rfind(L"90°煨弯  ξ ", 0), 0u);
    RECT list_box{}, cell{};
    GetWindowRect(offers, &list_box);
    GetWindowRect(sheet->editor(), &cell);
    EXPECT_GE(list_box.top, cell.bottom - 1);
    // A click takes the highlighted fitting; the entry stays open for the next one.
    RECT item{};
    SendMessageW(offers, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(offers, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(offers, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(run.window_text(sheet->editor()), "2×90°煨弯");
    EXPECT_FALSE(IsWindowVisible(offers));
    EXPECT_EQ(GetFocus(), sheet->editor());
    run.type(sheet->editor(), L"+j");
    EXPECT_TRUE(IsWindowVisible(offers));
    SendMessageW(sheet->editor(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(IsWindowVisible(offers));
    EXPECT_EQ(run.handlers.sheet().edit_text(0, SheetColumn::xi), "2×90°煨弯+截止阀");
}

TEST(SheetWindow, FourteenRowsOfFittingsAreTypedByShortCodeInUnderAHundredKeys) {
    SheetProgram run;
    ASSERT_FALSE(save_sheet(sheet_file_name, worked_sheet(fourteen_rows.size() - 3).data()));
    ASSERT_TRUE(run.start());
    run.click(ControlId::cmdsheet);
    SheetWindow* sheet = run.windows.sheet_window();
    ASSERT_NE(sheet, nullptr);
    // Each key to the control that has it: the list view, or the editor once an entry is open.
    const auto to = [sheet] {
        return IsWindowVisible(sheet->editor()) ? sheet->editor() : sheet->list();
    };
    std::size_t pressed = 1;
    {
        HeldKeys ctrl{VK_CONTROL};
        SendMessageW(to(), WM_KEYDOWN, VK_HOME, 1);
    }
    for (std::size_t c = 0; c < column_index(SheetColumn::xi); ++c, ++pressed) {
        SendMessageW(to(), WM_KEYDOWN, VK_RIGHT, 1);
    }
    for (const DrivenXi& row : fourteen_rows) {
        for (const char* c = row.keys; *c != '\0'; ++c) {
            SendMessageW(to(), WM_CHAR, static_cast<WPARAM>(*c), 1);
        }
        SendMessageW(to(), WM_KEYDOWN, VK_RETURN, 1);
        pressed += keys_for(row);
    }
    for (std::size_t r = 0; r < fourteen_rows.size(); ++r) {
        EXPECT_EQ(run.handlers.sheet().edit_text(r, SheetColumn::xi), fourteen_rows[r].kept) << r;
        EXPECT_EQ(run.handlers.sheet().cell(r, SheetColumn::xi), fourteen_rows[r].xi) << r;
    }
    EXPECT_LT(pressed, 100u);
}

TEST(SheetWindow, ColumnWidthsDraggedAreKeptAndTheNextWindowOpensWithThem) {
    SheetProgram run;
    std::vector<int> twips(sheet_columns.size(), 1500);
    twips[0] = 3000;
    keep_column_widths(".", twips);
    SheetWindow* sheet = run.open();
    ASSERT_NE(sheet, nullptr);
    const UINT dpi = window_dpi(sheet->handle());
    EXPECT_EQ(SendMessageW(sheet->list(), LVM_GETCOLUMNWIDTH, 1, 0), twips_to_pixels(3000, dpi));
    // The header's word that a drag of 上游 (after the row numbers) ended at 150 pixels.
    HWND header = reinterpret_cast<HWND>(SendMessageW(sheet->list(), LVM_GETHEADER, 0, 0));
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = 150;
    NMHEADERW ended{{header, 0, HDN_ENDTRACKW}, 2, 0, &item};
    SendMessageW(sheet->list(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ended));
    EXPECT_EQ(kept_column_widths(".")[1], pixels_to_twips(150, dpi));
    // The others as they stand, through pixels.
    EXPECT_EQ(kept_column_widths(".")[0], pixels_to_twips(twips_to_pixels(3000, dpi), dpi));
}

TEST(SheetWindow, CtrlNInEitherWindowMakesAProjectAndBothTitlesFollow) {
    SheetProgram run;
    // The program in a project folder of its own, so that new ones are made beside it here.
    const std::filesystem::path first = run.folder.path() / L"一号楼";
    std::filesystem::create_directory(first);
    std::filesystem::copy_file("indata1.txt", first / "indata1.txt");
    std::filesystem::copy_file("indata2.txt", first / "indata2.txt");
    std::filesystem::current_path(first);
    ASSERT_TRUE(run.start());
    run.click(ControlId::cmdsheet);
    SheetWindow* sheet = run.windows.sheet_window();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(run.window_text(sheet->handle()), "计算表：一号楼");
    run.watch.answer(L"二号楼");
    {
        HeldKeys ctrl{VK_CONTROL};
        MSG message{run.control(ControlId::Text1), WM_KEYDOWN, 'N', 1, 0, {}};
        EXPECT_TRUE(run.windows.take_key(message));
    }
    EXPECT_EQ(run.window_text(run.windows.main_window()), "Kestrune：二号楼");
    EXPECT_EQ(run.window_text(sheet->handle()), "计算表：二号楼");
    run.watch.answer(L"三号楼");
    {
        HeldKeys ctrl{VK_CONTROL};
        SendMessageW(sheet->list(), WM_KEYDOWN, 'N', 1);
    }
    EXPECT_EQ(run.window_text(sheet->handle()), "计算表：三号楼");
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(),
                                            run.folder.path() / L"三号楼"));
    EXPECT_TRUE(run.watch.unexpected().empty());
}

}  // namespace
}  // namespace kestrune::testing
