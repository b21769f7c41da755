// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "sheet_columns.h"
#include "window_layout.h"

namespace kestrune {

// The sheet's window: its commands, its size and its parts' measures; the columns are the
// sheet's own (sheet_columns.h).

// What the engineer can do to the sheet, with its key.
enum class SheetCommand {
    undo,
    redo,
    move_up,
    move_down,
    delete_rows,
    set_limit,
    export_excel,
    export_pdf
};

struct CommandLayout {
    SheetCommand command;
    std::string_view caption;
    std::string_view key;  // as the menus of both systems write it; empty when none
};

// clang-format off
inline constexpr std::array<CommandLayout, 8> sheet_commands{{
    {SheetCommand::undo,         "撤销",       "Ctrl+Z"},
    {SheetCommand::redo,         "重做",       "Ctrl+Y"},
    {SheetCommand::move_up,      "上移一行",   "Alt+Up"},
    {SheetCommand::move_down,    "下移一行",   "Alt+Down"},
    {SheetCommand::delete_rows,  "删除管段",   "Ctrl+Delete"},
    {SheetCommand::set_limit,    "限值…",      ""},
    {SheetCommand::export_excel, "导出 Excel", "Ctrl+E"},
    {SheetCommand::export_pdf,   "计算书 PDF", "Ctrl+P"},
}};
// clang-format on

// The sheet's window: resizable, opened beside the main window (place_sheet_window). Its
// size is the one it asks for; a smaller screen gets what fits. Top to bottom: a row of
// the commands' buttons, the grid, the message line, the loop summary's title, the loop
// summary and its notes. Sizes in twips.
inline constexpr WindowSpec frmsheet_window{"frmsheet", "计算表",          15600,
                                            9600,       Placement::system, false};
struct SheetWindowLayout {
    int margin;
    int button_width, button_height;
    int line_height;   // the message line, the loop summary's title and its notes
    int loops_height;  // the loop summary's table
    double points;     // the grid's SimSun size, as the main window's boxes
};
inline constexpr SheetWindowLayout sheet_window_layout{120, 1440, 420, 330, 1800, 10.5};

// A column's width in pixels, given its font's average character width: its width in
// characters (sheet_columns, loop_columns), and never narrower than its title with a
// character and a half of room on either side.
int column_pixels(int average_char_width, int characters, int title_width);

}  // namespace kestrune
