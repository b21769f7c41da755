// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The calculation sheet worked from the keyboard like a spreadsheet, whatever toolkit draws
// it: the current cell, the selection, editing in place, and what each key and the clipboard
// do. The window forwards keys and text; everything decided here is tested once.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "design_state.h"
#include "fitting_offers.h"
#include "frmsheet.h"
#include "system_sketch.h"

namespace kestrune {

enum class GridKey {
    up,
    down,
    left,
    right,
    tab,
    enter,
    escape,
    edit,
    clear,  // edit: F2, clear: Delete
    home,
    end,
    undo,
    redo,
    move_row_up,
    move_row_down,
    delete_rows,
    copy,
    paste,  // the clipboard's text
    select_rows,
    select_all,
    set_limit,               // asks for the imbalance limit
    set_resistance_limit,    // asks for 自动选管径's upper specific resistance
    set_available_pressure,  // asks for the entrance's available pressure
    fittings,                // 局部阻力…: the table of fittings
    export_workbook,
    export_report,
    print_report,     // 打印…: the 计算书 through the system's print dialog
    open_export,      // the last export, with the system's program
    choose_pipes,     // 自动选管径
    balance_pipes,    // 平衡管径
    new_project,      // 新建工程…
    open_project,     // 打开工程…
    project_details,  // 工程信息…
    typed,
};

struct KeyPress {
    GridKey key;
    bool shift = false;
    bool ctrl = false;
    std::string text;  // typed: the characters
};

// What the window shows of the system sketch: the sketch, the row whose segment stands out,
// and whether the window gives it room (only a network has one).
struct SketchShown {
    SystemSketch sketch;
    std::optional<std::size_t> current;
    bool room = false;
};

struct CellPosition {
    std::size_t row = 0;
    std::size_t column = 0;  // index into sheet_columns
    bool operator==(const CellPosition&) const = default;
};

class SheetGrid {
  public:
    SheetGrid(frmsheet& sheet, WindowToolkit& toolkit, const PipeTable& pipes)
        : sheet_(sheet), toolkit_(toolkit), pipes_(pipes) {}

    // The newest row's length cell, where an engineer starts; an entry in progress stays.
    void open();
    // Who carries out the project commands, which reach beyond the sheet.
    void on_project_command(std::function<void(ProjectCommand)> handler) {
        project_command_ = std::move(handler);
    }
    // A key, with the selection's other corner where the selection reaches (shift+arrows).
    void key(const KeyPress& press);
    // A click on a cell (extend: with Shift); an entry in progress is committed first.
    void click(std::size_t row, std::size_t column, bool extend);
    // A double-click on a cell: an entry there, as F2 starts it.
    void double_click(std::size_t row, std::size_t column);
    // A click on a row's number (extend: with Shift, from the selection's first row): whole
    // rows selected, for copying with the header. The current column stays, so the grid
    // does not scroll sideways.
    void row_header_click(std::size_t row, bool extend);
    // The window is closed or the program ends: an entry in progress is taken if it can be;
    // if not, the engineer is asked whether to drop it. False: keep the window open.
    bool closing();
    // The text of the in-place editor as the engineer has it now.
    void edited(std::string_view text);
    // While a Σξ entry is typed: the fittings its last part begins, the highlighted one, and
    // one taken by a click (the entry stays open for the next +).
    std::vector<FittingOffer> offers() const;
    std::size_t highlighted_offer() const { return offer_; }
    void take_offer(std::size_t index);

    CellPosition current() const { return current_; }
    CellPosition anchor() const { return anchor_; }
    bool editing() const { return editing_; }
    bool selected(std::size_t row, std::size_t column) const;
    const std::string& edit_text() const { return edit_text_; }
    // The sheet's message line: why an entry was refused, or a note; else, while the
    // sheet's changes are not on the disk, that.
    std::string message() const;
    // The selection as the clipboard takes it: tab-separated, line ends CR LF, with the
    // header (and units) when whole rows are selected.
    std::string copied_text() const;
    SketchShown sketch() const;
    // The tip of a cell under the pointer: a Σξ's fittings, each with its count and ξ; else
    // none.
    std::string tip(std::size_t row, std::size_t column) const;

  private:
    void act(const KeyPress& press);
    void act_while_editing(const KeyPress& press);
    // Up, Down, Enter, Tab and Escape among offered fittings: true when the key was theirs.
    bool act_on_offers(const KeyPress& press);
    void move(int rows, int columns, bool extend);
    void commit_and_move(int rows, int columns);
    // Ctrl+Enter: a new row below the current one, entered in the same column.
    void add_row_below();
    bool commit();
    void clear_selection();
    void select_rows(std::size_t first, std::size_t last);
    void paste(std::string_view text);
    void ask_limit();
    void ask_available_pressure();
    void ask_resistance_limit();
    void ask_until_taken(InputRequest (*request)(std::string_view), std::string offered,
                         const std::function<EditOutcome(std::string_view)>& take);

    frmsheet& sheet_;
    WindowToolkit& toolkit_;
    const PipeTable& pipes_;
    CellPosition current_;
    CellPosition anchor_;
    bool whole_rows_ = false;
    bool editing_ = false;
    std::string edit_text_;
    std::string message_;
    std::function<void(ProjectCommand)> project_command_;
    std::size_t offer_ = 0;       // the highlighted offer
    bool offers_hidden_ = false;  // Escape hid them until the next character
};

}  // namespace kestrune
