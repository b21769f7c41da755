// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's behaviour, whatever toolkit draws it. The road of one sizing:
//   Text1 changes      -> text_changed(): enter_load() reads q_user, forms q_design and
//                         g_design = q_gexchange(q_design); Text2 and Text3 show them.
//   cmdok is clicked   -> run_sizing(): frmchoose lists the pipe table, each row with the v
//                         and r that preview_table() gets from size_pipe() on a copy of the
//                         state; the input box asks for dn, find_inner_diameter() gives d,
//                         size_pipe() stores dn, d, then v, ycxs and r in that order,
//                         append_results_row() adds the row to "outdata.txt", and
//                         frmdisplay shows results_header() and result_values().
// Every number goes through core/ and every line through data/; this class decides what
// happens when, and tells the engineer what went wrong.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "arith_error.h"
#include "design_state.h"
#include "folder_lock.h"
#include "frmsheet.h"
#include "notices.h"
#include "parameter_dialogs.h"
#include "program_places.h"
#include "sheet_grid.h"
#include "window_toolkit.h"

namespace kestrune {

class frmcompute {
  public:
    // exports: what writes the sheet's workbook and printed calculation (none: not offered).
    explicit frmcompute(WindowToolkit& toolkit, ProgramPlaces places = {},
                        SheetExports exports = {})
        : toolkit_(toolkit),
          places_(std::move(places)),
          sheet_(
              toolkit, [this](const design_state& s) { return log_row(s); }, std::move(exports)),
          grid_(sheet_, toolkit, state_.pipes) {
        grid_.on_project_command([this](ProjectCommand command) { project_command(command); });
    }

    // The start-up sequence: defaults, pipe table, results log header (an earlier run's rows
    // kept first); the results window is loaded hidden by the front-end. Returns false when
    // the program must end: the table cannot be read, or the engineer chose to quit; no
    // results log has then been touched.
    bool start();

    // Events of the main window and the results window, forwarded by the front-end.
    void text_changed(ControlId control);
    void clicked(ControlId control);
    void enter_pressed(ControlId control);  // Enter in a text box
    void close_box();
    void results_dismissed();  // frmdisplay put away
    // A gesture on a print window: the window's description says whether it puts it away.
    void print_window_gesture(PrintWindowId window, Gesture gesture);
    // A click (or a double-click) on a line of frmchoose.
    void list_clicked(std::size_t line, bool double_click);
    // F1 in any window, or 关于 Kestrune… in the system menu; in the sheet's window, F1 tells
    // the sheet's keys, the Σξ syntax, the fittings and the loop rules.
    void help_requested(bool in_sheet = false);
    // 新建工程… (Ctrl+N), 打开工程… (Ctrl+O) and 工程信息…, from any window.
    void project_command(ProjectCommand command);

    const design_state& state() const { return state_; }
    // The calculation sheet the sizings of this working folder fill.
    frmsheet& sheet() { return sheet_; }
    const frmsheet& sheet() const { return sheet_; }
    // The sheet's window: its keys, clicks and in-place editor go here.
    SheetGrid& grid() { return grid_; }
    const SheetGrid& grid() const { return grid_; }

  private:
    bool find_table();
    void use_example_table();
    bool keep_earlier_log();
    bool take_folder();
    bool enter_given_project();
    void new_project();
    void open_project();
    void edit_project_details();
    // The program moved to another project folder as a quit and a start would, or left where
    // it was, with why told. True when it moved.
    bool switch_to(const std::filesystem::path& folder);
    // Whether what is in the sheet lets the program leave the working folder (quit or switch).
    bool may_leave(bool switching);
    void project_entered();
    void load_changed();
    void margin_changed();
    void run_sizing();
    void open_sheet();
    std::optional<std::string> log_row(const design_state& s);
    void end_program();
    void show_problem_line();
    void show_parameter_tips();
    void update_stale_notice();
    std::string stale_text();
    void ask_parameter(const ParameterDialog& dialog);
    std::optional<std::string> ask(const ParameterDialog& dialog);
    void ask_positive(const ParameterDialog& dialog, float& field);
    void ask_temperature(const ParameterDialog& dialog, std::int16_t current,
                         std::optional<ArithError> (design_state::*set)(std::int16_t));

    WindowToolkit& toolkit_;
    ProgramPlaces places_;
    design_state state_;
    frmsheet sheet_;
    SheetGrid grid_;
    NoticeBoard notices_;  // what the problem line can say
    bool log_ready_ = false;
    bool asking_diameter_ = false;  // the DN input box waits for its answer
    // The working folder's lock, held for as long as the program works there.
    std::unique_ptr<FolderLock> folder_lock_ = std::make_unique<FolderLock>();
    // What the design load and flow on screen were computed with, while a load is entered.
    bool load_entered_ = false;
    float used_margin_ = 0;
    std::int16_t used_dt_ = 0;
};

}  // namespace kestrune
