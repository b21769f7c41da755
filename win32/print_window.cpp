// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_window.h"

#include "code_dialog.h"
#include "dpi.h"
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
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PrintWindow::procedure));
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
    lines_.clear();
    muted_from_.clear();
    InvalidateRect(window_, nullptr, TRUE);
}

void PrintWindow::print(const PrintStatement& statement, std::size_t muted_from) {
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
    lines_.push_back(place_items(statement, width, zone_columns * metrics.tmAveCharWidth));
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    muted_from_.push_back(muted_from);
    InvalidateRect(window_, nullptr, TRUE);
}

void PrintWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    HGDIOBJ old = SelectObject(dc, message_font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SetBkMode(dc, TRANSPARENT);
    int top = 0;
    for (std::size_t line = 0; line < lines_.size(); ++line) {
        for (std::size_t item = 0; item < lines_[line].size(); ++item) {
            const PlacedText& placed = lines_[line][item];
            // The preview stands apart from the table in the system's grey for secondary text.
            SetTextColor(dc, GetSysColor(is_muted(line, item) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
            const std::wstring wide = wide_text(placed.text);
            TextOutW(dc, static_cast<int>(placed.x + 0.5), top, wide.c_str(),
                     static_cast<int>(wide.size()));
        }
        top += metrics.tmHeight + metrics.tmExternalLeading;
    }
    SelectObject(dc, old);
    EndPaint(window_, &ps);
}

LRESULT CALLBACK PrintWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<PrintWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        switch (message) {
            case WM_PAINT:
                self->paint();
                return 0;
            case WM_KEYDOWN:
                if (w != VK_ESCAPE) {
                    break;
                }
                [[fallthrough]];
            case WM_LBUTTONDBLCLK:
            case WM_CLOSE:
                if (self->dismiss_) {
                    self->dismiss_();
                }
                return 0;
            default:
                break;
        }
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace kestrune
