// SPDX-License-Identifier: GPL-3.0-or-later
#include "frozen_column.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "window_class.h"

namespace kestrune {
namespace {

constexpr wchar_t class_name[] = L"KestruneFrozenColumn";

int column_width(HWND list, int column) {
    return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
}

void fill(HDC dc, const RECT& box, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
}

}  // namespace

FrozenColumn::FrozenColumn(HWND list, HFONT font,
                           std::function<Cell(std::size_t row, int column)> cell,
                           std::function<void(std::size_t row, int column, bool twice)> click)
    : list_(list), font_(font), cell_(std::move(cell)), click_(std::move(click)) {
    register_window_class(class_name, CS_DBLCLKS);
    window_ = CreateWindowExW(0, class_name, nullptr, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 10, 10,
                              list_, nullptr, GetModuleHandleW(nullptr), nullptr);
    attach_window<FrozenColumn, &FrozenColumn::handle_message>(window_, this);
    // The list's header must not paint over it.
    HWND header = ListView_GetHeader(list_);
    SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) | WS_CLIPSIBLINGS);
}

int FrozenColumn::width() const {
    return column_width(list_, 0) + column_width(list_, 1);
}

void FrozenColumn::follow() {
    SCROLLINFO scrolled{};
    scrolled.cbSize = sizeof scrolled;
    scrolled.fMask = SIF_POS;
    const bool sideways = GetScrollInfo(list_, SB_HORZ, &scrolled) && scrolled.nPos > 0;
    RECT client{};
    GetClientRect(list_, &client);
    SetWindowPos(window_, HWND_TOP, 0, 0, width(), client.bottom,
                 SWP_NOACTIVATE | (sideways ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (sideways) {
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void FrozenColumn::paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    // The header's first two items, as it draws them: it starts at the list's left edge
    // less the scrolled amount, its items at its own coordinates.
    HWND header = ListView_GetHeader(list_);
    RECT header_box{};
    GetClientRect(header, &header_box);
    SendMessageW(header, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    HGDIOBJ old_font = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int pad = metrics.tmAveCharWidth / 2 + 1;
    const int numbers = column_width(list_, 0);
    const int edges[] = {0, numbers, numbers + column_width(list_, 1)};
    const COLORREF lines = GetSysColor(COLOR_BTNFACE);
    int bottom = header_box.bottom;
    const auto rows = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    const auto top = static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
    const auto page = static_cast<int>(SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    for (int row = top; row < rows && row <= top + page; ++row) {
        RECT item{};
        item.left = LVIR_BOUNDS;
        if (SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)) == 0) {
            break;
        }
        for (int column = 0; column < 2; ++column) {
            const Cell cell = cell_(static_cast<std::size_t>(row), column);
            // As a list with grid lines draws it: a line under and right of each cell.
            RECT box{edges[column], item.top, edges[column + 1] - 1, item.bottom - 1};
            fill(dc, {box.left, box.bottom, box.right + 1, item.bottom}, lines);
            fill(dc, {box.right, box.top, box.right + 1, box.bottom}, lines);
            fill(dc, box, cell.ground);
            SetTextColor(dc, cell.text_colour);
            SetBkMode(dc, TRANSPARENT);
            RECT text{box.left + pad, box.top, box.right - pad, box.bottom};
            DrawTextW(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &text,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
            SetBkMode(dc, OPAQUE);
        }
        bottom = std::max(bottom, static_cast<int>(item.bottom));
    }
    fill(dc, {0, bottom, client.right, client.bottom}, GetSysColor(COLOR_WINDOW));
    // Where the scrolled columns pass under it.
    fill(dc, {client.right - 1, 0, client.right, client.bottom}, GetSysColor(COLOR_BTNSHADOW));
    SelectObject(dc, old_font);
}

LRESULT FrozenColumn::handle_message(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window_, &ps);
            paint(dc);
            EndPaint(window_, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // painted whole
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // The row the list has at that height, whatever column it has there now.
            LVHITTESTINFO hit{};
            hit.pt = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
            SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.iItem >= 0) {
                click_(static_cast<std::size_t>(hit.iItem),
                       hit.pt.x < column_width(list_, 0) ? 0 : 1, message == WM_LBUTTONDBLCLK);
            }
            return 0;
        }
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            return SendMessageW(list_, message, w, l);
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

}  // namespace kestrune
