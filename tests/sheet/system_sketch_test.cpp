// SPDX-License-Identifier: GPL-3.0-or-later
// The system sketch laid out for hand-drawn networks: every label clear of the others, every
// segment joined to its 上游, the most unfavourable loop marked, and the pages it is printed on.
#include "system_sketch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "network_sheet.h"
#include "sheet_messages.h"
#include "worked_sheet.h"

namespace kestrune::testing {
namespace {

// Pipes chosen for 5 m segments, as 自动选管径 leaves them.
CalcSheet sized(SheetData data, double length = 5.0) {
    EXPECT_TRUE(settle_network(data).empty());
    for (SheetRow& row : data.rows) {
        row.length = length;
    }
    choose_pipes(data, example_pipes(), shipped_fittings());
    CalcSheet calc;
    calc.reset(data);
    return calc;
}

const SketchLine& own_line(const SystemSketch& sketch, std::size_t row) {
    for (const SketchLine& line : sketch.lines) {
        if (line.row == row && !line.joint) {
            return line;
        }
    }
    throw std::runtime_error("no line for row " + std::to_string(row));
}

bool has_label(const SystemSketch& sketch, std::size_t row, const std::string& text) {
    return std::any_of(sketch.labels.begin(), sketch.labels.end(),
                       [&](const SketchLabel& l) { return l.row == row && l.text == text; });
}

struct DrawnSystem {
    const char* name;
    SheetData data;
};

TEST(SystemSketch, EveryDrawnSystemKeepsItsLabelsApartJoinsItsSegmentsAndMarksTheWorstLoop) {
    const DrawnSystem systems[] = {
        {"two-pipe with two risers", small_system()},
        {"reverse return", typed_system({"1::", "2:1:", "3:2:", "4:1:1000", "5:2:2000", "6:3:3000",
                                         "7:4:", "8:7 5:", "9:8 6:"})},
        {"single-pipe riser", typed_system({"1::", "2:1:700", "3:2:800", "4:3:900", "5:4:"})},
        // Return 7 gathers consumers either side of 6, in 6's column: one of them moves aside.
        {"a return across a branch", typed_system({"1::", "2:1:1000", "3:1:", "5:3:", "4:3:1000",
                                                   "6:5:1000", "7:2 4:", "8:7 6:"})},
        {"208 segments", tall_system(8, 8)},
    };
    for (const DrawnSystem& system : systems) {
        SCOPED_TRACE(system.name);
        const CalcSheet calc = sized(system.data);
        const SystemSketch sketch = system_sketch(calc);
        const std::vector<SheetRow>& rows = calc.data().rows;
        ASSERT_TRUE(sketch.note.empty()) << sketch.note;

        // Nothing written over anything else, and all of it on the sketch.
        for (std::size_t a = 0; a < sketch.labels.size(); ++a) {
            const SketchBox& box = sketch.labels[a].box;
            ASSERT_TRUE(box.x >= 0 && box.y >= 0 && box.right() <= sketch.width &&
                        box.bottom() <= sketch.height)
                << sketch.labels[a].text;
            for (std::size_t b = a + 1; b < sketch.labels.size(); ++b) {
                ASSERT_FALSE(box.overlaps(sketch.labels[b].box))
                    << sketch.labels[a].text << " and " << sketch.labels[b].text;
            }
            for (const SketchMark& mark : sketch.marks) {
                ASSERT_FALSE(box.overlaps(mark.box)) << sketch.labels[a].text;
            }
        }

        for (std::size_t i = 0; i < rows.size(); ++i) {
            const SketchLine& line = own_line(sketch, i);
            ASSERT_EQ(line.points.size(), 2u);
            EXPECT_EQ(line.points[0].y, line.points[1].y) << "row " << i;
            // Its three labels, and a consumer's load by its mark.
            EXPECT_TRUE(has_label(sketch, i, rows[i].segment)) << "row " << i;
            EXPECT_TRUE(has_label(sketch, i, "DN" + std::to_string(rows[i].dn))) << "row " << i;
            EXPECT_TRUE(has_label(sketch, i, "5 m")) << "row " << i;
            const bool marked = std::any_of(sketch.marks.begin(), sketch.marks.end(),
                                            [&](const SketchMark& m) { return m.row == i; });
            EXPECT_EQ(marked, rows[i].consumer > 0.0f) << "row " << i;
            if (rows[i].consumer > 0.0f) {
                char load[32];
                std::snprintf(load, sizeof load, "%g W", static_cast<double>(rows[i].consumer));
                EXPECT_TRUE(has_label(sketch, i, load)) << "row " << i;
            }
            // Each 上游's line runs on into this one, square.
            for (const std::string& up : rows[i].upstream) {
                const auto from = static_cast<std::size_t>(
                    std::find_if(rows.begin(), rows.end(),
                                 [&](const SheetRow& r) { return r.segment == up; }) -
                    rows.begin());
                const auto joint = std::find_if(
                    sketch.lines.begin(), sketch.lines.end(),
                    [&](const SketchLine& l) { return l.joint && l.row == i && l.from == from; });
                ASSERT_NE(joint, sketch.lines.end()) << "row " << i << " from " << up;
                EXPECT_EQ(joint->points.front(), own_line(sketch, from).points.back());
                EXPECT_EQ(joint->points.back(), line.points.front());
                for (std::size_t k = 1; k < joint->points.size(); ++k) {
                    const SketchPoint a = joint->points[k - 1], b = joint->points[k];
                    EXPECT_TRUE(a.x == b.x || a.y == b.y);
                    EXPECT_LE(a.x, b.x);  // water runs left to right
                }
            }
        }

        // The most unfavourable loop: its path heavy, the word at its last consumer only.
        const LoopReport& report = calc.report();
        ASSERT_TRUE(report.critical);
        const LoopResult& worst = report.loops[*report.critical];
        const auto found = std::find_if(calc.network().loops.begin(), calc.network().loops.end(),
                                        [&](const NetworkLoop& l) { return l.name == worst.name; });
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const bool on_path =
                std::find(found->path.begin(), found->path.end(), i) != found->path.end();
            EXPECT_EQ(own_line(sketch, i).critical, on_path) << "row " << i;
            EXPECT_EQ(sketch_pen(own_line(sketch, i)).ink,
                      on_path ? SketchInk::critical : SketchInk::pipe);
        }
        const auto marked_worst =
            std::count_if(sketch.labels.begin(), sketch.labels.end(),
                          [](const SketchLabel& l) { return l.text == critical_mark; });
        EXPECT_EQ(marked_worst, 1);
        EXPECT_TRUE(has_label(sketch, found->consumers.back(), std::string(critical_mark)));
    }
}

TEST(SystemSketch, TheTwoRisersLieEitherSideOfTheMainsAndTheSupplyLeftOfTheReturn) {
    // 1 feeds risers 2 and 3; 4 and 5 hang from 2, 6 and 7 from 3; 8, 9 and 10 return.
    const SystemSketch sketch = system_sketch(sized(small_system()));
    const auto y = [&](std::size_t row) { return own_line(sketch, row).points[0].y; };
    const auto x = [&](std::size_t row) { return own_line(sketch, row).points[0].x; };
    EXPECT_LT(y(3), y(4));
    EXPECT_LT(y(4), y(5));
    EXPECT_LT(y(5), y(6));
    EXPECT_EQ(y(1), (y(3) + y(4)) / 2);  // riser A between its radiators
    EXPECT_EQ(y(2), (y(5) + y(6)) / 2);
    EXPECT_EQ(y(0), (y(1) + y(2)) / 2);  // the main between the risers
    EXPECT_EQ(y(9), y(0));               // the return main level with the supply main
    EXPECT_EQ(y(7), y(1));
    EXPECT_LT(x(0), x(1));
    EXPECT_LT(x(1), x(3));
    EXPECT_EQ(x(3), x(6));  // the radiators in one column
    EXPECT_LT(x(3), x(7));
    EXPECT_LT(x(7), x(9));
}

TEST(SystemSketch, ALoopOverTheLimitSaysItsImbalanceAtItsConsumer) {
    // Worked in the README: the near consumer's loop is 97.6 % out of balance on DN40/DN32.
    SheetData data = near_and_far();
    settle_network(data);
    choose_pipes(data, example_pipes(), shipped_fittings());
    CalcSheet calc;
    calc.reset(data);
    const SystemSketch sketch = system_sketch(calc);
    const auto over = std::find_if(sketch.labels.begin(), sketch.labels.end(),
                                   [](const SketchLabel& l) { return l.tone == Tone::too_fast; });
    ASSERT_NE(over, sketch.labels.end());
    EXPECT_EQ(over->text, "97.6 % 超限");
    EXPECT_EQ(over->row, 1u);  // segment 2, the near consumer
    EXPECT_TRUE(has_label(sketch, 3, std::string(critical_mark)));
}

TEST(SystemSketch, NothingIsDrawnWithoutANetworkOrWhileItHasAFault) {
    SheetData plain;
    plain.rows = {typed_row("1", {}, 1000)};
    CalcSheet calc;
    calc.reset(plain);
    EXPECT_EQ(system_sketch(calc).note, no_sketch_note);
    SheetData cycle = typed_system({"1:2:", "2:1:1000"});
    calc.reset(cycle);
    const SystemSketch sketch = system_sketch(calc);
    EXPECT_EQ(sketch.note, faulty_sketch_note);
    EXPECT_TRUE(sketch.lines.empty() && sketch.labels.empty());
}

// What is drawn, in order.
struct RecordingCanvas : SketchCanvas {
    std::vector<std::string> calls;
    std::vector<SketchBox> fills;
    std::vector<Rgb> fill_colours;
    void line(const std::vector<SketchPoint>&, int width, Rgb) override {
        calls.push_back("line " + std::to_string(width));
    }
    void fill(const SketchBox& box, Rgb colour) override {
        calls.push_back("fill");
        fills.push_back(box);
        fill_colours.push_back(colour);
    }
    void text(const std::string& text, const SketchBox&, Rgb) override {
        calls.push_back("text " + text);
    }
};

TEST(SystemSketch, TheCurrentRowStandsOutOnATintUnderItsLineAndLabels) {
    const SystemSketch sketch = system_sketch(sized(small_system()));
    const SketchColours colours{{0, 0, 0}, {255, 255, 255}, {0, 120, 215}};
    RecordingCanvas plain, current;
    draw_sketch(sketch, std::nullopt, colours, plain);
    draw_sketch(sketch, 4u, colours, current);
    // One fill more, first of all: radiator 5's box, a quarter of the way to the blue.
    ASSERT_EQ(current.calls.size(), plain.calls.size() + 1);
    EXPECT_EQ(current.calls.front(), "fill");
    EXPECT_EQ(current.fills.front(), sketch_row_box(sketch, 4u));
    EXPECT_EQ(current.fill_colours.front(), (Rgb{191, 221, 245}));
    EXPECT_TRUE(std::equal(plain.calls.begin(), plain.calls.end(), current.calls.begin() + 1));
    // The heavy lines are the worst loop's: supply 1, riser 2, radiator 4 or 5, 8, 10.
    EXPECT_EQ(std::count(plain.calls.begin(), plain.calls.end(), "line 45"), 5 + 5);
    // Without a network only its note.
    CalcSheet none;
    RecordingCanvas note;
    draw_sketch(system_sketch(none), std::nullopt, colours, note);
    EXPECT_EQ(note.calls, std::vector<std::string>{"text " + std::string(no_sketch_note)});
}

TEST(SystemSketch, AClickFindsTheSegmentUnderIt) {
    const SystemSketch sketch = system_sketch(sized(small_system()));
    for (std::size_t row = 0; row < 10; ++row) {
        const SketchLine& line = own_line(sketch, row);
        const SketchPoint middle{(line.points[0].x + line.points[1].x) / 2, line.points[0].y + 45};
        EXPECT_EQ(sketch_row_at(sketch, middle), row);
        const auto box = sketch_row_box(sketch, row);
        ASSERT_TRUE(box);
        EXPECT_TRUE(box->contains(middle));
    }
    // The DN label under segment 4's line.
    const auto dn =
        std::find_if(sketch.labels.begin(), sketch.labels.end(),
                     [](const SketchLabel& l) { return l.row == 3u && l.text[0] == 'D'; });
    ASSERT_NE(dn, sketch.labels.end());
    EXPECT_EQ(sketch_row_at(sketch, {dn->box.x + 10, dn->box.bottom() - 10}), 3u);
    EXPECT_EQ(sketch_row_at(sketch, {sketch.width - 5, sketch.height - 5}), std::nullopt);
}

TEST(SystemSketch, PagesCoverTheSketchCutNoLabelAndNameWhereEachLineGoes) {
    const SystemSketch sketch = system_sketch(sized(tall_system(8, 8)));
    // An A4 landscape page's printing area, twips.
    const SketchPages split = sketch_pages(sketch, 15000, 9000);
    ASSERT_GT(split.pages.size(), 2u);
    EXPECT_EQ(split.scale, least_page_scale);
    long long area = 0;
    for (const SketchPage& page : split.pages) {
        EXPECT_LE(page.part.width * split.scale, 15000.0 + 1);
        EXPECT_LE(page.part.height * split.scale, 9000.0 + 1);
        area += static_cast<long long>(page.part.width) * page.part.height;
    }
    // The parts where nothing is drawn are left out: here, beside the far risers' returns.
    EXPECT_LT(area, static_cast<long long>(sketch.width) * sketch.height);
    const auto page_of = [&](SketchPoint p) {
        for (std::size_t k = 0; k < split.pages.size(); ++k) {
            if (split.pages[k].part.contains(p)) {
                return k;
            }
        }
        return split.pages.size();
    };
    for (const SketchLabel& label : sketch.labels) {
        const std::size_t k = page_of({label.box.x, label.box.y});
        ASSERT_LT(k, split.pages.size());
        EXPECT_TRUE(page_of({label.box.right() - 1, label.box.bottom() - 1}) == k) << label.text;
    }
    const auto refers = [&](std::size_t page, const std::string& text) {
        const auto& refs = split.pages[page].references;
        return std::any_of(refs.begin(), refs.end(), [&](const SketchLabel& r) {
            return r.text == text && split.pages[page].part.contains({r.box.x, r.box.y});
        });
    };
    std::size_t crossing = 0;
    for (const SketchLine& line : sketch.lines) {
        if (!line.joint || !line.from) {
            continue;
        }
        const std::size_t from = page_of(line.points.front()), to = page_of(line.points.back());
        if (from != to) {
            ++crossing;
            EXPECT_TRUE(refers(from, "至 " + sketch.segments[line.row]));
            EXPECT_TRUE(refers(to, "接 " + sketch.segments[*line.from]));
        }
    }
    EXPECT_GT(crossing, 0u);
}

}  // namespace
}  // namespace kestrune::testing
