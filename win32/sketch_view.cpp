// SPDX-License-Identifier: GPL-3.0-or-later
#include "sketch_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "controls.h"
#include "dpi.h"
#include "sheet_layout.h"
#include "song_font.h"
#include "wide_text.h"
#include "window_class.h"

namespace kestrune {
namespace {

constexpr wchar_t class_name[] = L"KestruneSketch";
constexpr int wheel_lines = 3;

class GdiCanvas : public SketchCanvas {
  public:
    GdiCanvas(HDC dc, std::function<int(int)> pixels, POINT origin, HFONT font)
        : dc_(dc), pixels_(std::move(pixels)), origin_(origin) {
        old_font_ = SelectObject(dc_, font);
        SetBkMode(dc_, TRANSPARENT);
    }
    ~GdiCanvas() override { SelectObject(dc_, old_font_); }
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void line(const std::vector<SketchPoint>& points, int width, Rgb colour) override {
        HPEN pen = CreatePen(PS_SOLID, std::max(1, pixels_(width)), colour_of(colour));
        HGDIOBJ old = SelectObject(dc_, pen);
        std::vector<POINT> drawn;
        for (const SketchPoint& p : points) {
            drawn.push_back(at(p));
        }
        Polyline(dc_, drawn.data(), static_cast<int>(drawn.size()));
        SelectObject(dc_, old);
        DeleteObject(pen);
    }
    void fill(const SketchBox& box, Rgb colour) override {
        const POINT a = at({box.x, box.y}), b = at({box.right(), box.bottom()});
        const RECT r{a.x, a.y, b.x, b.y};
        HBRUSH brush = CreateSolidBrush(colour_of(colour));
        FillRect(dc_, &r, brush);
        DeleteObject(brush);
    }
    void text(const std::string& text, const SketchBox& box, Rgb colour) override {
        const POINT a = at({box.x, box.y});
        const std::wstring wide = wide_text(text);
        SetTextColor(dc_, colour_of(colour));
        TextOutW(dc_, a.x, a.y, wide.c_str(), static_cast<int>(wide.size()));
    }

  private:
    POINT at(SketchPoint p) const { return {pixels_(p.x) - origin_.x, pixels_(p.y) - origin_.y}; }
    HDC dc_;
    std::function<int(int)> pixels_;
    POINT origin_;
    HGDIOBJ old_font_;
};

}  // namespace

SketchView::SketchView(HWND parent) {
    register_window_class(class_name, CS_HREDRAW | CS_VREDRAW);
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, class_name, L"", WS_CHILD | WS_HSCROLL | WS_VSCROLL,
                              0, 0, 10, 10, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    attach_window<SketchView, &SketchView::handle>(window_, this);
}

int SketchView::pixels(int twips) const {
    const UINT dpi = window_dpi(window_);
    return sketch_pixels(twips, zoom_, [dpi](int t) { return twips_to_pixels(t, dpi); });
}

POINT SketchView::at(SketchPoint point) const {
    return {pixels(point.x) - origin_.x, pixels(point.y) - origin_.y};
}

void SketchView::show_sketch(SystemSketch sketch, std::optional<std::size_t> current) {
    scroll_pending_ = scroll_pending_ || (current && current != current_);
    sketch_ = std::move(sketch);
    current_ = current;
    update_scroll();
    scroll_to_current();
    InvalidateRect(window_, nullptr, FALSE);
}

void SketchView::update_scroll() {
    RECT client{};
    GetClientRect(window_, &client);
    const int extent[] = {pixels(std::max(sketch_.width, sketch_text_twips(sketch_.note) + 480)),
                          pixels(sketch_.height)};
    const int page[] = {client.right, client.bottom};
    LONG* position[] = {&origin_.x, &origin_.y};
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_PAGE | SIF_POS,
                        0,
                        extent[bar] - 1,
                        static_cast<UINT>(std::max(0, page[bar])),
                        0,
                        0};
        *position[bar] = std::clamp<LONG>(*position[bar], 0, std::max(0, extent[bar] - page[bar]));
        info.nPos = *position[bar];
        SetScrollInfo(window_, bar, &info, TRUE);
    }
}

void SketchView::scroll(int bar, int to) {
    LONG& position = bar == SB_HORZ ? origin_.x : origin_.y;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window_, bar, &info);
    const int last = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
    position = std::clamp(to, 0, last);
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(window_, bar, &info, TRUE);
    InvalidateRect(window_, nullptr, FALSE);
}

void SketchView::scroll_to_current() {
    RECT client{};
    GetClientRect(window_, &client);
    if (!scroll_pending_ || !current_ || client.right <= 1 || !IsWindowVisible(window_)) {
        return;
    }
    scroll_pending_ = false;
    const auto box = sketch_row_box(sketch_, *current_);
    if (!box) {
        return;
    }
    const POINT a{pixels(box->x), pixels(box->y)};
    const POINT b{pixels(box->right()), pixels(box->bottom())};
    if (a.x < origin_.x || b.x > origin_.x + client.right) {
        scroll(SB_HORZ, std::max<int>(0, a.x - (client.right - (b.x - a.x)) / 2));
    }
    if (a.y < origin_.y || b.y > origin_.y + client.bottom) {
        scroll(SB_VERT, std::max<int>(0, a.y - (client.bottom - (b.y - a.y)) / 2));
    }
}

SketchBox SketchView::twips_of(const RECT& client) const {
    const UINT dpi = window_dpi(window_);
    const auto twips = [&](LONG pixel, LONG offset) {
        return static_cast<int>(std::lround((pixel + offset) * 1440.0 / dpi / zoom_));
    };
    const int left = twips(client.left, origin_.x), top = twips(client.top, origin_.y);
    return {left, top, twips(client.right + 1, origin_.x) - left,
            twips(client.bottom + 1, origin_.y) - top};
}

void SketchView::paint() {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(window_, &ps);
    RECT client{};
    GetClientRect(window_, &client);
    // Drawn aside and put on the screen at once, so that scrolling does not flicker.
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap =
        CreateCompatibleBitmap(screen, std::max(1L, client.right), std::max(1L, client.bottom));
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HFONT font = make_song_font(sketch_points * zoom_, window_dpi(window_));
    {
        GdiCanvas canvas(
            dc, [this](int twips) { return pixels(twips); }, origin_, font);
        draw_sketch(sketch_, current_,
                    {rgb_of(GetSysColor(COLOR_WINDOWTEXT)), rgb_of(GetSysColor(COLOR_WINDOW)),
                     rgb_of(GetSysColor(COLOR_HIGHLIGHT))},
                    canvas, twips_of(ps.rcPaint));
    }
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old_bitmap);
    DeleteObject(bitmap);
    DeleteObject(font);
    DeleteDC(dc);
    EndPaint(window_, &ps);
}

LRESULT SketchView::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_SIZE:
            update_scroll();
            scroll_to_current();
            return 0;
        case WM_SHOWWINDOW:
            if (w != 0) {
                PostMessageW(window_, WM_SIZE, 0, 0);  // scrolled once it is shown
            }
            break;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const int bar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            GetScrollInfo(window_, bar, &info);
            const int line = pixels(sketch_line_twips);
            int to = info.nPos;
            switch (LOWORD(w)) {
                case SB_LINEUP:
                    to -= line;
                    break;
                case SB_LINEDOWN:
                    to += line;
                    break;
                case SB_PAGEUP:
                    to -= static_cast<int>(info.nPage);
                    break;
                case SB_PAGEDOWN:
                    to += static_cast<int>(info.nPage);
                    break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION:
                    to = info.nTrackPos;
                    break;
                case SB_TOP:
                    to = 0;
                    break;
                case SB_BOTTOM:
                    to = info.nMax;
                    break;
                default:
                    break;
            }
            scroll(bar, to);
            return 0;
        }
        case WM_MOUSEWHEEL: {
            const int delta = GET_WHEEL_DELTA_WPARAM(w);
            if ((GET_KEYSTATE_WPARAM(w) & MK_CONTROL) != 0) {
                zoom_ = next_sketch_zoom(zoom_, delta > 0 ? 1 : -1);
                update_scroll();
                InvalidateRect(window_, nullptr, FALSE);
            } else {
                const int bar = (GET_KEYSTATE_WPARAM(w) & MK_SHIFT) != 0 ? SB_HORZ : SB_VERT;
                const int by = -delta * wheel_lines * pixels(sketch_line_twips) / WHEEL_DELTA;
                scroll(bar, (bar == SB_HORZ ? origin_.x : origin_.y) + by);
            }
            return 0;
        }
        case WM_LBUTTONDOWN: {
            const int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
            const SketchBox at = twips_of({x, y, x, y});
            const auto row = sketch_row_at(sketch_, {at.x, at.y});
            if (row && on_row) {
                on_row(*row);
            }
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

}  // namespace kestrune
