// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet as a printed calculation (计算书), through libharu.
#include <hpdf.h>
#include <hpdf_fontdef.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "chinese_font.h"
#include "library_path.h"
#include "number_text.h"
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
    Report(HPDF_Doc pdf, HPDF_Font font, HPDF_FontDef fontdef)
        : pdf_(pdf), font_(font), fontdef_(fontdef) {}

    void new_page() {
        page_ = HPDF_AddPage(pdf_);
        HPDF_Page_SetSize(page_, HPDF_PAGE_SIZE_A4, HPDF_PAGE_LANDSCAPE);
        y_ = page_height - margin;
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
    void text_at(float x, float y, float size, const std::string& utf8) {
        check(utf8);
        HPDF_Page_SetFontAndSize(page_, font_, size);
        HPDF_Page_BeginText(page_);
        HPDF_Page_TextOut(page_, x, y, utf8.c_str());
        HPDF_Page_EndText(page_);
    }
    HPDF_Page page() const { return page_; }
    void right(float right_edge, float size, const std::string& utf8) {
        HPDF_Page_SetFontAndSize(page_, font_, size);
        text(right_edge - HPDF_Page_TextWidth(page_, utf8.c_str()), size, utf8);
    }
    // The text cut to a width, with "…" where it was cut.
    std::string fitted(const std::string& utf8, float size, float width) {
        HPDF_Page_SetFontAndSize(page_, font_, size);
        if (HPDF_Page_TextWidth(page_, utf8.c_str()) <= width) {
            return utf8;
        }
        std::string cut;
        std::string_view rest = utf8;
        while (!rest.empty()) {
            const int length = next_utf8_character(rest);
            const auto step = static_cast<std::size_t>(length > 0 ? length : -length);
            const std::string longer = cut + std::string(rest.substr(0, step));
            if (HPDF_Page_TextWidth(page_, (longer + "…").c_str()) > width) {
                break;
            }
            cut = longer;
            rest.remove_prefix(step);
        }
        return cut + "…";
    }
    // A paragraph, wrapped at the right margin, character by character as Chinese is.
    void line(float size, const std::string& utf8, float indent = 0.0f) {
        HPDF_Page_SetFontAndSize(page_, font_, size);
        const float width = page_width - 2 * margin - indent;
        std::string_view rest = utf8;
        while (!rest.empty()) {
            std::size_t fits = 0;
            while (fits < rest.size()) {
                const int length = next_utf8_character(rest.substr(fits));
                const std::size_t next =
                    fits + static_cast<std::size_t>(length > 0 ? length : -length);
                if (fits > 0 &&
                    HPDF_Page_TextWidth(page_, std::string(rest.substr(0, next)).c_str()) > width) {
                    break;
                }
                fits = next;
            }
            room(size * 1.5f);
            y_ -= size * 1.5f;
            text(margin + indent, size, std::string(rest.substr(0, fits)));
            rest.remove_prefix(fits);
        }
    }
    void heading(const std::string& utf8) {
        y_ -= 6.0f;
        line(body_size + 2.0f, utf8);
    }
    void rule() {
        HPDF_Page_SetLineWidth(page_, 0.5f);
        HPDF_Page_MoveTo(page_, margin, y_ - 3.0f);
        HPDF_Page_LineTo(page_, page_width - margin, y_ - 3.0f);
        HPDF_Page_Stroke(page_);
    }
    float& y() { return y_; }
    const std::set<char32_t>& missing() const { return missing_; }

  private:
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

    HPDF_Doc pdf_;
    HPDF_Font font_;
    HPDF_FontDef fontdef_;
    HPDF_Page page_ = nullptr;
    float y_ = 0.0f;
    std::set<char32_t> missing_;
};

// The sheet's table: columns from its description, widths in proportion.
struct TableLayout {
    std::vector<float> left;   // of each column
    std::vector<float> right;  // of each column
};

TableLayout table_layout() {
    int total = 0;
    for (const ColumnLayout& c : sheet_columns) {
        total += c.width;
    }
    const float unit = (page_width - 2 * margin) / static_cast<float>(total);
    TableLayout t;
    float x = margin;
    for (const ColumnLayout& c : sheet_columns) {
        t.left.push_back(x);
        x += unit * static_cast<float>(c.width);
        t.right.push_back(x - 3.0f);
    }
    return t;
}

// The header in two lines: the quantity's name, then its symbol and unit ("沿程损失" over
// "R·L (Pa)"), so that each fits its column.
void table_header(Report& r, const TableLayout& t) {
    r.room(3 * table_size * 1.5f);
    std::vector<std::string> names, symbols;
    for (const ColumnLayout& c : sheet_columns) {
        const std::string header(c.header);
        const std::size_t blank = header.rfind(' ');
        names.push_back(blank == std::string::npos ? header : header.substr(0, blank));
        std::string symbol = blank == std::string::npos ? "" : header.substr(blank + 1);
        if (!c.unit.empty()) {
            symbol += (symbol.empty() ? "" : " ") + ("(" + std::string(c.unit) + ")");
        }
        symbols.push_back(symbol);
    }
    for (const auto* texts : {&names, &symbols}) {
        r.y() -= table_size * 1.5f;
        for (std::size_t i = 0; i < sheet_columns.size(); ++i) {
            r.text(t.left[i], table_size,
                   r.fitted((*texts)[i], table_size, t.right[i] - t.left[i]));
        }
    }
    r.rule();
}

// A cell on paper: as on screen, flags in words, the note cut short.
std::string printed_cell(const CalcSheet& calc, std::size_t row, std::size_t column) {
    if (sheet_columns[column].column == SheetColumn::note) {
        return first_characters(calc.data().rows[row].note, 12);
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
        HPDF_Page page = r_.page();
        HPDF_Page_SetLineWidth(page, points_of(width));
        HPDF_Page_SetRGBStroke(page, colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f);
        HPDF_Page_MoveTo(page, x(points.front().x), y(points.front().y));
        for (std::size_t k = 1; k < points.size(); ++k) {
            HPDF_Page_LineTo(page, x(points[k].x), y(points[k].y));
        }
        HPDF_Page_Stroke(page);
    }
    void fill(const SketchBox& box, Rgb colour) override {
        HPDF_Page page = r_.page();
        HPDF_Page_SetRGBFill(page, colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f);
        HPDF_Page_Rectangle(page, x(box.x), y(box.bottom()), points_of(box.width),
                            points_of(box.height));
        HPDF_Page_Fill(page);
        HPDF_Page_SetRGBFill(page, 0, 0, 0);
    }
    void text(const std::string& text, const SketchBox& box, Rgb colour) override {
        // Only what lies on this part: text the clip hides would still be found by a search.
        if (!part_.contains({box.x, box.y}) || !part_.contains({box.right() - 1, box.y})) {
            return;
        }
        const float size = static_cast<float>(sketch_points) * scale_;
        HPDF_Page_SetRGBFill(r_.page(), colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f);
        r_.text_at(x(box.x), y(box.y) - size * 0.88f, size, text);  // the baseline, an ascent down
        HPDF_Page_SetRGBFill(r_.page(), 0, 0, 0);
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
        HPDF_Page page = r.page();
        HPDF_Page_GSave(page);
        HPDF_Page_Rectangle(page, margin, top - height, width, height);
        HPDF_Page_Clip(page);
        HPDF_Page_EndPath(page);
        PageSketch canvas(r, part.part, split.scale, margin, top);
        draw_sketch(sketch, std::nullopt, paper, canvas, part.part);
        for (const SketchLabel& reference : part.references) {
            canvas.text(reference.text, reference.box, {0, 0, 0});
        }
        HPDF_Page_GRestore(page);
        r.y() = top - height;
    }
}

std::string path_between(const CalcSheet& calc) {
    return calc.has_network() ? " → " : "、";
}

void write_report(Report& r, const CalcSheet& calc, const ExportStamp& stamp) {
    const SheetData& data = calc.data();
    r.new_page();
    r.y() -= title_size;
    r.text(margin, title_size, "室内供暖系统水力计算书");
    r.line(body_size, "工程（工作目录）：" + stamp.folder_name + "    日期：" + stamp.date +
                          "    计算程序：" + stamp.program);
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

    section("水力计算表");
    const TableLayout t = table_layout();
    table_header(r, t);
    for (std::size_t i = 0; i < data.rows.size(); ++i) {
        if (!r.room(table_size * 1.5f)) {
            table_header(r, t);  // a new page: its header again
        }
        r.y() -= table_size * 1.5f;
        for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
            const std::string text = printed_cell(calc, i, c);
            if (sheet_columns[c].format == CellFormat::text) {
                r.text(t.left[c], table_size, r.fitted(text, table_size, t.right[c] - t.left[c]));
            } else {
                r.right(t.right[c], table_size, text);
            }
        }
    }

    section("局部阻力系数");
    for (const SheetRow& row : data.rows) {
        if (!row.xi_entry.empty()) {
            r.line(body_size,
                   "管段 " + row.segment + "（DN" + std::to_string(row.dn) + "）：" + row.xi_entry +
                       "，Σξ = " + shortest_text(row.xi),
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
        r.line(body_size, line + "。", 12.0f);
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
}

void on_error(HPDF_STATUS, HPDF_STATUS, void* failed) {
    *static_cast<bool*>(failed) = true;
}

}  // namespace

std::optional<ExportError> export_pdf(const std::filesystem::path& file, const CalcSheet& sheet,
                                      const ExportStamp& stamp) {
    const auto font_file = chinese_font();
    if (!font_file) {
        return ExportError{std::nullopt, true, {}};
    }
    if (const FileKind there = file_kind(file);
        there != FileKind::missing && there != FileKind::regular) {
        return ExportError{not_a_file(file, there), false, {}};
    }
    bool failed = false;
    HPDF_Doc pdf = HPDF_New(on_error, &failed);
    if (pdf == nullptr) {
        return ExportError{file_error(file, ENOMEM), false, {}};
    }
    HPDF_UseUTFEncodings(pdf);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL);
    const char* name = HPDF_LoadTTFontFromFile2(pdf, library_path(font_file->file).c_str(),
                                                font_file->index, HPDF_TRUE);
    HPDF_Font font = name != nullptr ? HPDF_GetFont(pdf, name, "UTF-8") : nullptr;
    HPDF_FontDef fontdef = name != nullptr ? HPDF_GetFontDef(pdf, name) : nullptr;
    if (font == nullptr || fontdef == nullptr || failed) {
        HPDF_Free(pdf);
        return ExportError{std::nullopt, true, {}};
    }
    Report report(pdf, font, fontdef);
    write_report(report, sheet, stamp);
    if (!report.missing().empty()) {
        std::string missing;
        for (char32_t c : report.missing()) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            missing += (missing.empty() ? "" : " ") + std::string(code);
        }
        HPDF_Free(pdf);
        return ExportError{std::nullopt, true, missing};
    }
    const std::filesystem::path partner = export_partner(file);
    std::error_code ignored;
    std::filesystem::remove(partner, ignored);
    errno = 0;
    const HPDF_STATUS saved = HPDF_SaveToFile(pdf, library_path(partner).c_str());
    const int code = errno != 0 ? errno : EIO;
    HPDF_Free(pdf);
    return put_in_place(partner, file, saved == HPDF_OK && !failed ? 0 : code);
}

}  // namespace kestrune
