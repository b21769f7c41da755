// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmsheet.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "column_widths.h"
#include "conversions.h"
#include "example_files.h"
#include "failure_words.h"
#include "folder_lock.h"
#include "messages.h"
#include "pipe_balance.h"
#include "pipe_table.h"
#include "platform_files.h"
#include "project_files.h"
#include "results_log.h"
#include "sheet_dialogs.h"
#include "sheet_entry.h"
#include "sheet_file.h"
#include "sheet_messages.h"
#include "sheet_network.h"
#include "whole_file.h"

namespace kestrune {
namespace {

// What a results log row holds of a sizing.
bool same_sizing(const SheetRow& a, const SheetRow& b) {
    return a.q_user == b.q_user && a.q_design == b.q_design && a.g_design == b.g_design &&
           a.dn == b.dn && a.d == b.d && a.v == b.v && a.r == b.r && a.ycxs == b.ycxs;
}

const std::filesystem::path sheet_file{sheet_file_name};

// The name of the program's own file in the working folder that a path names, if it does:
// an export must never take the place of the log, the sheet or a table.
std::optional<std::string> own_file_at(const std::filesystem::path& file) {
    std::error_code ignored;
    const auto folder =
        std::filesystem::weakly_canonical(std::filesystem::current_path(ignored), ignored);
    const auto target =
        std::filesystem::weakly_canonical(std::filesystem::absolute(file, ignored), ignored);
    for (std::string_view name :
         {results_log_name, sheet_file_name, fitting_table_file, column_widths_file,
          project_details_file, nominal_diameter_file, inner_diameter_file, folder_lock_name}) {
        const std::filesystem::path own = folder / utf8_path(name);
        if (target == own || (std::filesystem::exists(own, ignored) &&
                              std::filesystem::equivalent(own, file, ignored))) {
            return std::string(name);
        }
    }
    return std::nullopt;
}

}  // namespace

void frmsheet::load_fittings() {
    auto table = load_fitting_table(".");
    std::string table_file = std::string(fitting_table_file);
    if (table && table.value().fittings.empty() && !examples_.empty()) {
        table = load_fitting_table(examples_);
        table_file = path_text(examples_ / fitting_table_file);
    }
    fittings_source_ = table_file;
    if (table && table.value().fittings.empty()) {
        table = parse_fitting_table(example_file(fitting_table_file));  // the program's own
        fittings_source_ = own_fittings_source;
    }
    if (!table) {
        // The program's own table stands in only after the engineer is told why.
        toolkit_.tell(fitting_table_problem(table.error(), table_file), Severity::warning);
        table = parse_fitting_table(example_file(fitting_table_file));
        fittings_source_ = own_fittings_source;
    }
    if (table) {
        fittings_ = table.value();
    }
    if (!fittings_.doubts.empty()) {
        toolkit_.tell(fitting_table_doubts(fittings_.doubts, table_file), Severity::information);
    }
}

std::string frmsheet::fittings_window() {
    const std::size_t chosen =
        toolkit_.ask_choice(fittings_shown(fittings_, fittings_source_),
                            {std::string(edit_fittings_caption),
                             std::string(reread_fittings_caption), std::string(close_caption)},
                            2);
    if (chosen == 0) {
        // The working folder's own table, begun as a copy of the one in use.
        const std::filesystem::path own = std::filesystem::absolute(fitting_table_file);
        const FileKind there = file_kind(own);
        if (there != FileKind::missing && there != FileKind::regular) {
            return "无法编辑“" + path_text(own) + "”：" +
                   file_failure_reason(not_a_file(own, there)) + "。";
        }
        if (there == FileKind::missing) {
            std::string bytes(example_file(fitting_table_file));
            if (fittings_source_ != own_fittings_source) {
                if (std::string in_use = read_whole_file(utf8_path(fittings_source_));
                    !in_use.empty()) {
                    bytes = std::move(in_use);
                }
            }
            if (auto error = write_whole_file(own, bytes)) {
                return "无法写出“" + error->file + "”：" + file_failure_reason(*error) + "。";
            }
        }
        return toolkit_.open_with_system(own) ? fittings_being_edited(path_text(own))
                                              : export_not_opened(path_text(own));
    }
    if (chosen == 1) {
        load_fittings();
        // Every Σξ given by fittings follows the table as read now, in one step Ctrl+Z takes
        // back; one naming a fitting the table has lost keeps its value, and is named.
        SheetData after = sheet_.data();
        std::vector<std::string> recomputed;
        std::vector<std::string> kept;
        for (SheetRow& row : after.rows) {
            if (row.xi_entry.empty()) {
                continue;
            }
            const auto xi = evaluate_xi(row.xi_entry, fittings_, row.dn);
            if (!xi) {
                kept.push_back(row.segment);
            } else if (xi.value() != row.xi) {
                row.xi = xi.value();
                recomputed.push_back(row.segment);
            }
        }
        if (!recomputed.empty()) {
            take(std::move(after), {});
        }
        return fittings_reread(fittings_.fittings.size(), recomputed, kept);
    }
    return {};
}

void frmsheet::open(const std::filesystem::path& examples) {
    // Opened again for another project: nothing of the one left behind stays.
    examples_ = examples;
    last_export_.reset();
    save_failed_ = false;
    keep_off_file_ = false;
    unsaved_ = false;
    warnings_.clear();
    sheet_.reset(SheetData{});
    std::error_code ignored;
    project_ = read_project_details(std::filesystem::current_path(ignored));
    load_fittings();
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
    SheetData after = sheet_.data();
    after.rows.push_back(std::move(row));
    take(std::move(after), {});
}

EditOutcome frmsheet::edit(std::size_t index, SheetColumn column, std::string_view entry,
                           const PipeTable& pipes) {
    return edit_cells({{index, column, std::string(entry)}}, pipes);
}

std::size_t frmsheet::insert_row(std::size_t below) {
    SheetData after = sheet_.data();
    const std::size_t at = after.rows.empty() ? 0 : std::min(below + 1, after.rows.size());
    SheetRow row = typed_row(after.rows, at == 0 ? 0 : at - 1);
    after.rows.insert(after.rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    take(std::move(after), {});
    return at;
}

EditOutcome frmsheet::edit_cells(const std::vector<CellEntry>& entries, const PipeTable& pipes) {
    SheetData after = sheet_.data();
    // A block reaching below the last row brings the rows it needs.
    std::size_t needed = after.rows.size();
    for (const CellEntry& entry : entries) {
        needed = std::max(needed, entry.row + 1);
    }
    while (after.rows.size() < needed) {
        after.rows.push_back(typed_row(after.rows, after.rows.size() - 1));
    }
    std::vector<std::size_t> resized;  // rows a DN entry sized anew, in the order entered
    std::string note;
    for (const CellEntry& entry : entries) {
        if (!cell_editable(sheet_, entry.column)) {
            return {};  // nothing to enter there
        }
        bool sized = false;
        if (auto refused = read_entry(after.rows[entry.row], entry.column, entry.text, fittings_,
                                      pipes, sized, note)) {
            return {false, *refused};
        }
        if (sized && std::find(resized.begin(), resized.end(), entry.row) == resized.end()) {
            resized.push_back(entry.row);
        }
    }
    if (!network_given(after.rows)) {
        for (const CellEntry& entry : entries) {
            if (entry.column == SheetColumn::consumer && !(after.rows[entry.row].consumer > 0.0f)) {
                return {false, consumer_needed(after.rows[entry.row].segment)};
            }
        }
    }
    const std::string problem = take(std::move(after), resized);
    return {true, problem.empty() ? note : problem};
}

std::optional<EditOutcome> frmsheet::network_in_doubt() const {
    const auto faults = network_fault_notes(sheet_.network(), sheet_.data().rows);
    if (faults.empty()) {
        return std::nullopt;
    }
    std::string said;
    for (const std::string& fault : faults) {
        said += fault;
    }
    return EditOutcome{false, said + std::string(network_first_note)};
}

EditOutcome frmsheet::choose_pipes(const PipeTable& pipes) {
    if (auto doubt = network_in_doubt()) {
        return *doubt;  // the flows are not known
    }
    SheetData after = sheet_.data();
    const auto unsized = settle_network(after);
    const auto choices = kestrune::choose_pipes(after, pipes, fittings_);
    std::string note = pipes_chosen_note(choices, after.rows);
    if (!unsized.empty()) {
        note = rows_not_sized(unsized, after.rows);
    }
    take(std::move(after), {});
    return {true, note};
}

EditOutcome frmsheet::balance_pipes(const PipeTable& pipes) {
    if (auto doubt = network_in_doubt()) {
        return *doubt;
    }
    SheetData after = sheet_.data();
    const auto unsized = settle_network(after);
    const auto changes = kestrune::balance_pipes(after, pipes, fittings_);
    const std::string note = unsized.empty() ? pipes_balanced_note(changes, after.rows)
                                             : rows_not_sized(unsized, after.rows);
    take(std::move(after), {});
    return {true, note};
}

std::string frmsheet::take(SheetData after, const std::vector<std::size_t>& resized) {
    const auto unsized = settle_network(after);
    std::string problem = unsized.empty() ? std::string() : rows_not_sized(unsized, after.rows);
    const SheetData before = sheet_.data();
    if (sheet_.replace(std::move(after))) {
        save();
    }
    // What is wrong with the network is said on the message line too, while it stands.
    for (const std::string& fault : network_fault_notes(sheet_.network(), sheet_.data().rows)) {
        problem += (problem.empty() ? "" : " ") + fault;
    }
    // Logged after the sheet holds them: the rows an entry sized, then every other row whose
    // sizing the action changed (its flow from the network, its DN chosen), each once.
    const auto& now = sheet_.data().rows;
    std::vector<std::size_t> logged = resized;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i].dn <= 0 || std::find(resized.begin(), resized.end(), i) != resized.end()) {
            continue;
        }
        const SheetRow* was = nullptr;
        if (before.rows.size() == now.size()) {
            was = &before.rows[i];
        } else {
            const auto same =
                std::find_if(before.rows.begin(), before.rows.end(),
                             [&](const SheetRow& r) { return r.segment == now[i].segment; });
            if (same == before.rows.end()) {
                continue;  // a new row: its sizing logged itself
            }
            was = &*same;
        }
        if (!same_sizing(*was, now[i])) {
            logged.push_back(i);
        }
    }
    for (std::size_t i : logged) {
        if (auto failure = log_sizing_(sizing_state_of(now[i], {}))) {
            warnings_.push_back(*failure);
        }
    }
    return problem;
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

EditOutcome frmsheet::set_resistance_limit(std::string_view entry) {
    const auto limit = non_negative(entry);
    const auto as_float =
        limit && *limit > 0.0 ? to_float(*limit) : Result<float, ArithError>(ArithError{});
    if (!as_float || !(as_float.value() > 0.0f)) {
        return {false, resistance_limit_refused(entry)};
    }
    SheetData after = sheet_.data();
    after.resistance_limit = as_float.value();
    take(std::move(after), {});
    return {true, {}};
}

EditOutcome frmsheet::set_available_pressure(std::string_view entry) {
    SheetData after = sheet_.data();
    if (entry.find_first_not_of(" \t") == std::string_view::npos) {
        after.available_pressure.reset();
    } else if (const auto pressure = non_negative(entry)) {
        after.available_pressure = *pressure;
    } else {
        return {false, available_pressure_refused(entry)};
    }
    take(std::move(after), {});
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
    const auto& rows = sheet_.data().rows;
    if (row >= rows.size() || (direction < 0 && row == 0) ||
        (direction > 0 && row + 1 >= rows.size())) {
        return false;
    }
    SheetData after = sheet_.data();
    std::swap(after.rows[row], after.rows[direction < 0 ? row - 1 : row + 1]);
    take(std::move(after), {});
    return true;
}

void frmsheet::remove_rows(const std::vector<std::size_t>& indices) {
    SheetData after = sheet_.data();
    std::vector<bool> gone(after.rows.size(), false);
    for (std::size_t i : indices) {
        if (i < gone.size()) {
            gone[i] = true;
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < after.rows.size(); ++i) {
        if (!gone[i]) {
            after.rows[kept++] = std::move(after.rows[i]);
        }
    }
    after.rows.resize(kept);
    take(std::move(after), {});
}

ExportStamp frmsheet::stamp() const {
    std::error_code ignored;
    const std::tm now = local_time(std::time(nullptr));
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &now);
    return {project_name(std::filesystem::current_path(ignored), project_), project_.designer, date,
            "Kestrune " + std::string(program_version())};
}

std::optional<FileError> frmsheet::set_project(const ProjectDetails& details) {
    std::error_code ignored;
    if (auto error = write_project_details(std::filesystem::current_path(ignored), details)) {
        return error;
    }
    project_ = details;
    return std::nullopt;
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
                         return exports_.report(file, sheet_, fittings_, stamp());
                     });
}

std::string frmsheet::print_report() {
    if (!exports_.paper) {
        return {};  // a program built without the exports
    }
    const ExportStamp printed = stamp();
    PaperReport paper;
    if (auto error = exports_.paper(paper, sheet_, fittings_, printed)) {
        toolkit_.tell(export_problem(*error), Severity::warning);
        return {};
    }
    switch (toolkit_.print_paper(paper, "计算书 " + printed.project)) {
        case PrintOutcome::printed:
            return report_printed(paper.pages.size());
        case PrintOutcome::failed:
            return report_not_printed();
        case PrintOutcome::cancelled:
            break;
    }
    return {};
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
    last_export_ = *file;
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
