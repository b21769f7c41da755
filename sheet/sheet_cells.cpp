// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_cells.h"

#include <algorithm>

#include "number_text.h"
#include "pipe_preview.h"
#include "sheet_messages.h"
#include "system_head.h"

namespace kestrune {
namespace {

std::string joined(const std::vector<std::string>& names, std::string_view between) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : std::string(between)) + name;
    }
    return out;
}

}  // namespace

ShownCell shown_cell(const CalcSheet& calc, std::size_t row, std::size_t column) {
    const ColumnLayout& layout = sheet_columns.at(column);
    ShownCell cell{cell_text(calc, row, layout.column), Tone::plain,
                   !cell_editable(calc, layout.column), layout.format != CellFormat::text};
    const SheetRow& r = calc.data().rows.at(row);
    // In a network 自动选管径 chooses the pipes: the engineer's own are marked as such.
    if (layout.column == SheetColumn::dn && calc.has_network() && r.dn > 0 &&
        r.dn_choice != DnChoice::chosen) {
        cell.text +=
            " " + std::string(r.dn_choice == DnChoice::engineer ? fixed_dn_mark : balanced_dn_mark);
    }
    // GB 50736-2012, table 5.9.13: the velocity limits by DN (velocity_limit).
    if (layout.column == SheetColumn::velocity && r.v > velocity_limit(r.dn)) {
        cell.text += " " + std::string(speeding_mark);
        cell.tone = Tone::too_fast;
    }
    return cell;
}

ShownCell shown_loop_cell(const CalcSheet& calc, std::size_t loop, std::size_t column) {
    const LoopColumnLayout& layout = loop_columns.at(column);
    const LoopResult& result = calc.report().loops.at(loop);
    ShownCell cell{loop_cell(calc, loop, layout.column), Tone::plain, true,
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

std::string column_title(std::size_t column) {
    const ColumnLayout& layout = sheet_columns.at(column);
    std::string title(layout.header);
    if (!layout.unit.empty()) {
        title += " (" + std::string(layout.unit) + ")";
    }
    return title;
}

std::array<std::string, 2> column_title_lines(std::size_t column) {
    const ColumnLayout& layout = sheet_columns.at(column);
    const std::size_t space = layout.header.find(' ');
    std::array<std::string, 2> lines{std::string(layout.header.substr(0, space)), ""};
    if (space != std::string_view::npos) {
        lines[1] = layout.header.substr(space + 1);
    }
    if (!layout.unit.empty()) {
        lines[1] += (lines[1].empty() ? "(" : " (") + std::string(layout.unit) + ")";
    }
    return lines;
}

std::string loop_summary_title(const CalcSheet& calc) {
    return loop_summary_heading(shortest_text(calc.data().limit));
}

std::string entry_text(const CalcSheet& calc, std::size_t index, SheetColumn column) {
    if (column == SheetColumn::xi) {
        return calc.data().rows.at(index).xi_entry;
    }
    return cell_text(calc, index, column);
}

std::string loop_cell(const CalcSheet& calc, std::size_t index, LoopColumn column) {
    const LoopResult& loop = calc.report().loops.at(index);
    switch (column) {
        case LoopColumn::loop:
            return loop.name;
        case LoopColumn::segments: {
            std::vector<std::string> names;
            for (std::size_t segment : loop_path(calc, loop)) {
                names.push_back(calc.data().rows[segment].segment);
            }
            return joined(names, calc.has_network() ? "→" : ",");
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

std::vector<std::size_t> loop_path(const CalcSheet& calc, const LoopResult& loop) {
    for (const NetworkLoop& found : calc.network().loops) {
        if (found.name == loop.name) {
            return found.path;
        }
    }
    return loop.segments;
}

bool cell_editable(const CalcSheet& calc, SheetColumn column) {
    // Loops of a network are found, not typed.
    return column_layout(column).editable && !(column == SheetColumn::loops && calc.has_network());
}

std::vector<std::string> loop_notes(const CalcSheet& calc) {
    std::vector<std::string> notes;
    if (const auto head = system_head(calc)) {
        notes = head_lines(*head);
    }
    const auto faults = network_fault_notes(calc.network(), calc.data().rows);
    notes.insert(notes.end(), faults.begin(), faults.end());
    const auto& lonely = calc.report().segments_in_no_loop;
    if (!lonely.empty()) {
        std::vector<std::string> names;
        for (std::size_t segment : lonely) {
            names.push_back(calc.data().rows[segment].segment);
        }
        notes.push_back(segments_in_no_loop(joined(names, "、")));
    }
    return notes;
}

std::string loop_notes_line(const CalcSheet& calc) {
    return joined(loop_notes(calc), " ");
}

}  // namespace kestrune
