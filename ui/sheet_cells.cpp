// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_cells.h"

#include <algorithm>

#include "number_text.h"
#include "pipe_preview.h"
#include "sheet_messages.h"

namespace kestrune {

ShownCell shown_cell(const CalcSheet& calc, std::size_t row, std::size_t column) {
    const ColumnLayout& layout = sheet_columns.at(column);
    ShownCell cell{cell_text(calc, row, layout.column), Tone::plain, !layout.editable,
                   layout.format != CellFormat::text};
    const SheetRow& r = calc.data().rows.at(row);
    // GB 50736-2012, table 5.9.13: the velocity limits by DN (velocity_limit).
    if (layout.column == SheetColumn::velocity && r.v > velocity_limit(r.dn)) {
        cell.text += " " + std::string(speeding_mark);
        cell.tone = Tone::too_fast;
    }
    return cell;
}

ShownCell shown_loop_cell(const frmsheet& sheet, std::size_t loop, std::size_t column) {
    const LoopColumnLayout& layout = loop_columns.at(column);
    const LoopResult& result = sheet.sheet().report().loops.at(loop);
    ShownCell cell{sheet.loop_cell(loop, layout.column), Tone::plain, true,
                   layout.format != CellFormat::text};
    if (result.critical) {
        cell.tone = Tone::critical;
    } else if (result.flagged &&
               (layout.column == LoopColumn::imbalance || layout.column == LoopColumn::surplus ||
                layout.column == LoopColumn::kv)) {
        cell.tone = Tone::too_fast;
    }
    return cell;
}

int column_pixels(int average_char_width, int characters, int title_width) {
    return std::max(average_char_width * characters, title_width + average_char_width * 3);
}

std::string column_title(std::size_t column) {
    const ColumnLayout& layout = sheet_columns.at(column);
    std::string title(layout.header);
    if (!layout.unit.empty()) {
        title += " (" + std::string(layout.unit) + ")";
    }
    return title;
}

std::string loop_summary_title(const frmsheet& sheet) {
    return loop_summary_heading(shortest_text(sheet.sheet().data().limit));
}

}  // namespace kestrune
