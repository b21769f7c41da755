// SPDX-License-Identifier: GPL-3.0-or-later
#include "paper_print.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "late_libraries.h"
#include "wide_text.h"

namespace kestrune {
namespace {

// GDI knows the fonts by their family name: "宋体 SimSun" is SimSun.
std::wstring face_of(const std::string& name) {
    const std::size_t blank = name.find(' ');
    const bool chinese_first = !name.empty() && static_cast<unsigned char>(name[0]) >= 0x80;
    return wide_text(chinese_first && blank != std::string::npos ? name.substr(blank + 1) : name);
}

COLORREF colour_of(Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

}  // namespace

void draw_paper_page(HDC dc, const PaperReport& paper, std::size_t page, const RECT& area) {
    const PaperFit fit =
        fit_paper(paper, area.left, area.top, area.right - area.left, area.bottom - area.top);
    const double scale = fit.scale;
    const auto at = [&](PaperPoint p) {
        return POINT{static_cast<LONG>(std::lround(fit.x(p))),
                     static_cast<LONG>(std::lround(fit.y(p)))};
    };
    const auto box_of = [&](const PaperMark& m) {
        const POINT a = at(m.points[0]);
        const POINT b = at(m.points[1]);
        return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    };
    const std::wstring face = face_of(paper.font_name);
    std::map<long, HFONT> fonts;  // by height, for this page
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    for (const PaperMark& m : paper.pages.at(page).marks) {
        switch (m.kind) {
            case PaperMark::Kind::text: {
                const long height = std::max(1L, std::lround(m.size * scale));
                HFONT& font = fonts[height];
                if (font == nullptr) {
                    font = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       ANTIALIASED_QUALITY, DEFAULT_PITCH, face.c_str());
                }
                SelectObject(dc, font);
                SetTextColor(dc, colour_of(m.colour));
                const std::wstring text = wide_text(m.text);
                const POINT p = at(m.points[0]);
                TextOutW(dc, p.x, p.y, text.c_str(), static_cast<int>(text.size()));
                break;
            }
            case PaperMark::Kind::line: {
                std::vector<POINT> points;
                for (const PaperPoint& p : m.points) {
                    points.push_back(at(p));
                }
                HPEN pen = CreatePen(PS_SOLID, std::max(1L, std::lround(m.size * scale)),
                                     colour_of(m.colour));
                HGDIOBJ old = SelectObject(dc, pen);
                Polyline(dc, points.data(), static_cast<int>(points.size()));
                SelectObject(dc, old);
                DeleteObject(pen);
                break;
            }
            case PaperMark::Kind::box: {
                HBRUSH brush = CreateSolidBrush(colour_of(m.colour));
                const RECT r = box_of(m);
                FillRect(dc, &r, brush);
                DeleteObject(brush);
                break;
            }
            case PaperMark::Kind::clip: {
                SaveDC(dc);
                const RECT r = box_of(m);
                IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
                break;
            }
            case PaperMark::Kind::unclip:
                RestoreDC(dc, -1);
                break;
        }
    }
    RestoreDC(dc, saved);
    for (const auto& [height, font] : fonts) {
        DeleteObject(font);
    }
}

PrintOutcome print_paper_pages(HWND owner, const PaperReport& paper, const std::wstring& title) {
    const DWORD pages = static_cast<DWORD>(paper.pages.size());
    PRINTPAGERANGE range{1, pages};
    PRINTDLGEXW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOCURRENTPAGE | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nPageRanges = 1;
    dialog.nMaxPageRanges = 1;
    dialog.lpPageRanges = &range;
    dialog.nMinPage = 1;
    dialog.nMaxPage = pages;
    dialog.nCopies = 1;
    dialog.nStartPage = START_PAGE_GENERAL;
    const HRESULT shown = print_dialog(&dialog);
    if (dialog.hDevMode != nullptr) {
        GlobalFree(dialog.hDevMode);
    }
    if (dialog.hDevNames != nullptr) {
        GlobalFree(dialog.hDevNames);
    }
    HDC dc = dialog.hDC;
    if (FAILED(shown) || dialog.dwResultAction != PD_RESULT_PRINT || dc == nullptr) {
        if (dc != nullptr) {
            DeleteDC(dc);
        }
        return FAILED(shown) ? PrintOutcome::failed : PrintOutcome::cancelled;
    }
    DWORD first = 1;
    DWORD last = pages;
    if ((dialog.Flags & PD_PAGENUMS) != 0) {
        first = std::max<DWORD>(range.nFromPage, 1);
        last = std::min<DWORD>(range.nToPage, pages);
    }
    // The whole sheet of paper, in the printer's units from its printable area's corner.
    const int offset_x = GetDeviceCaps(dc, PHYSICALOFFSETX);
    const int offset_y = GetDeviceCaps(dc, PHYSICALOFFSETY);
    const RECT area{-offset_x, -offset_y, GetDeviceCaps(dc, PHYSICALWIDTH) - offset_x,
                    GetDeviceCaps(dc, PHYSICALHEIGHT) - offset_y};
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    bool printed = StartDocW(dc, &document) > 0;
    for (DWORD k = first; printed && k <= last; ++k) {
        printed = StartPage(dc) > 0;
        if (printed) {
            draw_paper_page(dc, paper, k - 1, area);
            printed = EndPage(dc) > 0;
        }
    }
    if (printed) {
        EndDoc(dc);
    } else {
        AbortDoc(dc);
    }
    DeleteDC(dc);
    return printed ? PrintOutcome::printed : PrintOutcome::failed;
}

}  // namespace kestrune
