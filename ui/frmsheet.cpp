// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmsheet.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "conversions.h"
#include "design_steps.h"
#include "example_files.h"
#include "leading_number.h"
#include "messages.h"
#include "number_text.h"
#include "pipe_table.h"
#include "platform_files.h"
#include "sheet_file.h"
#include "sheet_messages.h"

namespace kestrune {
namespace {

const std::filesystem::path sheet_file{sheet_file_name};

bool is_blank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// A non-negative number by the one reading rule; a unit after it may stand ("12.5 m"), but
// not a second number ("12,5").
std::optional<double> non_negative(std::string_view entry) {
    if (is_blank(entry)) {
        return 0.0;
    }
    const std::string_view rest = unread_rest(entry);
    auto value = read_leading_number(entry);
    if (!value || rest.size() == entry.size() ||
        rest.find_first_of("0123456789") != std::string_view::npos || !(value.value() >= 0.0) ||
        !std::isfinite(value.value())) {
        return std::nullopt;
    }
    return value.value();
}

// Loop names, separated by blanks or commas: "1 2", "1,2", "1、2".
std::vector<std::string> loop_names(std::string_view entry) {
    std::string text;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const std::string_view at = entry.substr(i);
        if (at.substr(0, 3) == "，" || at.substr(0, 3) == "、" ||
            at.substr(0, 3) == "\xE3\x80\x80") {
            text += ' ';
            i += 2;
        } else {
            text += entry[i] == ',' || entry[i] == '\t' ? ' ' : entry[i];
        }
    }
    std::vector<std::string> names;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start) {
            names.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

std::string joined(const std::vector<std::string>& names, std::string_view between) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : std::string(between)) + name;
    }
    return out;
}

}  // namespace

void frmsheet::open(const std::filesystem::path& examples) {
    auto table = load_fitting_table(".");
    std::string table_file = std::string(fitting_table_file);
    if (table && table.value().fittings.empty() && !examples.empty()) {
        table = load_fitting_table(examples);
        table_file = path_text(examples / fitting_table_file);
    }
    if (table && table.value().fittings.empty()) {
        table = parse_fitting_table(example_file(fitting_table_file));  // the program's own
    }
    if (table) {
        fittings_ = table.value();
    } else {
        toolkit_.tell(fitting_table_problem(table.error(), table_file), Severity::warning);
    }
    auto loaded = load_sheet(sheet_file);
    if (!loaded) {
        save_failed_ = true;  // nothing is written over a file that could not be read
        toolkit_.tell(sheet_not_read(loaded.error()), Severity::warning);
        return;
    }
    if (loaded.value().fault) {
        toolkit_.tell(sheet_set_aside(*loaded.value().fault, sheet_file_name,
                                      path_text(loaded.value().set_aside->filename())),
                      Severity::warning);
    }
    sheet_.reset(loaded.value().sheet);
}

void frmsheet::add_sizing(const design_state& s) {
    SheetRow row = sheet_row_of(s);
    row.segment = sheet_.next_segment_number();
    sheet_.add_row(std::move(row));
    save();
}

EditOutcome frmsheet::edit(std::size_t index, SheetColumn column, std::string_view entry,
                           const PipeTable& pipes) {
    return edit_cells({{index, column, std::string(entry)}}, pipes);
}

EditOutcome frmsheet::edit_cells(const std::vector<CellEntry>& entries, const PipeTable& pipes) {
    // Each row as the entries leave it, in the order first touched.
    std::vector<std::pair<std::size_t, SheetRow>> changed;
    std::vector<design_state> sizings;
    std::string note;
    for (const CellEntry& entry : entries) {
        if (entry.row >= rows() || !column_layout(entry.column).editable) {
            return {};  // nothing to enter there
        }
        auto at = std::find_if(changed.begin(), changed.end(),
                               [&](const auto& c) { return c.first == entry.row; });
        if (at == changed.end()) {
            changed.emplace_back(entry.row, sheet_.data().rows[entry.row]);
            at = changed.end() - 1;
        }
        if (auto refused =
                read_entry(at->second, entry.column, entry.text, pipes, sizings, note)) {
            return {false, *refused};
        }
    }
    if (sheet_.change_rows(std::move(changed))) {
        save();
    }
    // Only a re-sizing that was taken is logged, after the sheet holds it.
    for (const design_state& s : sizings) {
        if (auto problem = log_sizing_(s)) {
            warnings_.push_back(*problem);
        }
    }
    return {true, note};
}

std::optional<std::string> frmsheet::read_entry(SheetRow& row, SheetColumn column,
                                                std::string_view entry, const PipeTable& pipes,
                                                std::vector<design_state>& sizings,
                                                std::string& note) const {
    switch (column) {
        case SheetColumn::segment:
            row.segment = std::string(entry);
            return std::nullopt;
        case SheetColumn::length: {
            auto length = non_negative(entry);
            if (!length) {
                return length_refused(entry);
            }
            row.length = *length;
            return std::nullopt;
        }
        case SheetColumn::xi: {
            auto xi = evaluate_xi(entry, fittings_, row.dn);
            if (!xi) {
                return xi_refused(xi.error());
            }
            row.xi_entry = std::string(entry);
            row.xi = xi.value();
            return std::nullopt;
        }
        case SheetColumn::dn: {
            auto dn = read_int16_field(entry);
            if (!dn) {
                return diameter_out_of_range(entry);
            }
            auto d = find_inner_diameter(pipes, dn.value());
            if (!d) {
                return diameter_not_in_table(dn.value());
            }
            // The row's own flow and parameters, the same formula operations as any sizing.
            design_state s = sizing_state_of(row, pipes);
            if (auto fault = size_pipe(s, PipeSize{dn.value(), *d})) {
                return sizing_problem(*fault, s);
            }
            take_sizing(row, s);
            sizings.push_back(s);
            auto xi = evaluate_xi(row.xi_entry, fittings_, row.dn);
            if (xi) {
                row.xi = xi.value();
            } else if (note.empty()) {
                note = xi_kept_for_new_dn(xi.error(), row.xi);
            }
            return std::nullopt;
        }
        case SheetColumn::loops:
            row.loops = loop_names(entry);
            return std::nullopt;
        case SheetColumn::note:
            row.note = std::string(entry);
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

EditOutcome frmsheet::set_limit(std::string_view entry) {
    auto limit = non_negative(entry);
    if (!limit || !(*limit > 0.0)) {
        return {false, limit_refused(entry)};
    }
    sheet_.set_limit(*limit);
    save();
    return {true, {}};
}

bool frmsheet::undo() {
    if (!sheet_.undo()) {
        return false;
    }
    save();
    return true;
}

bool frmsheet::redo() {
    if (!sheet_.redo()) {
        return false;
    }
    save();
    return true;
}

bool frmsheet::move_row(std::size_t row, int direction) {
    if (!sheet_.move_row(row, direction)) {
        return false;
    }
    save();
    return true;
}

void frmsheet::remove_rows(const std::vector<std::size_t>& rows) {
    sheet_.remove_rows(rows);
    save();
}

ExportStamp frmsheet::stamp() const {
    std::error_code ignored;
    const std::tm now = local_time(std::time(nullptr));
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &now);
    return {path_text(std::filesystem::current_path(ignored).filename()), date,
            "Kestrune " + std::string(program_version())};
}

bool frmsheet::export_workbook() {
    return export_to(export_workbook_title, "计算表", "Excel 工作簿", ".xlsx",
                     [this](const std::filesystem::path& file) {
                         return export_xlsx(file, sheet_, fittings_, stamp());
                     });
}

bool frmsheet::export_report() {
    return export_to(
        export_report_title, "计算书", "PDF 文档", ".pdf",
        [this](const std::filesystem::path& file) { return export_pdf(file, sheet_, stamp()); });
}

bool frmsheet::export_to(
    std::string_view title, std::string_view stem, std::string_view type_name,
    std::string_view extension,
    const std::function<std::optional<ExportError>(const std::filesystem::path&)>& write) {
    std::error_code ignored;
    const std::string name = export_name(stem, extension, local_time(std::time(nullptr)));
    const auto file = toolkit_.choose_save_file(
        title, std::filesystem::current_path(ignored) / utf8_path(name), type_name, extension);
    if (!file) {
        return false;
    }
    if (auto error = write(*file)) {
        toolkit_.tell(export_problem(*error), Severity::warning);
        return false;
    }
    return true;
}

void frmsheet::show_changes() {
    toolkit_.sheet_changed();
    for (const std::string& warning : std::exchange(warnings_, {})) {
        toolkit_.tell(warning, Severity::warning);
    }
}

void frmsheet::save() {
    if (auto error = save_sheet(sheet_file, sheet_.data())) {
        if (!save_failed_) {
            warnings_.push_back(sheet_not_saved(*error));
        }
        save_failed_ = true;
        return;
    }
    save_failed_ = false;
}

std::string frmsheet::cell(std::size_t index, SheetColumn column) const {
    return cell_text(sheet_, index, column);
}

std::string frmsheet::edit_text(std::size_t index, SheetColumn column) const {
    if (column == SheetColumn::xi) {
        return sheet_.data().rows.at(index).xi_entry;
    }
    return cell(index, column);
}

std::string frmsheet::loop_cell(std::size_t index, LoopColumn column) const {
    const LoopResult& loop = sheet_.report().loops.at(index);
    switch (column) {
        case LoopColumn::loop:
            return loop.name;
        case LoopColumn::segments: {
            std::vector<std::string> names;
            for (std::size_t segment : loop.segments) {
                names.push_back(sheet_.data().rows[segment].segment);
            }
            return joined(names, ",");
        }
        case LoopColumn::total:
            return loop.segments.empty() ? std::string(no_segments_note)
                                         : fixed_text(loop.total, 1);
        case LoopColumn::critical:
            return loop.critical ? std::string(critical_mark) : std::string();
        case LoopColumn::imbalance:
            if (loop.no_own_segments) {
                return std::string(no_own_segments_note);
            }
            if (!loop.imbalance) {
                return {};
            }
            return fixed_text(shown_imbalance(*loop.imbalance), 1) +
                   (loop.flagged ? " " + std::string(over_limit_mark) : std::string());
        case LoopColumn::surplus:
            return loop.imbalance ? fixed_text(loop.surplus, 1) : std::string();
        case LoopColumn::kv:
            return loop.kv && loop.flagged ? fixed_text(*loop.kv, 2) : std::string();
    }
    return {};
}

std::vector<std::string> frmsheet::loop_notes() const {
    std::vector<std::string> notes;
    const auto& lonely = sheet_.report().segments_in_no_loop;
    if (!lonely.empty()) {
        std::vector<std::string> names;
        for (std::size_t segment : lonely) {
            names.push_back(sheet_.data().rows[segment].segment);
        }
        notes.push_back(segments_in_no_loop(joined(names, "、")));
    }
    return notes;
}

}  // namespace kestrune
