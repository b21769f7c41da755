// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmsheet.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "example_files.h"
#include "folder_lock.h"
#include "messages.h"
#include "pipe_table.h"
#include "platform_files.h"
#include "results_log.h"
#include "sheet_dialogs.h"
#include "sheet_entry.h"
#include "sheet_file.h"
#include "sheet_messages.h"

namespace kestrune {
namespace {

const std::filesystem::path sheet_file{sheet_file_name};

// The name of the program's own file in the working folder that a path names, if it does:
// an export must never take the place of the log, the sheet or a table.
std::optional<std::string> own_file_at(const std::filesystem::path& file) {
    std::error_code ignored;
    const auto folder =
        std::filesystem::weakly_canonical(std::filesystem::current_path(ignored), ignored);
    const auto target =
        std::filesystem::weakly_canonical(std::filesystem::absolute(file, ignored), ignored);
    for (std::string_view name : {results_log_name, sheet_file_name, fitting_table_file,
                                  nominal_diameter_file, inner_diameter_file, folder_lock_name}) {
        const std::filesystem::path own = folder / utf8_path(name);
        if (target == own || (std::filesystem::exists(own, ignored) &&
                              std::filesystem::equivalent(own, file, ignored))) {
            return std::string(name);
        }
    }
    return std::nullopt;
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
    if (!table) {
        // The program's own table stands in only after the engineer is told why.
        toolkit_.tell(fitting_table_problem(table.error(), table_file), Severity::warning);
        table = parse_fitting_table(example_file(fitting_table_file));
    }
    if (table) {
        fittings_ = table.value();
    }
    if (!fittings_.doubts.empty()) {
        toolkit_.tell(fitting_table_doubts(fittings_.doubts, table_file), Severity::information);
    }
    auto loaded = load_sheet(sheet_file);
    if (!loaded) {
        keep_off_file_ = true;  // nothing is written over a file that could not be read
        toolkit_.tell(sheet_not_read(loaded.error()), Severity::warning);
        return;
    }
    if (loaded.value().unread) {
        toolkit_.tell(sheet_unread_set_aside(*loaded.value().unread,
                                             path_text(loaded.value().set_aside->filename())),
                      Severity::warning);
    } else if (loaded.value().fault) {
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
                read_entry(at->second, entry.column, entry.text, fittings_, pipes, sizings, note)) {
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
    if (!exports_.workbook) {
        return false;  // a program built without the exports
    }
    return export_to(export_workbook_title, "计算表", "Excel 工作簿", ".xlsx",
                     [this](const std::filesystem::path& file) {
                         return exports_.workbook(file, sheet_, fittings_, stamp());
                     });
}

bool frmsheet::export_report() {
    if (!exports_.report) {
        return false;
    }
    return export_to(export_report_title, "计算书", "PDF 文档", ".pdf",
                     [this](const std::filesystem::path& file) {
                         return exports_.report(file, sheet_, stamp());
                     });
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
    if (const auto own = own_file_at(*file)) {
        toolkit_.tell(export_over_own_file(*own), Severity::warning);
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
    if (keep_off_file_) {
        unsaved_ = true;  // said at the start; the window says it on
        return;
    }
    unsaved_ = false;
    if (auto error = save_sheet(sheet_file, sheet_.data())) {
        unsaved_ = true;
        if (!save_failed_) {
            warnings_.push_back(sheet_not_saved(*error));
        }
        save_failed_ = true;
        return;
    }
    save_failed_ = false;
}

}  // namespace kestrune
