// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_window.h"

#include <windowsx.h>

#include "code_dialog.h"
#include "controls.h"
#include "dpi.h"
#include "print_colours.h"
#include "wide_text.h"
#include "window_class.h"

namespace kestrune {
namespace {

constexpr wchar_t class_name[] = L"KestrunePrintWindow";

}  // namespace

PrintWindow::PrintWindow(HWND owner, const WindowSpec& layout) : placement_(layout.placement) {
    register_window_class(class_name, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const UINT dpi = window_dpi(owner);
    RECT frame{0, 0, twips_to_pixels(layout.width, dpi), twips_to_pixels(layout.height, dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_ =
        CreateWindowExW(0, class_name, wide_text(layout.caption).c_str(), style, CW_USEDEFAULT,
                        CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    attach_window<PrintWindow, &PrintWindow::handle>(window_, this);
}

PrintWindow::~PrintWindow() {
    if (IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void PrintWindow::show() {
    if (!placed_ && placement_ == Placement::centred) {
        centre_window(window_);
    }
    placed_ = true;
    ShowWindow(window_, SW_SHOW);
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void PrintWindow::clear() {
    page_.clear();
    InvalidateRect(window_, nullptr, TRUE);
}

void PrintWindow::print(const PrintStatement& statement, std::size_t muted_from, Tone last_item) {
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, message_font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    auto width = [dc](std::string_view text) {
        const std::wstring wide = wide_text(text);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<double>(size.cx);
    };
    page_.print(statement, width, metrics.tmAveCharWidth, muted_from, last_item);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    InvalidateRect(window_, nullptr, TRUE);
}

COLORREF PrintWindow::colour(std::size_t line, std::size_t item) const {
    // On the window's own background, the class's button face.
    const Rgb chosen = tone_colour(tone(line, item), rgb_of(GetSysColor(COLOR_WINDOWTEXT)),
                                   rgb_of(GetSysColor(COLOR_BTNFACE)));
    return colour_of(chosen);
}

int PrintWindow::line_height() const {
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, message_font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

void PrintWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    HGDIOBJ old = SelectObject(dc, message_font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SetBkMode(dc, TRANSPARENT);
    int top = 0;
    for (std::size_t line = 0; line < lines().size(); ++line) {
        for (std::size_t item = 0; item < lines()[line].size(); ++item) {
            const PlacedText& placed = lines()[line][item];
            SetTextColor(dc, colour(line, item));
            const std::wstring wide = wide_text(placed.text);
            TextOutW(dc, static_cast<int>(placed.x + 0.5), top, wide.c_str(),
                     static_cast<int>(wide.size()));
        }
        top += metrics.tmHeight + metrics.tmExternalLeading;
    }
    SelectObject(dc, old);
    EndPaint(window_, &ps);
}

LRESULT PrintWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const auto line = page_.line_at(GET_Y_LPARAM(l), line_height());
            if (line_click_ && line) {
                line_click_(*line, message == WM_LBUTTONDBLCLK);
            }
            if (message == WM_LBUTTONDBLCLK && gesture_) {
                gesture_(Gesture::double_click);
            }
            return 0;
        }
        case WM_KEYDOWN:
            if (w != VK_ESCAPE) {
                break;
            }
            if (gesture_) {
                gesture_(Gesture::escape);
            }
            return 0;
        case WM_CLOSE:
            if (gesture_) {
                gesture_(Gesture::close_box);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

}  // namespace kestrune
