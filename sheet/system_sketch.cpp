// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_sketch.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "loop_balance.h"
#include "number_text.h"
#include "sheet_messages.h"

namespace kestrune {
namespace {

// The grid the sketch is laid out on, twips. A lane holds one segment: its number and load
// above the line, its DN and length below, a loop's note under those.
constexpr int margin = 240;
constexpr int bar_zone = 200;  // the line, and a consumer's mark on it
constexpr int mark_size = 160;
constexpr int lane_height = 3 * sketch_line_twips + bar_zone + 160;
constexpr int bar_offset = sketch_line_twips + bar_zone / 2;  // from the lane's top
constexpr int column_gap = 480;                               // room for the joints between columns
constexpr int label_gap = 180;                                // between two labels on one line
constexpr int least_bar = 900;
constexpr int reach = 90;  // how near a click must be, about six pixels
constexpr int thin = 15, heavy = 45;

std::string dn_label(const SheetRow& row) {
    return row.dn > 0 ? "DN" + std::to_string(row.dn) : std::string();
}

std::string length_label(const SheetRow& row) {
    return shortest_text(row.length) + " m";
}

std::string load_label(const SheetRow& row) {
    return row.consumer > 0.0f ? float_box_form(row.consumer) + " W" : std::string();
}

// What a loop says at its last consumer: that it is the most unfavourable, or how far over
// the limit it is.
std::string loop_label(const LoopResult& loop) {
    if (loop.critical) {
        return std::string(critical_mark);
    }
    if (loop.flagged && loop.imbalance) {
        return fixed_text(shown_imbalance(*loop.imbalance), 1) + " % " +
               std::string(over_limit_mark);
    }
    return {};
}

// The longest path from the source to each row, in segments: its column.
std::vector<std::size_t> columns_of(const std::vector<std::vector<std::size_t>>& parents,
                                    const std::vector<std::vector<std::size_t>>& children) {
    const std::size_t n = parents.size();
    std::vector<std::size_t> column(n, 0), waiting(n);
    std::vector<std::size_t> ready;
    for (std::size_t i = 0; i < n; ++i) {
        waiting[i] = parents[i].size();
        if (waiting[i] == 0) {
            ready.push_back(i);
        }
    }
    while (!ready.empty()) {
        const std::size_t at = ready.back();
        ready.pop_back();
        for (std::size_t child : children[at]) {
            column[child] = std::max(column[child], column[at] + 1);
            if (--waiting[child] == 0) {
                ready.push_back(child);
            }
        }
    }
    return column;
}

// The consumers' lanes, top to bottom: as a walk from the source meets them, branches in
// sheet order, so that every branch's consumers lie together.
std::vector<std::optional<std::size_t>> consumer_lanes(
    const std::vector<SheetRow>& rows, const std::vector<std::vector<std::size_t>>& parents,
    const std::vector<std::vector<std::size_t>>& children) {
    const std::size_t n = rows.size();
    std::vector<std::optional<std::size_t>> lane(n);
    std::vector<bool> seen(n, false);
    std::size_t next = 0;
    std::vector<std::size_t> stack;
    for (std::size_t root = n; root-- > 0;) {
        if (parents[root].empty()) {
            stack.push_back(root);
        }
    }
    while (!stack.empty()) {
        const std::size_t at = stack.back();
        stack.pop_back();
        if (seen[at]) {
            continue;
        }
        seen[at] = true;
        if (rows[at].consumer > 0.0f) {
            lane[at] = next++;
        }
        for (auto child = children[at].rbegin(); child != children[at].rend(); ++child) {
            stack.push_back(*child);
        }
    }
    return lane;
}

void add_label(SystemSketch& sketch, std::string text, int x, int y, Tone tone,
               std::optional<std::size_t> row) {
    if (text.empty()) {
        return;
    }
    const int width = sketch_text_twips(text);
    sketch.labels.push_back({std::move(text), {x, y, width, sketch_line_twips}, tone, row});
}

SketchBox bounds(const SketchLine& line) {
    int left = line.points.front().x, right = left;
    int top = line.points.front().y, bottom = top;
    for (const SketchPoint& p : line.points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return {left, top, right - left, bottom - top};
}

// A quarter of the way from the ground to a colour: light enough under any tone's text.
Rgb tint(Rgb colour, Rgb ground) {
    const auto mix = [](std::uint8_t c, std::uint8_t g) {
        return static_cast<std::uint8_t>((c + 3 * g + 2) / 4);
    };
    return {mix(colour.r, ground.r), mix(colour.g, ground.g), mix(colour.b, ground.b)};
}

// Where a page may end: as far as it reaches, short of cutting what lies across it.
std::vector<int> cuts(int extent, int reach_of_page, std::vector<std::pair<int, int>> occupied) {
    std::sort(occupied.begin(), occupied.end());
    std::vector<int> ends;
    int start = 0;
    while (start + reach_of_page < extent) {
        int end = start + reach_of_page;
        // Step back past anything the cut would go through.
        for (bool moved = true; moved;) {
            moved = false;
            for (const auto& [from, to] : occupied) {
                if (from < end && end < to && from > start) {
                    end = from;
                    moved = true;
                }
            }
        }
        ends.push_back(end);
        start = end;
    }
    ends.push_back(extent);
    return ends;
}

}  // namespace

int sketch_text_twips(const std::string& text) {
    int width = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            width += 100;
        } else if (byte >= 0xC0) {
            width += 180;  // a character's first byte
        }
    }
    return width;
}

SystemSketch system_sketch(const CalcSheet& calc) {
    SystemSketch sketch;
    const std::vector<SheetRow>& rows = calc.data().rows;
    const Network& net = calc.network();
    if (!calc.has_network()) {
        sketch.note = std::string(no_sketch_note);
        return sketch;
    }
    if (!net.faults.empty()) {
        sketch.note = std::string(faulty_sketch_note);
        return sketch;
    }
    const std::size_t n = rows.size();
    for (const SheetRow& row : rows) {
        sketch.segments.push_back(row.segment);
    }
    std::unordered_map<std::string_view, std::size_t> named;
    for (std::size_t i = 0; i < n; ++i) {
        named.emplace(rows[i].segment, i);
    }
    std::vector<std::vector<std::size_t>> parents(n), children(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (const std::string& up : rows[i].upstream) {
            const std::size_t from = named.at(up);  // a fault otherwise
            if (std::find(parents[i].begin(), parents[i].end(), from) == parents[i].end()) {
                parents[i].push_back(from);
                children[from].push_back(i);
            }
        }
    }
    const std::vector<std::size_t> column = columns_of(parents, children);
    const std::vector<std::optional<std::size_t>> lane = consumer_lanes(rows, parents, children);

    // Each segment midway between the first and last consumer it carries; segments of one
    // column at least a lane apart, pushed down in that order where they would meet.
    std::vector<double> lane_of(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        double low = 1e300, high = -1e300;
        for (std::size_t consumer : net.carried[i]) {
            if (lane[consumer]) {
                low = std::min(low, static_cast<double>(*lane[consumer]));
                high = std::max(high, static_cast<double>(*lane[consumer]));
            }
        }
        lane_of[i] = low <= high ? (low + high) / 2.0 : 0.0;
    }
    const std::size_t columns = n == 0 ? 0 : *std::max_element(column.begin(), column.end()) + 1;
    std::vector<std::vector<std::size_t>> in_column(columns);
    for (std::size_t i = 0; i < n; ++i) {
        in_column[column[i]].push_back(i);
    }
    double lanes = 1.0;
    for (auto& members : in_column) {
        std::stable_sort(members.begin(), members.end(),
                         [&](std::size_t a, std::size_t b) { return lane_of[a] < lane_of[b]; });
        for (std::size_t k = 1; k < members.size(); ++k) {
            lane_of[members[k]] = std::max(lane_of[members[k]], lane_of[members[k - 1]] + 1.0);
        }
        if (!members.empty()) {
            lanes = std::max(lanes, lane_of[members.back()] + 1.0);
        }
    }

    // The columns as wide as the widest labels need.
    int bar = least_bar;
    for (const SheetRow& row : rows) {
        const std::string load = load_label(row);
        bar = std::max(bar, sketch_text_twips(row.segment) +
                                (load.empty() ? 0 : label_gap + sketch_text_twips(load)));
        bar = std::max(bar, sketch_text_twips(dn_label(row)) + label_gap +
                                sketch_text_twips(length_label(row)));
    }
    const LoopReport& report = calc.report();
    std::vector<std::string> loop_note(n);
    std::vector<Tone> loop_tone(n, Tone::plain);
    std::vector<bool> critical(n, false);
    const NetworkLoop* critical_loop = nullptr;
    for (const LoopResult& loop : report.loops) {
        const auto found = std::find_if(net.loops.begin(), net.loops.end(),
                                        [&](const NetworkLoop& l) { return l.name == loop.name; });
        if (found == net.loops.end() || found->consumers.empty()) {
            continue;
        }
        const std::size_t last = found->consumers.back();
        loop_note[last] = loop_label(loop);
        loop_tone[last] = loop.critical ? Tone::critical : Tone::too_fast;
        bar = std::max(bar, sketch_text_twips(loop_note[last]));
        if (loop.critical) {
            critical_loop = &*found;
            for (std::size_t s : found->path) {
                critical[s] = true;
            }
        }
    }

    const int source_width = sketch_text_twips(std::string(source_label)) + 180;
    const int pitch = bar + column_gap;
    const auto left = [&](std::size_t i) {
        return margin + source_width + static_cast<int>(column[i]) * pitch;
    };
    const auto top = [&](std::size_t i) {
        return margin + static_cast<int>(std::lround(lane_of[i] * lane_height));
    };
    const auto level = [&](std::size_t i) { return top(i) + bar_offset; };
    sketch.width = margin + source_width + static_cast<int>(columns) * pitch - column_gap + margin;
    sketch.height = margin + static_cast<int>(std::lround(lanes * lane_height)) + margin;

    const auto on_critical_path = [&](std::size_t from, std::size_t to) {
        if (critical_loop == nullptr) {
            return false;
        }
        const auto& path = critical_loop->path;
        for (std::size_t k = 1; k < path.size(); ++k) {
            if (path[k - 1] == from && path[k] == to) {
                return true;
            }
        }
        return false;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const int x0 = left(i), x1 = x0 + bar, y = level(i), t = top(i);
        sketch.lines.push_back({{{x0, y}, {x1, y}}, i, false, critical[i], std::nullopt});
        if (parents[i].empty()) {
            add_label(sketch, std::string(source_label), margin, y - sketch_line_twips / 2,
                      Tone::plain, std::nullopt);
            sketch.lines.push_back(
                {{{margin + source_width - 120, y}, {x0, y}}, i, true, critical[i], std::nullopt});
        }
        for (std::size_t up : parents[i]) {
            const int from_x = left(up) + bar, from_y = level(up), turn = x0 - column_gap / 2;
            SketchLine joint{{{from_x, from_y}}, i, true, on_critical_path(up, i), up};
            if (from_y != y) {
                joint.points.push_back({turn, from_y});
                joint.points.push_back({turn, y});
            }
            joint.points.push_back({x0, y});
            sketch.lines.push_back(std::move(joint));
        }
        const SheetRow& row = rows[i];
        add_label(sketch, row.segment, x0, t, Tone::plain, i);
        const std::string load = load_label(row);
        add_label(sketch, load, x1 - sketch_text_twips(load), t, Tone::plain, i);
        const int below = y + bar_zone / 2;
        add_label(sketch, dn_label(row), x0, below, Tone::plain, i);
        const std::string length = length_label(row);
        add_label(sketch, length, x1 - sketch_text_twips(length), below, Tone::plain, i);
        add_label(sketch, loop_note[i], x0, below + sketch_line_twips, loop_tone[i], i);
        if (row.consumer > 0.0f) {
            sketch.marks.push_back(
                {{(x0 + x1 - mark_size) / 2, y - mark_size / 2, mark_size, mark_size},
                 i,
                 critical[i]});
        }
    }
    return sketch;
}

SketchPen sketch_pen(const SketchLine& line) {
    return line.critical ? SketchPen{heavy, SketchInk::critical} : SketchPen{thin, SketchInk::pipe};
}

void draw_sketch(const SystemSketch& sketch, std::optional<std::size_t> current_row,
                 const SketchColours& colours, SketchCanvas& canvas,
                 std::optional<SketchBox> area) {
    // A line's box grown by its pen, so that a line along the area's edge is drawn.
    const auto seen = [&](SketchBox box) {
        box.x -= heavy;
        box.y -= heavy;
        box.width += 2 * heavy + 1;
        box.height += 2 * heavy + 1;
        return !area || area->overlaps(box);
    };
    if (!sketch.note.empty()) {
        canvas.text(sketch.note,
                    {margin, margin, sketch_text_twips(sketch.note), sketch_line_twips},
                    colours.text);
        return;
    }
    if (current_row) {
        if (const auto box = sketch_row_box(sketch, *current_row)) {
            canvas.fill(*box, tint(colours.highlight, colours.ground));
        }
    }
    const Rgb critical = tone_colour(Tone::critical, colours.text, colours.ground);
    for (const SketchLine& line : sketch.lines) {
        if (!seen(bounds(line))) {
            continue;
        }
        const SketchPen pen = sketch_pen(line);
        canvas.line(line.points, pen.width,
                    pen.ink == SketchInk::critical ? critical : colours.text);
    }
    for (const SketchMark& mark : sketch.marks) {
        if (seen(mark.box)) {
            canvas.fill(mark.box, mark.critical ? critical : colours.text);
        }
    }
    for (const SketchLabel& label : sketch.labels) {
        if (seen(label.box)) {
            canvas.text(label.text, label.box,
                        tone_colour(label.tone, colours.text, colours.ground));
        }
    }
}

std::optional<std::size_t> sketch_row_at(const SystemSketch& sketch, SketchPoint at) {
    // A segment's own line first: joints and labels lie close to the neighbours' lines.
    for (bool joints : {false, true}) {
        for (const SketchLine& line : sketch.lines) {
            if (line.joint != joints) {
                continue;
            }
            for (std::size_t k = 1; k < line.points.size(); ++k) {
                const SketchPoint a = line.points[k - 1], b = line.points[k];
                const SketchBox near{std::min(a.x, b.x) - reach, std::min(a.y, b.y) - reach,
                                     std::abs(a.x - b.x) + 2 * reach,
                                     std::abs(a.y - b.y) + 2 * reach};
                if (near.contains(at)) {
                    return line.row;
                }
            }
        }
    }
    for (const SketchMark& mark : sketch.marks) {
        if (mark.box.contains(at)) {
            return mark.row;
        }
    }
    for (const SketchLabel& label : sketch.labels) {
        if (label.row && label.box.contains(at)) {
            return label.row;
        }
    }
    return std::nullopt;
}

std::optional<SketchBox> sketch_row_box(const SystemSketch& sketch, std::size_t row) {
    for (const SketchLine& line : sketch.lines) {
        if (line.row == row && !line.joint) {
            SketchBox box = bounds(line);
            // With its labels above and below.
            box.y -= bar_offset;
            box.height = lane_height - 160;
            return box;
        }
    }
    return std::nullopt;
}

SketchPages sketch_pages(const SystemSketch& sketch, int page_width, int page_height) {
    SketchPages result;
    if (sketch.width <= 0 || sketch.height <= 0) {
        return result;
    }
    result.scale =
        std::clamp(static_cast<double>(page_width) / sketch.width, least_page_scale, 1.0);
    const int part_width = static_cast<int>(page_width / result.scale);
    const int part_height = static_cast<int>(page_height / result.scale);
    std::vector<std::pair<int, int>> across, down;
    for (const SketchLabel& label : sketch.labels) {
        across.emplace_back(label.box.x, label.box.right());
        down.emplace_back(label.box.y, label.box.bottom());
    }
    for (const SketchMark& mark : sketch.marks) {
        across.emplace_back(mark.box.x, mark.box.right());
        down.emplace_back(mark.box.y, mark.box.bottom());
    }
    for (const SketchLine& line : sketch.lines) {
        if (!line.joint) {
            const SketchBox box = bounds(line);
            across.emplace_back(box.x, box.right());
        }
    }
    const std::vector<int> x_ends = cuts(sketch.width, part_width, std::move(across));
    const std::vector<int> y_ends = cuts(sketch.height, part_height, std::move(down));
    // Down first, then across: a tall tree is read branch by branch.
    int x = 0;
    for (int x_end : x_ends) {
        int y = 0;
        for (int y_end : y_ends) {
            result.pages.push_back({{x, y, x_end - x, y_end - y}, {}});
            y = y_end;
        }
        x = x_end;
    }
    // Parts where nothing is drawn are left out.
    std::erase_if(result.pages, [&](const SketchPage& page) {
        const auto meets = [&](const SketchBox& box) { return page.part.overlaps(box); };
        return std::none_of(sketch.labels.begin(), sketch.labels.end(),
                            [&](const SketchLabel& l) { return meets(l.box); }) &&
               std::none_of(sketch.lines.begin(), sketch.lines.end(), [&](const SketchLine& l) {
                   SketchBox box = bounds(l);
                   ++box.width;
                   ++box.height;
                   return meets(box);
               });
    });
    if (result.pages.size() == 1) {
        return result;
    }

    // Where a joint leaves a page, the segment it leads to; where it comes in, the one it
    // comes from.
    for (const SketchLine& line : sketch.lines) {
        if (!line.joint || line.points.size() < 2) {
            continue;
        }
        for (SketchPage& page : result.pages) {
            const SketchBox& part = page.part;
            for (std::size_t k = 1; k < line.points.size(); ++k) {
                const SketchPoint a = line.points[k - 1], b = line.points[k];
                const bool a_in = part.contains(a), b_in = part.contains(b);
                if (a_in == b_in) {
                    continue;
                }
                // The point where the piece crosses the page's edge, just inside.
                const SketchPoint inside = a_in ? a : b, outside = a_in ? b : a;
                SketchPoint edge = inside;
                if (inside.y == outside.y) {
                    edge.x = outside.x > inside.x ? part.right() - 1 : part.x;
                } else {
                    edge.y = outside.y > inside.y ? part.bottom() - 1 : part.y;
                }
                if (!a_in && !line.from) {
                    continue;
                }
                const std::size_t named = a_in ? line.row : *line.from;
                std::string text = (a_in ? "至 " : "接 ") + sketch.segments[named];
                const int width = sketch_text_twips(text);
                SketchBox box{edge.x + 40, edge.y - sketch_line_twips - 20, width,
                              sketch_line_twips};
                if (inside.y == outside.y && outside.x > inside.x) {
                    box.x = edge.x - width - 40;  // its end at the right edge
                } else if (inside.y != outside.y) {
                    box.y =
                        outside.y > inside.y ? part.bottom() - sketch_line_twips - 20 : part.y + 20;
                }
                box.x = std::clamp(box.x, part.x, std::max(part.x, part.right() - width));
                box.y =
                    std::clamp(box.y, part.y, std::max(part.y, part.bottom() - sketch_line_twips));
                page.references.push_back({std::move(text), box, Tone::plain, named});
            }
        }
    }
    return result;
}

}  // namespace kestrune
