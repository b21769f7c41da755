// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "window_layout.h"

namespace kestrune {

// The hydraulic calculation sheet (水力计算表), described once: its columns, its loop
// summary and its commands. The windows that show it, and the exports, are built from here.

enum class SheetColumn {
    segment,           // 管段号
    load,              // design load Q
    flow,              // design flow G
    length,            // L
    dn,                // nominal diameter
    inner_diameter,    // d
    velocity,          // v
    resistance,        // R
    friction_loss,     // R·L
    xi,                // Σξ
    dynamic_pressure,  // ρv²/2
    local_loss,        // Z
    total_loss,        // ΔP
    loops,             // 环路
    note,              // 备注
};

enum class CellFormat {
    text,       // as entered
    logged,     // a logged value, with the digits the results window shows
    integer,    // a whole number
    entered,    // a number as the engineer typed it, in its shortest form
    tenths,     // rounded to 0.1
    hundredths  // rounded to 0.01
};

struct ColumnLayout {
    SheetColumn column;
    std::string_view header;
    std::string_view unit;  // empty when the quantity has none
    int width;              // in average character widths of the sheet's font
    bool editable;
    CellFormat format;
};

// clang-format off
inline constexpr std::array<ColumnLayout, 15> sheet_columns{{
    {SheetColumn::segment,          "管段号",       "",     6,  true,  CellFormat::text},
    {SheetColumn::load,             "热负荷 Q",     "W",    9,  false, CellFormat::logged},
    {SheetColumn::flow,             "流量 G",       "kg/h", 9,  false, CellFormat::logged},
    {SheetColumn::length,           "管长 L",       "m",    7,  true,  CellFormat::entered},
    {SheetColumn::dn,               "公称直径 DN",  "",     6,  true,  CellFormat::integer},
    {SheetColumn::inner_diameter,   "内径 d",       "mm",   7,  false, CellFormat::logged},
    {SheetColumn::velocity,         "流速 v",       "m/s",  7,  false, CellFormat::logged},
    {SheetColumn::resistance,       "比摩阻 R",     "Pa/m", 8,  false, CellFormat::logged},
    {SheetColumn::friction_loss,    "沿程损失 R·L", "Pa",   9,  false, CellFormat::tenths},
    {SheetColumn::xi,               "局部阻力系数 Σξ", "",  14, true,  CellFormat::entered},
    {SheetColumn::dynamic_pressure, "动压 ρv²/2",   "Pa",   8,  false, CellFormat::tenths},
    {SheetColumn::local_loss,       "局部损失 Z",   "Pa",   9,  false, CellFormat::tenths},
    {SheetColumn::total_loss,       "总损失 ΔP",    "Pa",   9,  false, CellFormat::tenths},
    {SheetColumn::loops,            "环路",         "",     6,  true,  CellFormat::text},
    {SheetColumn::note,             "备注",         "",     12, true,  CellFormat::text},
}};
// clang-format on

const ColumnLayout& column_layout(SheetColumn column);

// The loop summary under the sheet.
enum class LoopColumn { loop, segments, total, critical, imbalance, surplus, kv };

struct LoopColumnLayout {
    LoopColumn column;
    std::string_view header;
    int width;  // in average character widths
    CellFormat format;
};

// clang-format off
inline constexpr std::array<LoopColumnLayout, 7> loop_columns{{
    {LoopColumn::loop,      "环路",          6,  CellFormat::text},
    {LoopColumn::segments,  "管段",          16, CellFormat::text},
    {LoopColumn::total,     "ΔP (Pa)",       10, CellFormat::tenths},
    {LoopColumn::critical,  "最不利",        6,  CellFormat::text},
    {LoopColumn::imbalance, "不平衡率 (%)",  12, CellFormat::tenths},
    {LoopColumn::surplus,   "需消除 (Pa)",   10, CellFormat::tenths},
    {LoopColumn::kv,        "Kv",            7,  CellFormat::hundredths},
}};
// clang-format on

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

}  // namespace kestrune
