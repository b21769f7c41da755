// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kestrune {

// The hydraulic calculation sheet (水力计算表), described once: its columns and its loop
// summary. The windows that show it, and the exports, are built from here.

enum class SheetColumn {
    segment,           // 管段号
    upstream,          // 上游
    consumer,          // 用户负荷
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
inline constexpr std::array<ColumnLayout, 17> sheet_columns{{
    {SheetColumn::segment,          "管段号",       "",     6,  true,  CellFormat::text},
    {SheetColumn::upstream,         "上游",         "",     6,  true,  CellFormat::text},
    {SheetColumn::consumer,         "用户负荷 Q用户", "W",  9,  true,  CellFormat::logged},
    {SheetColumn::load,             "热负荷 Q",     "W",    9,  false, CellFormat::logged},
    {SheetColumn::flow,             "流量 G",       "kg/h", 9,  false, CellFormat::logged},
    {SheetColumn::length,           "管长 L",       "m",    7,  true,  CellFormat::entered},
    {SheetColumn::dn,               "公称直径 DN",  "",     8,  true,  CellFormat::integer},
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
// Where a column stands in sheet_columns: the one lookup the windows, the clipboard and
// the exports share.
std::size_t column_index(SheetColumn column);

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

}  // namespace kestrune
