// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet as a printed calculation (计算书), through libharu.
#include <hpdf.h>
#include <hpdf_fontdef.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "chinese_font.h"
#include "library_path.h"
#include "number_text.h"
#include "paper_pages.h"
#include "pipe_preview.h"
#include "platform_files.h"
#include "sheet_cells.h"
#include "sheet_columns.h"
#include "sheet_export.h"
#include "sheet_messages.h"
#include "system_head.h"
#include "system_sketch.h"
#include "utf8.h"
#include "whole_file.h"

namespace kestrune {
namespace {

// A4 landscape, in points.
constexpr float page_width = 841.89f;
constexpr float page_height = 595.28f;
constexpr float margin = 36.0f;
constexpr float body_size = 9.0f;
constexpr float table_size = 7.5f;
constexpr float title_size = 16.0f;

// The formulas, as the program computes them.
const char* const formulas[] = {
    "设计负荷  Q = K · Q用户 (W)，K 为富裕系数",
    "设计流量  G = 3.6 · Q / (4.187 · Δt) (kg/h)，Δt = 供水温度 - 回水温度 (K)，取 2 位小数",
    "流速  v = G / (ρ/1000 · 0.9 · 3.14 · d²) (m/s)，d 为内径 (mm)，ρ 为密度 (kg/m³)，取 3 位小数",
    "摩擦系数  λ = 0.0055 · (1 + (1000 · ν / (v · d) + 20000 · K / d)^0.333)，ν 为运动粘滞系数 "
    "(mm²/s)，K 为当量粗糙度 (mm)，取 4 位小数",
    "比摩阻  R = v² · λ · 500 · ρ / d (Pa/m)，取 2 位小数",
    "沿程损失  R·L (Pa)；动压  ρv²/2 (Pa)；局部损失  Z = Σξ · ρv²/2 (Pa)；总损失  ΔP = R·L + Z "
    "(Pa)",
    "不平衡率 = (最不利环路独立管段 ΣΔP - 本环路独立管段 ΣΔP) / 最不利环路独立管段 ΣΔP × 100%；"
    "平衡阀  Kv = V / √(Δp / 100 000 Pa)，V 为本环路独立管段的最大流量 (m³/h)",
};

class Report {
  public:
    // The pages go into paper; text is measured and checked against the font.
    Report(PaperReport& paper, HPDF_Font font, HPDF_FontDef fontdef)
        : paper_(paper), font_(font), fontdef_(fontdef) {
        paper_.width = page_width;
        paper_.height = page_height;
    }

    void new_page() {
        paper_.pages.emplace_back();
        page_ = paper_.pages.size() - 1;
        y_ = page_height - margin;
    }
    // Under every page, once all are written: the project, and 第 x 页 共 y 页.
    void number_pages(const std::string& project) {
        for (std::size_t k = 0; k < paper_.pages.size(); ++k) {
            page_ = k;
            text_at(margin, margin / 2, body_size, "工程名称：" + project);
            right_at(page_width - margin, margin / 2, body_size,
                     "第 " + std::to_string(k + 1) + " 页 共 " +
                         std::to_string(paper_.pages.size()) + " 页");
        }
    }
    // Room for height more points on this page, or a new one.
    bool room(float height) {
        if (y_ - height < margin) {
            new_page();
            return false;
        }
        return true;
    }
    void text(float x, float size, const std::string& utf8) { text_at(x, y_, size, utf8); }
    void text_at(float x, float y, float size, const std::string& utf8, Rgb colour = {}) {
        check(utf8);
        mark({PaperMark::Kind::text, {{x, y}}, size, colour, utf8});
    }
    void right(float right_edge, float size, const std::string& utf8) {
        right_at(right_edge, y_, size, utf8);
    }
    void right_at(float right_edge, float y, float size, const std::string& utf8) {
        text_at(right_edge - width_of(utf8, size), y, size, utf8);
    }
    // A line through points, width points wide; a filled box; a clip to a box and its end.
    void line(std::vector<PaperPoint> points, float width, Rgb colour = {}) {
        mark({PaperMark::Kind::line, std::move(points), width, colour, {}});
    }
    void box(PaperPoint lower_left, PaperPoint upper_right, Rgb colour) {
        mark({PaperMark::Kind::box, {lower_left, upper_right}, 0.0f, colour, {}});
    }
    void clip(PaperPoint lower_left, PaperPoint upper_right) {
        mark({PaperMark::Kind::clip, {lower_left, upper_right}, 0.0f, {}, {}});
    }
    void unclip() { mark({PaperMark::Kind::unclip, {}, 0.0f, {}, {}}); }
    // The text in lines of at most width: Chinese breaks between any two characters, a run of
    // Latin or Greek letters, digits and signs ("2.57", "m³/h", "ρv²/2") only before or after
    // it, unless it is longer than a line. Nothing is cut.
    std::vector<std::string> wrapped(const std::string& utf8, float size, float width) {
        // One or two bytes of UTF-8 and no blank: a character of a word or a number.
        const auto in_word = [](std::size_t bytes, char first) {
            return bytes <= 2 && first != ' ';
        };
        std::vector<std::string> lines;
        std::string_view rest = utf8;
        while (!rest.empty()) {
            std::vector<std::size_t> starts;  // of the characters that fit, and of the next
            std::size_t fits = 0;
            while (fits < rest.size()) {
                const int length = next_utf8_character(rest.substr(fits));
                const std::size_t next =
                    fits + static_cast<std::size_t>(length > 0 ? length : -length);
                if (fits > 0 && width_of(std::string(rest.substr(0, next)), size) > width) {
                    break;
                }
                starts.push_back(fits);
                fits = next;
            }
            starts.push_back(fits);
            if (fits < rest.size()) {
                const auto bytes = [&](std::size_t k) {
                    const std::size_t end =
                        k + 1 < starts.size()
                            ? starts[k + 1]
                            : starts[k] + static_cast<std::size_t>(std::abs(
                                              next_utf8_character(rest.substr(starts[k]))));
                    return end - starts[k];
                };
                std::size_t k = starts.size() - 1;  // the first character that did not fit
                while (k > 0 && in_word(bytes(k - 1), rest[starts[k - 1]]) &&
                       in_word(bytes(k), rest[starts[k]])) {
                    --k;
                }
                if (k > 0) {
                    fits = starts[k];
                }
            }
            lines.emplace_back(rest.substr(0, fits));
            rest.remove_prefix(fits);
            while (!rest.empty() && rest.front() == ' ') {
                rest.remove_prefix(1);  // a line starts with its text
            }
        }
        return lines;
    }
    // A paragraph, wrapped at the right margin.
    void line(float size, const std::string& utf8, float indent = 0.0f) {
        for (const std::string& part : wrapped(utf8, size, page_width - 2 * margin - indent)) {
            room(size * 1.5f);
            y_ -= size * 1.5f;
            text(margin + indent, size, part);
        }
    }
    void heading(const std::string& utf8) {
        y_ -= 6.0f;
        line(body_size + 2.0f, utf8);
    }
    void rule() { line({{margin, y_ - 3.0f}, {page_width - margin, y_ - 3.0f}}, 0.5f); }
    float& y() { return y_; }
    const std::set<char32_t>& missing() const { return missing_; }

  private:
    void mark(PaperMark m) { paper_.pages[page_].marks.push_back(std::move(m)); }
    // The width of a text in the font at a size, points.
    float width_of(const std::string& utf8, float size) const {
        const HPDF_TextWidth width =
            HPDF_Font_TextWidth(font_, reinterpret_cast<const HPDF_BYTE*>(utf8.data()),
                                static_cast<HPDF_UINT>(utf8.size()));
        return static_cast<float>(width.width) * size / 1000.0f;
    }
    // Every character drawn must be in the font: none is left to a missing glyph.
    void check(const std::string& utf8) {
        std::string_view rest = utf8;
        while (!rest.empty()) {
            const int length = next_utf8_character(rest);
            if (length <= 0) {
                missing_.insert(U'?');
                rest.remove_prefix(static_cast<std::size_t>(-length));
                continue;
            }
            const auto* b = reinterpret_cast<const unsigned char*>(rest.data());
            char32_t code = length == 1   ? b[0]
                            : length == 2 ? ((b[0] & 0x1Fu) << 6) | (b[1] & 0x3Fu)
                            : length == 3
                                ? ((b[0] & 0x0Fu) << 12) | ((b[1] & 0x3Fu) << 6) | (b[2] & 0x3Fu)
                                : ((b[0] & 0x07u) << 18) | ((b[1] & 0x3Fu) << 12) |
                                      ((b[2] & 0x3Fu) << 6) | (b[3] & 0x3Fu);
            if (code != U' ' &&
                (code > 0xFFFF ||
                 HPDF_TTFontDef_GetGlyphid(fontdef_, static_cast<HPDF_UINT16>(code)) == 0)) {
                missing_.insert(code);
            }
            rest.remove_prefix(static_cast<std::size_t>(length));
        }
    }

    PaperReport& paper_;
    HPDF_Font font_;
    HPDF_FontDef fontdef_;
    std::size_t page_ = 0;
    float y_ = 0.0f;
    std::set<char32_t> missing_;
};

// A ruled table on paper: columns of the sheet's, widths in proportion to the sheet's, and
// lines that wrap within their cell rather than being cut.
struct PaperTable {
    std::vector<std::size_t> columns;  // into sheet_columns
    std::vector<float> edges;          // left of each column, then the right of the last
};

PaperTable paper_table(std::vector<std::size_t> columns, float width) {
    int total = 0;
    for (std::size_t c : columns) {
        total += sheet_columns[c].width;
    }
    const float unit = width / static_cast<float>(total);
    PaperTable t{std::move(columns), {margin}};
    for (std::size_t c : t.columns) {
        t.edges.push_back(t.edges.back() + unit * static_cast<float>(sheet_columns[c].width));
    }
    return t;
}

constexpr float cell_pad = 2.0f;  // pt between a cell's rules and its text
constexpr float table_line = table_size * 1.4f;

// One row of cells, each wrapped in its column; numbers stand right, text left. The row
// goes to a new page, with the header drawn again, when it does not fit.
void table_row(Report& r, const PaperTable& t, const std::vector<std::string>& cells,
               const std::function<void()>& header_again, bool header = false) {
    std::vector<std::vector<std::string>> lines;
    std::size_t most = 1;
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        lines.push_back(
            r.wrapped(cells[i], table_size, t.edges[i + 1] - t.edges[i] - 2 * cell_pad));
        most = std::max(most, lines.back().size());
    }
    const float height = static_cast<float>(most) * table_line + cell_pad;
    if (!r.room(height) && header_again) {
        header_again();
    }
    const float top = r.y();
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        const bool number = sheet_columns[t.columns[i]].format != CellFormat::text;
        float y = top;
        for (const std::string& part : lines[i]) {
            y -= table_line;
            if (number) {
                r.right_at(t.edges[i + 1] - cell_pad, y + cell_pad, table_size, part);
            } else {
                r.text_at(t.edges[i] + cell_pad, y + cell_pad, table_size, part);
            }
        }
    }
    r.y() = top - height;
    const float width = header ? 0.8f : 0.4f;
    if (header) {
        r.line({{t.edges.front(), top}, {t.edges.back(), top}}, width);
    }
    r.line({{t.edges.front(), r.y()}, {t.edges.back(), r.y()}}, width);
    for (float x : t.edges) {
        r.line({{x, top}, {x, r.y()}}, width);
    }
}

// The header: the quantity's name, then its symbol and unit ("沿程损失" over "R·L (Pa)"),
// aligned as the column's numbers are.
void table_header(Report& r, const PaperTable& t) {
    r.room(4 * table_line);
    std::vector<std::string> cells;
    for (std::size_t c : t.columns) {
        const std::string header(sheet_columns[c].header);
        const std::size_t blank = header.rfind(' ');
        std::string text = blank == std::string::npos ? header : header.substr(0, blank);
        std::string symbol = blank == std::string::npos ? "" : header.substr(blank + 1);
        if (!sheet_columns[c].unit.empty()) {
            symbol +=
                (symbol.empty() ? "" : " ") + ("(" + std::string(sheet_columns[c].unit) + ")");
        }
        cells.push_back(symbol.empty() ? text : text + " " + symbol);
    }
    table_row(r, t, cells, {}, true);
}

// A cell on paper: as on screen, flags in words, the note whole.
std::string printed_cell(const CalcSheet& calc, std::size_t row, std::size_t column) {
    if (sheet_columns[column].column == SheetColumn::note) {
        return calc.data().rows[row].note;
    }
    return shown_cell(calc, row, column).text;
}

// The sketch on paper: its twips (1/20 pt) scaled onto a part of the page, in the program's
// font; y grows downwards in the sketch and upwards on the page.
class PageSketch : public SketchCanvas {
  public:
    PageSketch(Report& r, const SketchBox& part, double scale, float left, float top)
        : r_(r), part_(part), scale_(static_cast<float>(scale)), left_(left), top_(top) {}
    void line(const std::vector<SketchPoint>& points, int width, Rgb colour) override {
        std::vector<PaperPoint> on_paper;
        for (const SketchPoint& p : points) {
            on_paper.push_back({x(p.x), y(p.y)});
        }
        r_.line(std::move(on_paper), points_of(width), colour);
    }
    void fill(const SketchBox& box, Rgb colour) override {
        r_.box({x(box.x), y(box.bottom())}, {x(box.right()), y(box.y)}, colour);
    }
    void text(const std::string& text, const SketchBox& box, Rgb colour) override {
        // Only what lies on this part: text the clip hides would still be found by a search.
        if (!part_.contains({box.x, box.y}) || !part_.contains({box.right() - 1, box.y})) {
            return;
        }
        const float size = static_cast<float>(sketch_points) * scale_;
        r_.text_at(x(box.x), y(box.y) - size * 0.88f, size, text,
                   colour);  // the baseline, an ascent down
    }

  private:
    float points_of(int twips) const { return static_cast<float>(twips) * scale_ / 20.0f; }
    float x(int twips) const { return left_ + points_of(twips - part_.x); }
    float y(int twips) const { return top_ - points_of(twips - part_.y); }
    Report& r_;
    SketchBox part_;
    float scale_, left_, top_;
};

// The system sketch, one part of it a page where it does not fit on one, each part framed
// by its references to the others.
void sketch_section(Report& r, const CalcSheet& calc, const std::function<void()>& heading) {
    const SystemSketch sketch = system_sketch(calc);
    const float width = page_width - 2 * margin;
    const SketchPages split = sketch_pages(sketch, static_cast<int>(width * 20),
                                           static_cast<int>((page_height - 2 * margin - 40) * 20));
    if (!split.pages.empty()) {
        // The heading and the legend on the page of the first part.
        r.room(static_cast<float>(split.pages[0].part.height * split.scale / 20.0) + body_size * 6);
    }
    heading();
    r.line(body_size,
           "管段号标在管线上方，管径与管长标在下方；方块为用户，标其负荷；粗线为最不利环路，"
           "超限的环路在其末端用户处标出不平衡率。",
           12.0f);
    const SketchColours paper{{0, 0, 0}, {255, 255, 255}, {255, 255, 255}};
    for (std::size_t k = 0; k < split.pages.size(); ++k) {
        const SketchPage& part = split.pages[k];
        const float height = static_cast<float>(part.part.height * split.scale / 20.0);
        if (k > 0) {
            r.new_page();
        }
        if (split.pages.size() > 1) {
            r.line(body_size, "系统简图（" + std::to_string(k + 1) + "/" +
                                  std::to_string(split.pages.size()) + "）");
        }
        const float top = r.y() - 6.0f;
        r.clip({margin, top - height}, {margin + width, top});
        PageSketch canvas(r, part.part, split.scale, margin, top);
        draw_sketch(sketch, std::nullopt, paper, canvas, part.part);
        for (const SketchLabel& reference : part.references) {
            canvas.text(reference.text, reference.box, {0, 0, 0});
        }
        r.unclip();
        r.y() = top - height;
    }
}

// A loop's segments in a ruled table, and their 合计: the length and the losses summed as the
// loop's ΣΔP is, from each segment's own.
void loop_table(Report& r, const CalcSheet& calc, const LoopResult& loop) {
    const std::vector<std::size_t> path = loop_path(calc, loop);
    if (path.empty()) {
        return;
    }
    std::vector<std::size_t> columns;
    for (SheetColumn c :
         {SheetColumn::segment, SheetColumn::flow, SheetColumn::length, SheetColumn::dn,
          SheetColumn::velocity, SheetColumn::resistance, SheetColumn::friction_loss,
          SheetColumn::xi, SheetColumn::local_loss, SheetColumn::total_loss}) {
        columns.push_back(column_index(c));
    }
    r.y() -= 3.0f;
    const PaperTable t = paper_table(columns, page_width - 2 * margin);
    table_header(r, t);
    double length = 0.0, friction = 0.0, local = 0.0, total = 0.0;
    for (std::size_t s : path) {
        std::vector<std::string> cells;
        for (std::size_t c : t.columns) {
            cells.push_back(printed_cell(calc, s, c));
        }
        table_row(r, t, cells, [&] { table_header(r, t); });
        length += calc.data().rows[s].length;
        friction += calc.losses()[s].friction;
        local += calc.losses()[s].local;
        total += calc.losses()[s].total;
    }
    std::vector<std::string> sum(t.columns.size());
    sum[0] = "合计";
    sum[2] = shortest_text(std::round(length * 1000.0) / 1000.0);  // no binary tail of the sum
    sum[6] = fixed_text(friction, 1);
    sum[8] = fixed_text(local, 1);
    sum[9] = fixed_text(total, 1);
    table_row(r, t, sum, [&] { table_header(r, t); });
    r.y() -= 3.0f;
}

std::string path_between(const CalcSheet& calc) {
    return calc.has_network() ? " → " : "、";
}

void write_report(Report& r, const CalcSheet& calc, const ExportStamp& stamp,
                  const FittingTable& fittings) {
    const SheetData& data = calc.data();
    r.new_page();
    r.y() -= title_size;
    r.text(margin, title_size, "室内供暖系统水力计算书");
    r.line(body_size, "工程名称：" + stamp.project + "    日期：" + stamp.date + "    计算程序：" +
                          stamp.program);
    // Who designed it is printed where it is known; the checkers sign on paper.
    const std::string designer = stamp.designer.empty() ? "____________" : stamp.designer;
    r.line(body_size, "设计：" + designer + "    校对：____________    审核：____________");
    r.rule();
    // The sections numbered as they come: a sheet without a network has no 管网.
    int sections = 0;
    const auto section = [&](std::string_view title) {
        static constexpr const char* numerals[] = {"一", "二", "三", "四", "五",
                                                   "六", "七", "八", "九", "十"};
        r.heading(std::string(numerals[sections++]) + "、" + std::string(title));
    };

    section("计算公式");
    for (const char* formula : formulas) {
        r.line(body_size, formula, 12.0f);
    }

    section("计算参数");
    std::set<std::string> parameter_sets;
    for (const SheetRow& row : data.rows) {
        parameter_sets.insert(
            "富裕系数 " + float_box_form(row.k_margin) + "，密度 ρ " + float_box_form(row.rho) +
            " kg/m³，供水 " + std::to_string(row.t_supply) + " °C，回水 " +
            std::to_string(row.t_return) + " °C，粘滞系数 ν " + float_box_form(row.nu) +
            " mm²/s，粗糙度 K " + float_box_form(row.k_rough) + " mm");
    }
    for (const std::string& set : parameter_sets) {
        r.line(body_size, set, 12.0f);
    }
    r.line(body_size,
           "并联环路不平衡率限值 " + shortest_text(data.limit) +
               " %（GB 50019-2003 第 4.8.6 条，GB 50736-2012 沿用）；流速限值按 GB 50736-2012 表 "
               "5.9.13。",
           12.0f);

    if (calc.has_network()) {
        section("管网");
        r.line(body_size, network_in_words(data.rows), 12.0f);
        for (const std::string& fault : network_fault_notes(calc.network(), data.rows)) {
            r.line(body_size, fault, 12.0f);
        }
        r.line(body_size, pipe_choices_in_words(data.rows, data.resistance_limit), 12.0f);
        if (calc.network().faults.empty()) {
            sketch_section(r, calc, [&] { section("系统简图"); });
        }
    }

    r.room(body_size * 3 + 6 * table_line);  // the heading with the header and a first row
    section("水力计算表");
    std::vector<std::size_t> every(sheet_columns.size());
    for (std::size_t c = 0; c < every.size(); ++c) {
        every[c] = c;
    }
    const PaperTable t = paper_table(every, page_width - 2 * margin);
    table_header(r, t);
    for (std::size_t i = 0; i < data.rows.size(); ++i) {
        std::vector<std::string> cells;
        for (std::size_t c : t.columns) {
            cells.push_back(printed_cell(calc, i, c));
        }
        table_row(r, t, cells, [&] { table_header(r, t); });
    }

    section("局部阻力系数");
    if (std::all_of(data.rows.begin(), data.rows.end(),
                    [](const SheetRow& row) { return row.xi_entry.empty(); })) {
        r.line(body_size, "各管段均未填写。", 12.0f);
    }
    for (const SheetRow& row : data.rows) {
        if (!row.xi_entry.empty()) {
            r.line(body_size,
                   "管段 " + row.segment + "（DN" + std::to_string(row.dn) + "）：" + row.xi_entry +
                       "。" + xi_in_parts(row.xi_entry, fittings, row.dn, row.xi),
                   12.0f);
        }
    }

    section("环路与不平衡率");
    const LoopReport& report = calc.report();
    for (const LoopResult& loop : report.loops) {
        std::string segments;
        for (std::size_t s : loop_path(calc, loop)) {
            segments += (segments.empty() ? "" : path_between(calc)) + data.rows[s].segment;
        }
        std::string line = "环路 " + loop.name + "：管段 " + (segments.empty() ? "无" : segments) +
                           "，ΣΔP = " + fixed_text(loop.total, 1) + " Pa";
        if (loop.critical) {
            line += "，为最不利环路";
        } else if (loop.no_own_segments) {
            line += "，没有独立管段，不计算不平衡率";
        } else if (loop.imbalance) {
            line += "，不平衡率 " + fixed_text(shown_imbalance(*loop.imbalance), 1) + " %";
            line += loop.flagged
                        ? "，超过限值 " + shortest_text(data.limit) + " %，需消除 " +
                              fixed_text(loop.surplus, 1) + " Pa" +
                              (loop.kv ? "，平衡阀 Kv = " + fixed_text(*loop.kv, 2) : std::string())
                        : "，满足要求";
        }
        r.room(body_size * 3 + 6 * table_line);  // the loop's line with its table's first rows
        r.line(body_size, line + "。", 12.0f);
        loop_table(r, calc, loop);
    }

    if (const auto head = system_head(calc)) {
        section("系统所需压头");
        for (const std::string& line : head_lines(*head)) {
            r.line(body_size, line, 12.0f);
        }
    }

    section("提示");
    std::vector<std::string> warnings;
    for (const SheetRow& row : data.rows) {
        if (row.v > velocity_limit(row.dn)) {
            warnings.push_back("管段 " + row.segment + " 的流速 " + float_box_form(row.v) +
                               " m/s 超过 GB 50736-2012 表 5.9.13 对 DN" + std::to_string(row.dn) +
                               " 的限值 " + float_box_form(velocity_limit(row.dn)) + " m/s。");
        }
        if (row.length == 0.0) {
            warnings.push_back("管段 " + row.segment + " 的管长为 0。");
        }
    }
    for (std::size_t s : report.segments_in_no_loop) {
        warnings.push_back(segments_in_no_loop(data.rows[s].segment));
    }
    for (const LoopResult& loop : report.loops) {
        if (loop.segments.empty()) {
            warnings.push_back("环路 " + loop.name + " " + std::string(no_segments_note) + "。");
        }
        if (loop.flagged) {
            warnings.push_back("环路 " + loop.name + " 的不平衡率超过限值。");
        }
    }
    if (warnings.empty()) {
        warnings.push_back("无。");
    }
    for (const std::string& warning : warnings) {
        r.line(body_size, warning, 12.0f);
    }
    r.number_pages(stamp.project);
}

void on_error(HPDF_STATUS, HPDF_STATUS, void* failed) {
    *static_cast<bool*>(failed) = true;
}

}  // namespace

namespace {

// The 计算书 laid out into paper, in pdf's copy of the system's font (embedded when it is to
// be written): nothing, or why not (no font, or one that lacks a glyph).
std::optional<ExportError> lay_out(PaperReport& paper, HPDF_Doc pdf, HPDF_Font& font, bool embed,
                                   const bool& failed, const CalcSheet& sheet,
                                   const ExportStamp& stamp, const FittingTable& fittings) {
    const auto font_file = chinese_font();
    if (!font_file) {
        return ExportError{std::nullopt, true, {}};
    }
    HPDF_UseUTFEncodings(pdf);
    const char* name = HPDF_LoadTTFontFromFile2(pdf, library_path(font_file->file).c_str(),
                                                font_file->index, embed ? HPDF_TRUE : HPDF_FALSE);
    font = name != nullptr ? HPDF_GetFont(pdf, name, "UTF-8") : nullptr;
    HPDF_FontDef fontdef = name != nullptr ? HPDF_GetFontDef(pdf, name) : nullptr;
    if (font == nullptr || fontdef == nullptr || failed) {
        return ExportError{std::nullopt, true, {}};
    }
    paper.font_file = font_file->file;
    paper.font_index = static_cast<int>(font_file->index);
    paper.font_name = font_file->name;
    Report report(paper, font, fontdef);
    write_report(report, sheet, stamp, fittings);
    if (!report.missing().empty()) {
        std::string missing;
        for (char32_t c : report.missing()) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            missing += (missing.empty() ? "" : " ") + std::string(code);
        }
        return ExportError{std::nullopt, true, missing};
    }
    return std::nullopt;
}

void set_fill(HPDF_Page page, Rgb colour) {
    HPDF_Page_SetRGBFill(page, colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f);
}

// The laid-out pages as the PDF's.
void write_pages(HPDF_Doc pdf, HPDF_Font font, const PaperReport& paper) {
    for (const PaperPage& sheet_page : paper.pages) {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_LANDSCAPE);
        for (const PaperMark& m : sheet_page.marks) {
            switch (m.kind) {
                case PaperMark::Kind::text:
                    set_fill(page, m.colour);
                    HPDF_Page_SetFontAndSize(page, font, m.size);
                    HPDF_Page_BeginText(page);
                    HPDF_Page_TextOut(page, m.points[0].x, m.points[0].y, m.text.c_str());
                    HPDF_Page_EndText(page);
                    break;
                case PaperMark::Kind::line:
                    HPDF_Page_SetLineWidth(page, m.size);
                    HPDF_Page_SetRGBStroke(page, m.colour.r / 255.0f, m.colour.g / 255.0f,
                                           m.colour.b / 255.0f);
                    HPDF_Page_MoveTo(page, m.points[0].x, m.points[0].y);
                    for (std::size_t k = 1; k < m.points.size(); ++k) {
                        HPDF_Page_LineTo(page, m.points[k].x, m.points[k].y);
                    }
                    HPDF_Page_Stroke(page);
                    break;
                case PaperMark::Kind::box:
                case PaperMark::Kind::clip:
                    if (m.kind == PaperMark::Kind::clip) {
                        HPDF_Page_GSave(page);
                    } else {
                        set_fill(page, m.colour);
                    }
                    HPDF_Page_Rectangle(page, m.points[0].x, m.points[0].y,
                                        m.points[1].x - m.points[0].x,
                                        m.points[1].y - m.points[0].y);
                    if (m.kind == PaperMark::Kind::clip) {
                        HPDF_Page_Clip(page);
                        HPDF_Page_EndPath(page);
                    } else {
                        HPDF_Page_Fill(page);
                    }
                    break;
                case PaperMark::Kind::unclip:
                    HPDF_Page_GRestore(page);
                    break;
            }
        }
    }
}

}  // namespace

std::optional<ExportError> export_pdf(const std::filesystem::path& file, const CalcSheet& sheet,
                                      const ExportStamp& stamp, const FittingTable& fittings) {
    if (const FileKind there = file_kind(file);
        there != FileKind::missing && there != FileKind::regular) {
        return ExportError{not_a_file(file, there), false, {}};
    }
    bool failed = false;
    HPDF_Doc pdf = HPDF_New(on_error, &failed);
    if (pdf == nullptr) {
        return ExportError{file_error(file, ENOMEM), false, {}};
    }
    HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL);
    PaperReport paper;
    HPDF_Font font = nullptr;
    if (auto refused = lay_out(paper, pdf, font, true, failed, sheet, stamp, fittings)) {
        HPDF_Free(pdf);
        return refused;
    }
    write_pages(pdf, font, paper);
    const std::filesystem::path partner = export_partner(file);
    std::error_code ignored;
    std::filesystem::remove(partner, ignored);
    errno = 0;
    const HPDF_STATUS saved = HPDF_SaveToFile(pdf, library_path(partner).c_str());
    const int code = errno != 0 ? errno : EIO;
    HPDF_Free(pdf);
    return put_in_place(partner, file, saved == HPDF_OK && !failed ? 0 : code);
}

std::optional<ExportError> paper_report(PaperReport& paper, const CalcSheet& sheet,
                                        const ExportStamp& stamp, const FittingTable& fittings) {
    bool failed = false;
    HPDF_Doc pdf = HPDF_New(on_error, &failed);
    if (pdf == nullptr) {
        return ExportError{std::nullopt, true, {}};
    }
    paper = PaperReport{};
    HPDF_Font font = nullptr;
    auto refused = lay_out(paper, pdf, font, false, failed, sheet, stamp, fittings);
    HPDF_Free(pdf);
    return refused;
}

}  // namespace kestrune
