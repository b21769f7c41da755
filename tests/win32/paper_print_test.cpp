// SPDX-License-Identifier: GPL-3.0-or-later
// What GDI makes of the 计算书's marks, on a bitmap as a printer would get them.
#include "paper_print.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrune::testing {
namespace {

// A white bitmap of the page's size in points, a pixel a point.
class PaperBitmap {
  public:
    PaperBitmap(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        const RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~PaperBitmap() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    // The pixel's colour, 0xRRGGBB, once GDI has finished.
    unsigned at(int x, int y) const {
        GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFFu;
    }

  private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    unsigned* bits_ = nullptr;
};

TEST(PaperPrint, EachMarkLandsWhereThePdfPutsItWithYUpwards) {
    PaperReport paper;
    paper.width = 400;
    paper.height = 300;
    paper.font_name = "宋体 SimSun";
    PaperPage page;
    // A red box 10 pt from the lower left corner; a black line across the top; a clip that
    // keeps a second box to its left half; text near the top.
    page.marks.push_back({PaperMark::Kind::box, {{10, 10}, {50, 40}}, 0, {255, 0, 0}, {}});
    page.marks.push_back({PaperMark::Kind::line, {{0, 290}, {400, 290}}, 2, {0, 0, 0}, {}});
    page.marks.push_back({PaperMark::Kind::clip, {{100, 100}, {150, 150}}, 0, {}, {}});
    page.marks.push_back({PaperMark::Kind::box, {{100, 100}, {200, 150}}, 0, {0, 0, 255}, {}});
    page.marks.push_back({PaperMark::Kind::unclip, {}, 0, {}, {}});
    page.marks.push_back({PaperMark::Kind::text, {{20, 250}}, 24, {0, 0, 0}, "计算书 WWW"});
    paper.pages.push_back(page);

    PaperBitmap bitmap(400, 300);
    draw_paper_page(bitmap.dc(), paper, 0, RECT{0, 0, 400, 300});
    EXPECT_EQ(bitmap.at(30, 300 - 25), 0xFF0000u);    // in the red box
    EXPECT_EQ(bitmap.at(30, 300 - 60), 0xFFFFFFu);    // above it
    EXPECT_EQ(bitmap.at(200, 300 - 290), 0x000000u);  // on the line
    EXPECT_EQ(bitmap.at(125, 300 - 125), 0x0000FFu);  // the blue box within the clip
    EXPECT_EQ(bitmap.at(175, 300 - 125), 0xFFFFFFu);  // and not beyond it
    int inked = 0;                                    // the text above its baseline
    for (int x = 20; x < 200; ++x) {
        for (int y = 300 - 272; y < 300 - 250; ++y) {
            inked += bitmap.at(x, y) != 0xFFFFFFu ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 100);
}

TEST(PaperPrint, APageIsFittedToOtherPaperAndCentred) {
    PaperReport paper;
    paper.width = 200;
    paper.height = 100;
    PaperPage page;
    page.marks.push_back({PaperMark::Kind::box, {{0, 0}, {200, 100}}, 0, {0, 128, 0}, {}});
    paper.pages.push_back(page);
    // Paper twice as tall as the page needs: the page at full width, in the middle.
    PaperBitmap bitmap(200, 200);
    draw_paper_page(bitmap.dc(), paper, 0, RECT{0, 0, 200, 200});
    EXPECT_EQ(bitmap.at(100, 100), 0x008000u);
    EXPECT_EQ(bitmap.at(100, 20), 0xFFFFFFu);
    EXPECT_EQ(bitmap.at(100, 180), 0xFFFFFFu);
}

}  // namespace
}  // namespace kestrune::testing
