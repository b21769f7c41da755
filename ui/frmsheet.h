// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The calculation sheet's behaviour, whatever toolkit draws it: rows added by sizings, what
// the engineer enters per row, re-sizing by a new DN, undo and redo, and the file it is kept
// in, saved after every change so that neither a restart nor a crash loses a row.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc_sheet.h"
#include "design_state.h"
#include "fitting_table.h"
#include "project_files.h"
#include "sheet_cells.h"
#include "sheet_columns.h"
#include "sheet_exports.h"
#include "window_toolkit.h"

namespace kestrune {

// What became of an entry, or of a block of them: taken, or refused with the reason (every
// cell keeps what it had); a note may come with entries that were taken.
struct EditOutcome {
    bool accepted = false;
    std::string message;
};

// One cell's entry in an action over several cells.
struct CellEntry {
    std::size_t row;
    SheetColumn column;
    std::string text;
};

class frmsheet {
  public:
    // log_sizing logs a re-sizing as the sizing run logs its own, and says what went wrong.
    using LogSizing = std::function<std::optional<std::string>(const design_state&)>;
    // exports: the workbook and the printed calculation, given by the program's entry.
    frmsheet(WindowToolkit& toolkit, LogSizing log_sizing, SheetExports exports)
        : toolkit_(toolkit), log_sizing_(std::move(log_sizing)), exports_(std::move(exports)) {}

    // At start, in the working folder: the coefficient table (the folder's own, else the one
    // in examples) and the sheet file, with what went wrong told.
    void open(const std::filesystem::path& examples);

    // A sizing was made: its row, with the next free 管段号.
    void add_sizing(const design_state& s);

    // The engineer's entry in an editable cell; pipes is the current pipe table.
    EditOutcome edit(std::size_t row, SheetColumn column, std::string_view entry,
                     const PipeTable& pipes);
    // Entries made by one action (a paste, a Delete over a selection): every one is read and
    // checked before anything changes; one refused, and nothing changes, neither the sheet
    // nor its file nor the results log. Taken, they are one undo step and one save, and the
    // re-sizings among them are logged after that. Entries below the last row add the rows
    // they need (typed rows, as insert_row makes them).
    EditOutcome edit_cells(const std::vector<CellEntry>& entries, const PipeTable& pipes);
    // A new row below the given one (at the top of an empty sheet), with the next 管段号 and
    // the parameters of the row above: its index.
    std::size_t insert_row(std::size_t below);
    // 自动选管径: the pipes the engineer has not fixed chosen for their flows; one undo step,
    // each changed sizing logged once. The note says what was chosen.
    EditOutcome choose_pipes(const PipeTable& pipes);
    // 平衡管径: loops over the limit brought within it by smaller pipes where that can be done;
    // one undo step, each changed sizing logged once. The note lists the changes.
    EditOutcome balance_pipes(const PipeTable& pipes);
    EditOutcome set_limit(std::string_view entry);
    // 自动选管径's upper specific resistance, Pa/m. One undo step.
    EditOutcome set_resistance_limit(std::string_view entry);
    // The entrance's available pressure, Pa; blank: not given. One undo step.
    EditOutcome set_available_pressure(std::string_view entry);
    bool undo();
    bool redo();
    bool move_row(std::size_t row, int direction);
    // 导出 Excel and 计算书 PDF: the save dialog offers 计算表-YYYYMMDD-HHMM.xlsx (计算书-….pdf) in
    // the working folder; a failure is told, and neither the earlier file nor the sheet
    // changes. False when nothing was written.
    // 局部阻力…: the table of fittings in use, its file named; 编辑 opens the working
    // folder's own (begun as a copy of the one in use) with the system's program, 重新读取
    // reads the table again. What the message line is to say.
    std::string fittings_window();
    bool export_workbook();
    bool export_report();
    // 打印…: the 计算书 through the system's print dialog; what the message line says.
    std::string print_report();
    // The file the last export of this run wrote, for 打开.
    const std::optional<std::filesystem::path>& last_export() const { return last_export_; }
    void remove_rows(const std::vector<std::size_t>& rows);

    // The window shows the sheet as it now is; then what went wrong in saving or logging is
    // told, never while the sheet is half-changed.
    void show_changes();

    // The sheet's latest changes are not on the disk: the last save failed, or the file
    // could be neither read nor set aside and is not to be written over.
    bool unsaved() const { return unsaved_; }

    // The project's name and designer, kept in the working folder beside the sheet and given
    // to the exports. Setting them writes them; on failure they stay as they were.
    const ProjectDetails& project() const { return project_; }
    std::optional<FileError> set_project(const ProjectDetails& details);

    const CalcSheet& sheet() const { return sheet_; }
    const FittingTable& fittings() const { return fittings_; }
    std::size_t rows() const { return sheet_.data().rows.size(); }
    // A cell as shown, and as it is edited (Σξ: the entry, not its sum).
    std::string cell(std::size_t row, SheetColumn column) const {
        return cell_text(sheet_, row, column);
    }
    std::string edit_text(std::size_t row, SheetColumn column) const {
        return entry_text(sheet_, row, column);
    }
    std::size_t loops() const { return sheet_.report().loops.size(); }
    std::string loop_cell(std::size_t loop, LoopColumn column) const {
        return kestrune::loop_cell(sheet_, loop, column);
    }
    // What the loop summary says besides its rows: segments in no loop.
    std::vector<std::string> loop_notes() const { return kestrune::loop_notes(sheet_); }

  private:
    // The sheet as an action leaves it, its network settled: one step and one save, and the
    // changed sizings logged; resized: rows an entry sized, logged even when unchanged. The
    // problem to tell, if a row could not be sized.
    std::string take(SheetData after, const std::vector<std::size_t>& resized);
    // While the network has a fault its flows are not known: no pipe is chosen for them.
    std::optional<EditOutcome> network_in_doubt() const;
    void save();
    ExportStamp stamp() const;
    bool export_to(
        std::string_view title, std::string_view stem, std::string_view type_name,
        std::string_view extension,
        const std::function<std::optional<ExportError>(const std::filesystem::path&)>& write);

    WindowToolkit& toolkit_;
    LogSizing log_sizing_;
    SheetExports exports_;
    CalcSheet sheet_;
    void load_fittings();  // the working folder's table, else the examples', else our own
    FittingTable fittings_;
    std::string fittings_source_;  // the file the table was read from
    std::filesystem::path examples_;
    std::optional<std::filesystem::path> last_export_;
    bool save_failed_ = false;    // told once, until a save works again
    bool keep_off_file_ = false;  // the file could not be read: never written over
    bool unsaved_ = false;
    std::vector<std::string> warnings_;  // to tell at the next show_changes
    ProjectDetails project_;
};

}  // namespace kestrune
