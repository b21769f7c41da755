// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet as an Excel workbook with live formulas, through libxlsxwriter.
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "library_path.h"
#include "number_text.h"
#include "platform_files.h"
#include "print_colours.h"
#include "sheet_cells.h"
#include "sheet_columns.h"
#include "sheet_export.h"
#include "sheet_messages.h"
#include "system_head.h"
#include "whole_file.h"

namespace kestrune {
namespace {

constexpr char sheet_name[] = "水力计算表";
constexpr char loops_name[] = "环路";
constexpr char parameters_name[] = "参数";
constexpr lxw_row_t first_row = 2;  // below the header and the units
constexpr auto density_column = static_cast<lxw_col_t>(sheet_columns.size());  // after them
constexpr lxw_row_t first_loop_row = 3;  // below the limit and the header

std::string column_letter(lxw_col_t column) {
    return std::string(1, static_cast<char>('A' + column));
}

// A cell of the sheet's row: 'C5' for column C of the row at index row.
std::string cell(lxw_col_t column, lxw_row_t row) {
    return column_letter(column) + std::to_string(row + 1);
}

lxw_col_t column_of(SheetColumn column) {
    return static_cast<lxw_col_t>(column_index(column));
}

// An absolute range of a column of the sheet's rows, from the loops sheet.
std::string rows_of(SheetColumn column, lxw_row_t last) {
    const std::string letter = column_letter(column_of(column));
    return "'" + std::string(sheet_name) + "'!$" + letter + "$" + std::to_string(first_row + 1) +
           ":$" + letter + "$" + std::to_string(last + 1);
}

std::string density_rows(lxw_row_t last) {
    const std::string letter = column_letter(density_column);
    return "'" + std::string(sheet_name) + "'!$" + letter + "$" + std::to_string(first_row + 1) +
           ":$" + letter + "$" + std::to_string(last + 1);
}

struct Formats {
    lxw_format* header;
    lxw_format* unit;
    lxw_format* text;
    lxw_format* general;
    lxw_format* whole;
    lxw_format* tenths;
    lxw_format* hundredths;
    lxw_format* thousandths;
    lxw_format* flagged;
};

Formats make_formats(lxw_workbook* book) {
    const auto number = [book](const char* pattern) {
        lxw_format* f = workbook_add_format(book);
        format_set_num_format(f, pattern);
        return f;
    };
    Formats f{};
    f.header = workbook_add_format(book);
    format_set_bold(f.header);
    format_set_text_wrap(f.header);
    format_set_align(f.header, LXW_ALIGN_CENTER);
    f.unit = workbook_add_format(book);
    format_set_align(f.unit, LXW_ALIGN_CENTER);
    format_set_bottom(f.unit, LXW_BORDER_THIN);
    f.text = workbook_add_format(book);
    f.general = number("General");
    f.whole = number("0");
    f.tenths = number("0.0");
    f.hundredths = number("0.00");
    f.thousandths = number("0.000");
    f.flagged = workbook_add_format(book);
    // The flags' tone as the windows draw it on white, black text.
    const Rgb flag = tone_colour(Tone::too_fast, {0, 0, 0}, {0xFF, 0xFF, 0xFF});
    format_set_font_color(f.flagged, (flag.r << 16) | (flag.g << 8) | flag.b);
    format_set_bold(f.flagged);
    return f;
}

// The number format of a logged quantity, as the results window shows it.
lxw_format* logged_format(SheetColumn column, const Formats& f) {
    switch (column) {
        case SheetColumn::flow:
        case SheetColumn::resistance:
            return f.hundredths;
        case SheetColumn::velocity:
            return f.thousandths;
        default:
            return f.general;
    }
}

// Printed as a calculation is: A4 landscape, every column on one page's width (as many pages
// down as it takes), with the header rows on every page where there are some.
void set_up_printing(lxw_worksheet* ws, std::optional<lxw_row_t> last_header_row) {
    constexpr std::uint8_t a4 = 9;
    worksheet_set_paper(ws, a4);
    worksheet_set_landscape(ws);
    worksheet_fit_to_pages(ws, 1, 0);
    if (last_header_row) {
        worksheet_repeat_rows(ws, 0, *last_header_row);
    }
}

void write_sheet(lxw_workbook* book, const CalcSheet& calc, const Formats& f, bool cached) {
    lxw_worksheet* ws = workbook_add_worksheet(book, sheet_name);
    set_up_printing(ws, first_row - 1);
    const auto& rows = calc.data().rows;
    for (std::size_t i = 0; i < sheet_columns.size(); ++i) {
        const ColumnLayout& layout = sheet_columns[i];
        const auto c = static_cast<lxw_col_t>(i);
        worksheet_write_string(ws, 0, c, std::string(layout.header).c_str(), f.header);
        worksheet_write_string(ws, 1, c, std::string(layout.unit).c_str(), f.unit);
        worksheet_set_column(ws, c, c, layout.width + 2, nullptr);
    }
    worksheet_write_string(ws, 0, density_column, "密度 ρ", f.header);
    worksheet_write_string(ws, 1, density_column, "kg/m³", f.unit);
    worksheet_set_column(ws, density_column, density_column, 9, nullptr);
    worksheet_freeze_panes(ws, first_row, 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SheetRow& r = rows[i];
        const SegmentLosses& l = calc.losses()[i];
        const auto row = static_cast<lxw_row_t>(first_row + i);
        const auto put = [&](SheetColumn column, double value, lxw_format* format) {
            worksheet_write_number(ws, row, column_of(column), value, format);
        };
        const auto formula = [&](SheetColumn column, const std::string& text, double value) {
            worksheet_write_formula_num(ws, row, column_of(column), ("=" + text).c_str(), f.tenths,
                                        cached ? value : 0.0);
        };
        worksheet_write_string(ws, row, column_of(SheetColumn::segment), r.segment.c_str(), f.text);
        worksheet_write_string(ws, row, column_of(SheetColumn::upstream),
                               cell_text(calc, i, SheetColumn::upstream).c_str(), f.text);
        if (r.consumer > 0.0f) {
            put(SheetColumn::consumer, logged_value(r.consumer), f.general);
        }
        put(SheetColumn::load, logged_value(r.q_design), logged_format(SheetColumn::load, f));
        put(SheetColumn::flow, logged_value(r.g_design), logged_format(SheetColumn::flow, f));
        put(SheetColumn::length, r.length, f.general);
        put(SheetColumn::dn, r.dn, f.whole);
        put(SheetColumn::inner_diameter, logged_value(r.d), f.general);
        put(SheetColumn::velocity, logged_value(r.v), logged_format(SheetColumn::velocity, f));
        put(SheetColumn::resistance, logged_value(r.r), logged_format(SheetColumn::resistance, f));
        put(SheetColumn::xi, r.xi, f.general);
        worksheet_write_number(ws, row, density_column, logged_value(r.rho), f.general);
        const auto at = [row](SheetColumn column) { return cell(column_of(column), row); };
        const std::string rho = cell(density_column, row);
        formula(SheetColumn::friction_loss,
                at(SheetColumn::resistance) + "*" + at(SheetColumn::length), l.friction);
        formula(SheetColumn::dynamic_pressure, rho + "*" + at(SheetColumn::velocity) + "^2/2",
                l.dynamic);
        formula(SheetColumn::local_loss,
                at(SheetColumn::xi) + "*" + at(SheetColumn::dynamic_pressure), l.local);
        formula(SheetColumn::total_loss,
                at(SheetColumn::friction_loss) + "+" + at(SheetColumn::local_loss), l.total);
        worksheet_write_string(ws, row, column_of(SheetColumn::loops),
                               cell_text(calc, i, SheetColumn::loops).c_str(), f.text);
        worksheet_write_string(ws, row, column_of(SheetColumn::note), r.note.c_str(), f.text);
    }
}

// The head the system needs, under the loop table: live from the loops' ΔP, as the program
// gives it (1.1 × the most unfavourable loop's), with the entrance's flow and pressure.
void write_head(lxw_worksheet* ws, const CalcSheet& calc, const Formats& f, bool cached,
                lxw_row_t top, const std::string& totals) {
    const auto head = system_head(calc);
    const auto at = [top](lxw_row_t k) { return "$B$" + std::to_string(top + k + 1); };
    const auto label = [&](lxw_row_t k, const char* text) {
        worksheet_write_string(ws, top + k, 0, text, f.header);
    };
    const auto live = [&](lxw_row_t k, const char* text, const std::string& formula,
                          lxw_format* format, double value) {
        label(k, text);
        worksheet_write_formula_num(ws, top + k, 1, ("=" + formula).c_str(), format,
                                    cached ? value : 0.0);
    };
    const double loss = head ? head->critical_loss : 0.0;
    const double needed = head ? head->head : 0.0;
    live(0, "最不利环路阻力 (Pa)", "MAX(" + totals + ")", f.tenths, loss);
    live(1, "附加 10 % 后所需压头 (Pa)", at(0) + "*" + shortest_text(1.0 + head_allowance),
         f.tenths, needed);
    live(2, "所需压头 (kPa)", at(1) + "/1000", f.hundredths, needed / 1000.0);
    live(3, "所需压头 (m 水柱)", at(1) + "/" + shortest_text(pascal_per_metre_water), f.hundredths,
         needed / pascal_per_metre_water);
    lxw_row_t k = 4;
    if (head && head->mass_flow) {
        label(k, "入口流量 (kg/h)");
        worksheet_write_number(ws, top + k++, 1, *head->mass_flow, f.hundredths);
        label(k, "入口流量 (m³/h)");
        worksheet_write_number(ws, top + k++, 1, *head->volume_flow, f.thousandths);
    }
    if (const auto available = calc.data().available_pressure) {
        const std::string given = at(k);
        label(k, "入口资用压力 (Pa)");
        worksheet_write_number(ws, top + k++, 1, *available, f.tenths);
        const std::string surplus_cell = at(k);
        label(k, "入口富余 (Pa)");
        worksheet_write_formula_num(
            ws, top + k++, 1,
            ("=IF(" + given + ">=" + at(1) + "," + given + "-" + at(1) + ",\"\")").c_str(),
            f.tenths, cached && head && head->surplus ? *head->surplus : 0.0);
        if (head && head->volume_flow) {
            label(k, "入口调节阀 Kv");
            worksheet_write_formula_num(ws, top + k, 1,
                                        ("=IF(N(" + surplus_cell + ")>0," + at(5) + "/SQRT(" +
                                         surplus_cell + "/100000),\"\")")
                                            .c_str(),
                                        f.hundredths, cached && head->kv ? *head->kv : 0.0);
            ++k;
        }
        label(k, "入口资用压力不足 (Pa)");
        worksheet_write_formula_num(
            ws, top + k, 1,
            ("=IF(" + given + "<" + at(1) + "," + at(1) + "-" + given + ",\"\")").c_str(), f.tenths,
            cached && head && head->shortfall ? *head->shortfall : 0.0);
    }
}

void write_loops(lxw_workbook* book, const CalcSheet& calc, const Formats& f, bool cached) {
    lxw_worksheet* ws = workbook_add_worksheet(book, loops_name);
    set_up_printing(ws, std::nullopt);
    const LoopReport& report = calc.report();
    const auto last_sheet_row =
        static_cast<lxw_row_t>(first_row + std::max<std::size_t>(calc.data().rows.size(), 1) - 1);
    const auto last_loop_row =
        static_cast<lxw_row_t>(first_loop_row + std::max<std::size_t>(report.loops.size(), 1) - 1);
    worksheet_write_string(ws, 0, 0, "不平衡率限值 (%)", f.header);
    worksheet_write_number(ws, 0, 1, calc.data().limit, f.general);
    worksheet_write_string(ws, 0, 3, "最不利环路", f.header);
    const std::string totals =
        "$C$" + std::to_string(first_loop_row + 1) + ":$C$" + std::to_string(last_loop_row + 1);
    const std::string names =
        "$A$" + std::to_string(first_loop_row + 1) + ":$A$" + std::to_string(last_loop_row + 1);
    // Without loops there is no most unfavourable one: empty, as the program shows it, not #N/A.
    worksheet_write_formula_str(
        ws, 0, 4,
        ("=IFERROR(INDEX(" + names + ",MATCH(MAX(" + totals + ")," + totals + ",0)),\"\")").c_str(),
        f.text, report.critical && cached ? report.loops[*report.critical].name.c_str() : "");
    const char* headers[] = {"环路",
                             "管段",
                             "ΔP (Pa)",
                             "最不利",
                             "不平衡率 (%)",
                             "需消除 (Pa)",
                             "Kv",
                             "超限",
                             "本环路独立管段 ΔP (Pa)",
                             "最不利环路独立管段 ΔP (Pa)",
                             "本环路独立管段最大流量 (m³/h)"};
    for (lxw_col_t c = 0; c < 11; ++c) {
        worksheet_write_string(ws, first_loop_row - 1, c, headers[c], f.header);
        worksheet_set_column(ws, c, c, c == 1 ? 18 : 12, nullptr);
    }
    const std::string loop_rows = rows_of(SheetColumn::loops, last_sheet_row);
    const std::string totals_rows = rows_of(SheetColumn::total_loss, last_sheet_row);
    const std::string flow_rows = rows_of(SheetColumn::flow, last_sheet_row);
    const std::string density = density_rows(last_sheet_row);
    for (std::size_t i = 0; i < report.loops.size(); ++i) {
        const LoopResult& loop = report.loops[i];
        const auto row = static_cast<lxw_row_t>(first_loop_row + i);
        const std::string n = std::to_string(row + 1);
        // A segment belongs to a loop when the loop's name stands among its loop names, name
        // for name: FIND tells case apart and takes ?, * and ~ as they are, where SEARCH
        // would merge a and A and read wildcards.
        const auto in = [&](const std::string& name_cell) {
            return "ISNUMBER(FIND(\" \"&" + name_cell + "&\" \",\" \"&" + loop_rows + "&\" \"))";
        };
        const std::string mine = in("$A" + n);
        const std::string critical = in("$E$1");
        // As the window shows them: a network's loops as paths.
        const std::string segments = loop_cell(calc, i, LoopColumn::segments);
        worksheet_write_string(ws, row, 0, loop.name.c_str(), f.text);
        worksheet_write_string(ws, row, 1, segments.c_str(), f.text);
        // A loop that no segment carries has no ΔP, as the program says, and is never the
        // most unfavourable one.
        const std::string count = "SUMPRODUCT(--" + mine + ")";
        const std::string total = "=IF(" + count + "=0,\"" + std::string(no_segments_note) +
                                  "\",SUMPRODUCT(--" + mine + "," + totals_rows + "))";
        if (loop.segments.empty()) {
            worksheet_write_formula_str(ws, row, 2, total.c_str(), f.text,
                                        cached ? std::string(no_segments_note).c_str() : "");
        } else {
            worksheet_write_formula_num(ws, row, 2, total.c_str(), f.tenths,
                                        cached ? loop.total : 0.0);
        }
        // EXACT: a plain = would take a for A.
        worksheet_write_formula_str(ws, row, 3,
                                    ("=IF(EXACT(A" + n + ",$E$1),\"最不利\",\"\")").c_str(), f.text,
                                    cached && loop.critical ? "最不利" : "");
        // Own segments: this loop's not in the critical one, and the critical one's not in it.
        double own_sum = 0.0;
        double critical_own = 0.0;
        double largest_flow = 0.0;
        if (report.critical) {
            const LoopResult& worst = report.loops[*report.critical];
            const auto holds = [](const LoopResult& l, std::size_t s) {
                return std::find(l.segments.begin(), l.segments.end(), s) != l.segments.end();
            };
            for (std::size_t s : loop.segments) {
                if (!holds(worst, s)) {
                    own_sum += calc.losses()[s].total;
                    const SheetRow& r = calc.data().rows[s];
                    largest_flow = std::max(largest_flow, volume_flow(r));
                }
            }
            for (std::size_t s : worst.segments) {
                if (!holds(loop, s)) {
                    critical_own += calc.losses()[s].total;
                }
            }
        }
        worksheet_write_formula_num(
            ws, row, 8,
            ("=SUMPRODUCT(" + mine + "*(1-" + critical + ")*" + totals_rows + ")").c_str(),
            f.tenths, cached ? own_sum : 0.0);
        worksheet_write_formula_num(
            ws, row, 9,
            ("=SUMPRODUCT(" + critical + "*(1-" + mine + ")*" + totals_rows + ")").c_str(),
            f.tenths, cached ? critical_own : 0.0);
        worksheet_write_array_formula_num(
            ws, row, 10, row, 10,
            ("{=MAX(IF(" + mine + "*(1-" + critical + ")," + flow_rows + "/" + density + ",0))}")
                .c_str(),
            f.thousandths, cached ? largest_flow : 0.0);
        const std::string own_count = "SUMPRODUCT(" + mine + "*(1-" + critical + "))";
        const std::string imbalance = "=IF(OR(D" + n + "<>\"\"," + count + "=0),\"\",IF(" +
                                      own_count + "=0,\"" + std::string(no_own_segments_note) +
                                      "\",IF(J" + n + "<=0,\"\",100*(J" + n + "-I" + n + ")/J" + n +
                                      ")))";
        if (loop.imbalance) {
            worksheet_write_formula_num(ws, row, 4, imbalance.c_str(), f.tenths,
                                        cached ? *loop.imbalance : 0.0);
        } else {
            worksheet_write_formula_str(
                ws, row, 4, imbalance.c_str(), f.text,
                cached && loop.no_own_segments ? std::string(no_own_segments_note).c_str() : "");
        }
        const std::string surplus = "=IF(ISNUMBER(E" + n + "),J" + n + "-I" + n + ",\"\")";
        if (loop.imbalance) {
            worksheet_write_formula_num(ws, row, 5, surplus.c_str(), f.tenths,
                                        cached ? loop.surplus : 0.0);
        } else {
            worksheet_write_formula_str(ws, row, 5, surplus.c_str(), f.text, "");
        }
        const std::string flag = "=IF(ISNUMBER(E" + n + "),IF(ROUND(E" + n + ",1)>$B$1,\"" +
                                 std::string(over_limit_mark) + "\",\"\"),\"\")";
        worksheet_write_formula_str(
            ws, row, 7, flag.c_str(), f.flagged,
            cached && loop.flagged ? std::string(over_limit_mark).c_str() : "");
        const std::string kv = "=IF(AND(H" + n + "=\"" + std::string(over_limit_mark) + "\",F" + n +
                               ">0,K" + n + ">0),K" + n + "/SQRT(F" + n + "/100000),\"\")";
        if (loop.kv && loop.flagged) {
            worksheet_write_formula_num(ws, row, 6, kv.c_str(), f.hundredths,
                                        cached ? *loop.kv : 0.0);
        } else {
            worksheet_write_formula_str(ws, row, 6, kv.c_str(), f.text, "");
        }
    }
    write_head(ws, calc, f, cached, last_loop_row + 2, totals);
}

void write_parameters(lxw_workbook* book, const CalcSheet& calc, const FittingTable& fittings,
                      const ExportStamp& stamp, const Formats& f) {
    lxw_worksheet* ws = workbook_add_worksheet(book, parameters_name);
    set_up_printing(ws, lxw_row_t{0});
    const char* headers[] = {"管段号",        "富裕系数",      "密度 ρ (kg/m³)",
                             "供水温度 (°C)", "回水温度 (°C)", "粘滞系数 ν (mm²/s)",
                             "粗糙度 K (mm)", "摩擦系数 λ",    "内径 d (mm)"};
    for (lxw_col_t c = 0; c < 9; ++c) {
        worksheet_write_string(ws, 0, c, headers[c], f.header);
        worksheet_set_column(ws, c, c, 14, nullptr);
    }
    lxw_row_t row = 1;
    for (const SheetRow& r : calc.data().rows) {
        worksheet_write_string(ws, row, 0, r.segment.c_str(), f.text);
        const double values[] = {logged_value(r.k_margin),
                                 logged_value(r.rho),
                                 static_cast<double>(r.t_supply),
                                 static_cast<double>(r.t_return),
                                 logged_value(r.nu),
                                 logged_value(r.k_rough),
                                 logged_value(r.ycxs),
                                 logged_value(r.d)};
        for (lxw_col_t c = 0; c < 8; ++c) {
            worksheet_write_number(ws, row, c + 1, values[c], f.general);
        }
        ++row;
    }
    row += 1;
    worksheet_write_string(ws, row++, 0, "局部阻力系数表", f.header);
    for (const Fitting& fitting : fittings.fittings) {
        std::string values;
        for (const DnRange& range : fitting.ranges) {
            const std::string xi = shortest_text(range.xi);
            if (range.from == 0 && range.to == INT16_MAX) {
                values += xi;
            } else if (range.to == INT16_MAX) {
                values +=
                    (values.empty() ? "" : " ") + ("DN" + std::to_string(range.from) + "+:" + xi);
            } else if (range.from == range.to) {
                values +=
                    (values.empty() ? "" : " ") + ("DN" + std::to_string(range.from) + ":" + xi);
            } else {
                values += (values.empty() ? "" : " ") + ("DN" + std::to_string(range.from) + "-" +
                                                         std::to_string(range.to) + ":" + xi);
            }
        }
        worksheet_write_string(ws, row, 0, fitting.name.c_str(), f.text);
        worksheet_write_string(ws, row, 1, values.c_str(), f.text);
        worksheet_write_string(ws, row, 4, fitting.source.c_str(), f.text);
        ++row;
    }
    row += 1;
    worksheet_write_string(ws, row, 0, "程序", f.header);
    worksheet_write_string(ws, row++, 1, stamp.program.c_str(), f.text);
    worksheet_write_string(ws, row, 0, "日期", f.header);
    worksheet_write_string(ws, row++, 1, stamp.date.c_str(), f.text);
    worksheet_write_string(ws, row, 0, "工程名称", f.header);
    worksheet_write_string(ws, row++, 1, stamp.project.c_str(), f.text);
    worksheet_write_string(ws, row, 0, "设计人", f.header);
    worksheet_write_string(ws, row, 1, stamp.designer.c_str(), f.text);
}

// The stamp's local "YYYY-MM-DD HH:MM" as a time: the workbook's creation date is the one it
// states, so the same sheet exported with the same stamp gives the same bytes. 0 (now) if the
// stamp cannot be read.
time_t stamp_time(const std::string& date) {
    std::tm when{};
    if (std::sscanf(date.c_str(), "%4d-%2d-%2d %2d:%2d", &when.tm_year, &when.tm_mon, &when.tm_mday,
                    &when.tm_hour, &when.tm_min) != 5) {
        return 0;
    }
    when.tm_year -= 1900;
    when.tm_mon -= 1;
    when.tm_isdst = -1;
    const time_t time = std::mktime(&when);
    return time == static_cast<time_t>(-1) ? 0 : time;
}

}  // namespace

std::optional<ExportError> export_xlsx(const std::filesystem::path& file, const CalcSheet& sheet,
                                       const FittingTable& fittings, const ExportStamp& stamp,
                                       bool cached_results) {
    if (const FileKind there = file_kind(file);
        there != FileKind::missing && there != FileKind::regular) {
        return ExportError{not_a_file(file, there), false, {}};
    }
    const std::filesystem::path partner = export_partner(file);
    std::error_code ignored;
    std::filesystem::remove(partner, ignored);
    const std::string partner_name = library_path(partner);
    errno = 0;
    lxw_workbook* book = workbook_new(partner_name.c_str());
    if (book == nullptr) {
        return ExportError{file_error(file, errno != 0 ? errno : ENOMEM), false, {}};
    }
    lxw_doc_properties properties{};
    properties.created = stamp_time(stamp.date);
    workbook_set_properties(book, &properties);
    const Formats formats = make_formats(book);
    write_sheet(book, sheet, formats, cached_results);
    write_loops(book, sheet, formats, cached_results);
    write_parameters(book, sheet, fittings, stamp, formats);
    errno = 0;
    const lxw_error closed = workbook_close(book);
    const int code = errno != 0 ? errno : EIO;
    return put_in_place(partner, file, closed == LXW_NO_ERROR ? 0 : code);
}

}  // namespace kestrune
