// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The system sketch (系统简图): the network the 上游 column gives, drawn as a tidy tree. The
// source is at the left; each segment is a horizontal line in the column of its depth from
// the source, at the height of the consumers it carries, so that the supply fans out to the
// consumers and the return gathers them again further right. Every decision is made here,
// in twips: the windows and the printed calculation only draw the lines, marks and labels.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "calc_sheet.h"
#include "print_colours.h"

namespace kestrune {

struct SketchPoint {
    int x = 0, y = 0;  // twips, y downwards
    bool operator==(const SketchPoint&) const = default;
};

struct SketchBox {
    int x = 0, y = 0, width = 0, height = 0;  // twips
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool operator==(const SketchBox&) const = default;
    bool contains(SketchPoint p) const {
        return p.x >= x && p.x < right() && p.y >= y && p.y < bottom();
    }
    bool overlaps(const SketchBox& o) const {
        return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
    }
};

// A segment's own line, or the joint that takes water from one of its 上游 to it: a run of
// straight pieces, drawn in order.
struct SketchLine {
    std::vector<SketchPoint> points;
    std::size_t row = 0;              // the segment it belongs to (a joint: the one it feeds)
    bool joint = false;               // from an 上游's end to this segment's start
    bool critical = false;            // on the most unfavourable loop's path
    std::optional<std::size_t> from;  // a joint's 上游; none for the one from the source
};

// A consumer: a small square on its segment's line.
struct SketchMark {
    SketchBox box;
    std::size_t row = 0;
    bool critical = false;
};

struct SketchLabel {
    std::string text;
    SketchBox box;  // where the text stands; it is drawn from the box's left, at its top
    Tone tone = Tone::plain;
    std::optional<std::size_t> row;  // the segment it names, if any
};

struct SystemSketch {
    int width = 0, height = 0;  // twips, margins included
    std::vector<SketchLine> lines;
    std::vector<SketchMark> marks;
    std::vector<SketchLabel> labels;
    std::vector<std::string> segments;  // each row's 管段号, as the references name them
    // Why nothing is drawn (no 上游 given, or a fault in the network); empty when drawn.
    std::string note;
};

// The sketch's text: 9 pt, every label a line of it.
inline constexpr double sketch_points = 9.0;
inline constexpr int sketch_line_twips = 240;
// A text's width in twips as the sketch reserves it: a Chinese character an em of the 9 pt
// font (180 twips), any other character 100, a little over the half em fonts give them.
int sketch_text_twips(const std::string& text);

// The sketch of the sheet as it now is.
SystemSketch system_sketch(const CalcSheet& calc);

// How a line is drawn: its width in twips and what it is drawn in. The most unfavourable
// loop is heavier and in its tone, the rest thin.
enum class SketchInk { pipe, critical };
struct SketchPen {
    int width;
    SketchInk ink;
};
SketchPen sketch_pen(const SketchLine& line);

// What the sketch is drawn on: a window's client area or a page, in the sketch's twips.
class SketchCanvas {
  public:
    virtual ~SketchCanvas() = default;
    // Straight pieces through the points, width twips wide.
    virtual void line(const std::vector<SketchPoint>& points, int width, Rgb colour) = 0;
    virtual void fill(const SketchBox& box, Rgb colour) = 0;
    // A line of text, drawn from the box's top-left corner in the sketch's font.
    virtual void text(const std::string& text, const SketchBox& box, Rgb colour) = 0;
};
// The colours it is drawn in: the window's (or paper's) text and ground, and the selection's.
struct SketchColours {
    Rgb text, ground, highlight;
};
// Draws the whole sketch on the current row's segment standing out on a tint of the
// selection's colour (its line and labels as they are, so that its tones still read);
// without a network, its note.
// Only what meets area is drawn, when an area is given.
void draw_sketch(const SystemSketch& sketch, std::optional<std::size_t> current_row,
                 const SketchColours& colours, SketchCanvas& canvas,
                 std::optional<SketchBox> area = std::nullopt);

// The segment drawn at a point: its line, a joint into it, its mark or one of its labels,
// within a few pixels' reach.
std::optional<std::size_t> sketch_row_at(const SystemSketch& sketch, SketchPoint at);

// Where a row's segment line stands, to scroll it into view.
std::optional<SketchBox> sketch_row_box(const SystemSketch& sketch, std::size_t row);

// The sketch split over pages: each page shows a part of it (cut where no label or mark is
// cut; a part where nothing is drawn is left out), and where a line leaves that part, the segment
// it leads to stands at the edge ("至 8", "接 4"), in the sketch's own twips.
struct SketchPage {
    SketchBox part;
    std::vector<SketchLabel> references;
};
// scale: the sketch's twips to the page's twips (at most 1), so that it is as wide as a
// page when that keeps its 9 pt text at 6.3 pt or more, as a drawing's smallest lettering.
inline constexpr double least_page_scale = 0.7;
struct SketchPages {
    double scale = 1.0;
    std::vector<SketchPage> pages;
};
SketchPages sketch_pages(const SystemSketch& sketch, int page_width, int page_height);

}  // namespace kestrune
