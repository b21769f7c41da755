// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The printed calculation (计算书) laid out once as marks on its pages: the PDF is written
// from them, and the programs print them through the system's print dialog, so that paper and
// file are the same pages.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "print_colours.h"

namespace kestrune {

// Points (1/72 inch) from the page's lower left corner, y upwards, as in a PDF.
struct PaperPoint {
    float x = 0.0f, y = 0.0f;
};

struct PaperMark {
    enum class Kind {
        text,    // at points[0], the start of its baseline, size points high
        line,    // through points, size points wide
        box,     // filled: points[0] its lower left corner, points[1] its upper right
        clip,    // what follows is drawn within the box points[0], points[1] only...
        unclip,  // ...until here
    };
    Kind kind = Kind::text;
    std::vector<PaperPoint> points;
    float size = 0.0f;
    Rgb colour{};
    std::string text;  // UTF-8
};

struct PaperPage {
    std::vector<PaperMark> marks;
};

struct PaperReport {
    float width = 0.0f, height = 0.0f;  // of every page, points
    std::filesystem::path font_file;    // the one font all text is set in
    int font_index = 0;                 // its face within a collection (.ttc)
    std::string font_name;              // as the engineer knows it: "宋体 SimSun"
    std::vector<PaperPage> pages;
};

// Where the pages land on a device's area (left, top, width × height in its units, y downwards):
// each page fitted whole and centred, as a printer's sheet or a preview is given it.
struct PaperFit {
    double scale = 1.0;            // device units a point
    double left = 0.0, top = 0.0;  // the page's upper left corner
    double page_height = 0.0;      // points
    double x(PaperPoint p) const { return left + p.x * scale; }
    double y(PaperPoint p) const { return top + (page_height - p.y) * scale; }
};
inline PaperFit fit_paper(const PaperReport& paper, double left, double top, double width,
                          double height) {
    const double scale = std::min(width / paper.width, height / paper.height);
    return {scale, left + (width - paper.width * scale) / 2,
            top + (height - paper.height * scale) / 2, paper.height};
}

}  // namespace kestrune
