// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_grid.h"

#include <algorithm>

#include "chinese_font.h"
#include "messages.h"
#include "number_text.h"
#include "sheet_dialogs.h"
#include "sheet_messages.h"
#include "text_fields.h"

namespace kestrune {
namespace {

constexpr std::size_t column_count = sheet_columns.size();

}  // namespace

std::string SheetGrid::message() const {
    return message_.empty() && sheet_.unsaved() ? sheet_unsaved_note() : message_;
}

void SheetGrid::open() {
    if (editing_) {
        return;  // an entry in progress keeps its cell and its text
    }
    current_ = {sheet_.rows() > 0 ? sheet_.rows() - 1 : 0, column_index(SheetColumn::length)};
    anchor_ = current_;
    whole_rows_ = false;
    editing_ = false;
    message_.clear();
}

void SheetGrid::select_rows(std::size_t first, std::size_t last) {
    anchor_ = {first, current_.column};
    current_ = {last, current_.column};
    whole_rows_ = true;
}

void SheetGrid::row_header_click(std::size_t row, bool extend) {
    if (editing_ && !commit()) {
        sheet_.show_changes();
        return;  // the refused entry stays in its cell
    }
    const std::size_t last = std::min(row, sheet_.rows() > 0 ? sheet_.rows() - 1 : 0);
    select_rows(extend ? anchor_.row : last, last);
    sheet_.show_changes();
}

void SheetGrid::double_click(std::size_t row, std::size_t column) {
    click(row, column, false);
    if (!editing_ && current_.row == row && current_.column == column) {
        key({GridKey::edit, false, false, {}});
    }
}

bool SheetGrid::closing() {
    if (!editing_ || commit()) {
        sheet_.show_changes();
        return true;
    }
    sheet_.show_changes();
    // Keep is the default: an entry is dropped only by a deliberate answer.
    if (toolkit_.ask_choice(entry_not_taken_question(message_),
                            {std::string(drop_entry_caption), std::string(keep_entry_caption)},
                            1) != 0) {
        return false;
    }
    editing_ = false;
    edit_text_.clear();
    message_.clear();
    sheet_.show_changes();
    return true;
}

void SheetGrid::click(std::size_t row, std::size_t column, bool extend) {
    if (editing_ && !commit()) {
        sheet_.show_changes();
        return;  // the refused entry stays in its cell
    }
    current_ = {std::min(row, sheet_.rows() > 0 ? sheet_.rows() - 1 : 0),
                std::min(column, column_count - 1)};
    if (!extend) {
        anchor_ = current_;
    }
    whole_rows_ = false;
    sheet_.show_changes();
}

bool SheetGrid::selected(std::size_t row, std::size_t column) const {
    const auto between = [](std::size_t at, std::size_t a, std::size_t b) {
        return at >= std::min(a, b) && at <= std::max(a, b);
    };
    return between(row, anchor_.row, current_.row) &&
           (whole_rows_ || between(column, anchor_.column, current_.column));
}

void SheetGrid::move(int rows, int columns, bool extend) {
    const auto clamp = [](std::size_t at, int by, std::size_t count) {
        const long long to = static_cast<long long>(at) + by;
        return static_cast<std::size_t>(
            std::clamp<long long>(to, 0, static_cast<long long>(count > 0 ? count - 1 : 0)));
    };
    current_ = {clamp(current_.row, rows, sheet_.rows()),
                clamp(current_.column, columns, column_count)};
    if (!extend) {
        anchor_ = current_;
    }
    // Whole rows stay whole while the selection grows up or down (Shift+Space, Shift+Down).
    whole_rows_ = whole_rows_ && extend && columns == 0;
}

bool SheetGrid::commit() {
    const EditOutcome outcome =
        sheet_.edit(current_.row, sheet_columns[current_.column].column, edit_text_, pipes_);
    if (!outcome.accepted) {
        // The cell stays in editing, with what was typed: nothing is lost.
        message_ = outcome.message;
        return false;
    }
    editing_ = false;
    message_ = outcome.message;
    return true;
}

void SheetGrid::add_row_below() {
    const std::size_t row = sheet_.insert_row(current_.row);
    current_ = {row, current_.column};
    anchor_ = current_;
    whole_rows_ = false;
}

void SheetGrid::commit_and_move(int rows, int columns) {
    if (commit()) {
        move(rows, columns, false);
    }
}

void SheetGrid::clear_selection() {
    const std::size_t top = std::min(anchor_.row, current_.row);
    const std::size_t bottom = std::max(anchor_.row, current_.row);
    const std::size_t left = std::min(anchor_.column, current_.column);
    const std::size_t right = std::max(anchor_.column, current_.column);
    std::vector<CellEntry> entries;
    for (std::size_t row = top; row <= bottom && row < sheet_.rows(); ++row) {
        for (std::size_t column = left; column <= right; ++column) {
            const ColumnLayout& layout = sheet_columns[column];
            // A DN stays: in a network Delete frees it for 自动选管径, else it is left alone.
            if (cell_editable(sheet_.sheet(), layout.column) &&
                (layout.column != SheetColumn::dn || sheet_.sheet().has_network())) {
                entries.push_back({row, layout.column, {}});
            }
        }
    }
    message_ = sheet_.edit_cells(entries, pipes_).message;
}

void SheetGrid::key(const KeyPress& press) {
    if (editing_) {
        act_while_editing(press);
    } else {
        act(press);
    }
    sheet_.show_changes();
}

void SheetGrid::edited(std::string_view text) {
    if (text != edit_text_) {
        offer_ = 0;
        offers_hidden_ = false;
    }
    edit_text_ = text;
}

std::string SheetGrid::tip(std::size_t row, std::size_t column) const {
    if (row >= sheet_.rows() || column >= sheet_columns.size() ||
        sheet_columns[column].column != SheetColumn::xi) {
        return {};
    }
    const SheetRow& r = sheet_.sheet().data().rows[row];
    return r.xi_entry.empty() ? std::string()
                              : xi_in_parts(r.xi_entry, sheet_.fittings(), r.dn, r.xi);
}

std::vector<FittingOffer> SheetGrid::offers() const {
    if (!editing_ || offers_hidden_ || current_.row >= sheet_.rows() ||
        sheet_columns[current_.column].column != SheetColumn::xi) {
        return {};
    }
    return fitting_offers(edit_text_, sheet_.fittings(),
                          sheet_.sheet().data().rows[current_.row].dn);
}

void SheetGrid::take_offer(std::size_t index) {
    const std::vector<FittingOffer> offered = offers();
    if (index < offered.size()) {
        edit_text_ = offered[index].taken;
        offers_hidden_ = true;
    }
}

bool SheetGrid::act_on_offers(const KeyPress& press) {
    const std::vector<FittingOffer> offered = offers();
    if (offered.empty() || press.ctrl) {
        return false;
    }
    switch (press.key) {
        case GridKey::up:
            offer_ = (offer_ + offered.size() - 1) % offered.size();
            return true;
        case GridKey::down:
            offer_ = (offer_ + 1) % offered.size();
            return true;
        case GridKey::escape:
            offers_hidden_ = true;
            return true;
        case GridKey::enter:
        case GridKey::tab:
            // Taken, then the key does what it always does.
            edit_text_ = offered[std::min(offer_, offered.size() - 1)].taken;
            return false;
        default:
            return false;
    }
}

void SheetGrid::act_while_editing(const KeyPress& press) {
    if (act_on_offers(press)) {
        return;
    }
    switch (press.key) {
        case GridKey::escape:
            editing_ = false;
            edit_text_.clear();
            message_.clear();
            return;
        case GridKey::enter:
            if (press.ctrl) {
                if (commit()) {
                    add_row_below();
                }
                return;
            }
            commit_and_move(press.shift ? -1 : 1, 0);
            return;
        case GridKey::tab:
            commit_and_move(0, press.shift ? -1 : 1);
            return;
        case GridKey::up:
        case GridKey::down:
            commit_and_move(press.key == GridKey::up ? -1 : 1, 0);
            return;
        case GridKey::typed:
            edited(edit_text_ + press.text);
            return;
        default:
            return;  // the edit box's own keys
    }
}

void SheetGrid::act(const KeyPress& press) {
    const bool editable =
        sheet_.rows() > 0 && cell_editable(sheet_.sheet(), sheet_columns[current_.column].column);
    switch (press.key) {
        case GridKey::up:
        case GridKey::down:
            move(press.key == GridKey::up ? -1 : 1, 0, press.shift);
            break;
        case GridKey::left:
        case GridKey::right:
            move(0, press.key == GridKey::left ? -1 : 1, press.shift);
            break;
        case GridKey::tab:
            move(0, press.shift ? -1 : 1, false);
            break;
        case GridKey::enter:
            if (press.ctrl) {
                add_row_below();
                break;
            }
            move(press.shift ? -1 : 1, 0, false);
            break;
        case GridKey::home:
            move(press.ctrl ? -static_cast<int>(current_.row) : 0,
                 -static_cast<int>(current_.column), press.shift);
            break;
        case GridKey::end:
            move(press.ctrl ? static_cast<int>(sheet_.rows()) : 0, static_cast<int>(column_count),
                 press.shift);
            break;
        case GridKey::edit:
            if (editable) {
                editing_ = true;
                edit_text_ = sheet_.edit_text(current_.row, sheet_columns[current_.column].column);
                offer_ = 0;
                offers_hidden_ = true;  // what the cell holds is not being typed
            }
            break;
        case GridKey::typed:
            if (editable) {
                editing_ = true;
                edit_text_ = press.text;  // typing replaces what the cell held
                offer_ = 0;
                offers_hidden_ = false;
            }
            break;
        case GridKey::clear:
            clear_selection();
            break;
        case GridKey::undo:
            sheet_.undo();
            break;
        case GridKey::redo:
            sheet_.redo();
            break;
        case GridKey::move_row_up:
        case GridKey::move_row_down: {
            const int by = press.key == GridKey::move_row_up ? -1 : 1;
            if (sheet_.move_row(current_.row, by)) {
                move(by, 0, false);
            }
            break;
        }
        case GridKey::delete_rows: {
            const std::size_t top = std::min(anchor_.row, current_.row);
            const std::size_t bottom = std::max(anchor_.row, current_.row);
            std::string names;
            std::vector<std::size_t> rows;
            for (std::size_t row = top; row <= bottom && row < sheet_.rows(); ++row) {
                names += (names.empty() ? "" : "、") + sheet_.cell(row, SheetColumn::segment);
                rows.push_back(row);
            }
            if (rows.empty()) {
                break;
            }
            // Cancel is the default: a deletion takes a deliberate answer.
            if (toolkit_.ask_choice(delete_rows_question(names),
                                    {std::string(delete_caption), std::string(cancel_caption)},
                                    1) == 0) {
                sheet_.remove_rows(rows);
                move(-static_cast<int>(current_.row - top), 0, false);
            }
            break;
        }
        case GridKey::copy:
            toolkit_.set_clipboard(copied_text());
            break;
        case GridKey::paste:
            paste(toolkit_.clipboard_text());
            break;
        case GridKey::select_rows:
            select_rows(std::min(anchor_.row, current_.row), std::max(anchor_.row, current_.row));
            break;
        case GridKey::select_all:
            if (sheet_.rows() > 0) {
                select_rows(0, sheet_.rows() - 1);
            }
            break;
        case GridKey::set_limit:
            ask_limit();
            break;
        case GridKey::set_resistance_limit:
            ask_resistance_limit();
            break;
        case GridKey::set_available_pressure:
            ask_available_pressure();
            break;
        case GridKey::export_workbook:
            if (sheet_.export_workbook()) {
                message_ = export_written(path_text(*sheet_.last_export()));
            }
            break;
        case GridKey::export_report:
            if (sheet_.export_report()) {
                const auto font = chinese_font();  // the one the 计算书 embeds
                message_ = export_written(path_text(*sheet_.last_export()),
                                          font ? font->name : std::string_view{});
            }
            break;
        case GridKey::fittings:
            message_ = sheet_.fittings_window();
            break;
        case GridKey::print_report:
            message_ = sheet_.print_report();
            break;
        case GridKey::open_export:
            if (!sheet_.last_export()) {
                message_ = nothing_exported_yet();
            } else if (!toolkit_.open_with_system(*sheet_.last_export())) {
                message_ = export_not_opened(path_text(*sheet_.last_export()));
            }
            break;
        case GridKey::choose_pipes:
            message_ = sheet_.choose_pipes(pipes_).message;
            break;
        case GridKey::balance_pipes:
            message_ = sheet_.balance_pipes(pipes_).message;
            break;
        case GridKey::new_project:
        case GridKey::open_project:
        case GridKey::project_details:
            if (project_command_) {
                project_command_(press.key == GridKey::new_project    ? ProjectCommand::create
                                 : press.key == GridKey::open_project ? ProjectCommand::open
                                                                      : ProjectCommand::details);
            }
            break;
        default:
            break;
    }
}

std::string SheetGrid::copied_text() const {
    const std::size_t top = std::min(anchor_.row, current_.row);
    const std::size_t bottom = std::max(anchor_.row, current_.row);
    const std::size_t left = whole_rows_ ? 0 : std::min(anchor_.column, current_.column);
    const std::size_t right =
        whole_rows_ ? column_count - 1 : std::max(anchor_.column, current_.column);
    std::string text;
    const auto line = [&](auto cell_of) {
        for (std::size_t column = left; column <= right; ++column) {
            text += (column > left ? "\t" : "") + cell_of(column);
        }
        text += "\r\n";
    };
    if (whole_rows_) {
        line([](std::size_t c) { return std::string(sheet_columns[c].header); });
        line([](std::size_t c) { return std::string(sheet_columns[c].unit); });
    }
    // What was typed, so that a Σξ pasted elsewhere keeps its fittings.
    for (std::size_t row = top; row <= bottom && row < sheet_.rows(); ++row) {
        line([&](std::size_t c) { return sheet_.edit_text(row, sheet_columns[c].column); });
    }
    return text;
}

void SheetGrid::ask_until_taken(InputRequest (*request)(std::string_view), std::string offered,
                                const std::function<EditOutcome(std::string_view)>& take) {
    // Asked again, with the entry offered, until it is taken or cancelled.
    while (auto entry = toolkit_.ask_text(request(offered))) {
        const EditOutcome outcome = take(*entry);
        if (outcome.accepted) {
            return;
        }
        toolkit_.tell(outcome.message, Severity::warning);
        offered = *entry;
    }
}

void SheetGrid::ask_limit() {
    ask_until_taken(limit_request, shortest_text(sheet_.sheet().data().limit),
                    [this](std::string_view entry) { return sheet_.set_limit(entry); });
}

void SheetGrid::ask_resistance_limit() {
    ask_until_taken(resistance_limit_request, shortest_text(sheet_.sheet().data().resistance_limit),
                    [this](std::string_view entry) { return sheet_.set_resistance_limit(entry); });
}

void SheetGrid::ask_available_pressure() {
    const auto& given = sheet_.sheet().data().available_pressure;
    ask_until_taken(
        available_pressure_request, given ? shortest_text(*given) : std::string(),
        [this](std::string_view entry) { return sheet_.set_available_pressure(entry); });
}

void SheetGrid::paste(std::string_view text) {
    std::vector<std::vector<std::string>> block;
    for (std::string_view line : split_fields(text, '\n')) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        std::vector<std::string> cells;
        for (std::string_view cell : split_fields(line, '\t')) {
            cells.emplace_back(cell);
        }
        block.push_back(std::move(cells));
    }
    while (!block.empty() && block.back().size() == 1 && block.back()[0].empty()) {
        block.pop_back();  // the line end after the last row
    }
    std::size_t width = 0;
    for (const auto& row : block) {
        width = std::max(width, row.size());
    }
    if (block.empty()) {
        return;
    }
    // Rows below the last are added; columns beyond the last are not there to fill.
    if (current_.column + width > column_count) {
        message_ = paste_does_not_fit(block.size(), width, sheet_.rows() - current_.row,
                                      column_count - current_.column);
        return;
    }
    for (std::size_t c = 0; c < width; ++c) {
        const ColumnLayout& layout = sheet_columns[current_.column + c];
        if (!cell_editable(sheet_.sheet(), layout.column)) {
            message_ = paste_into_read_only(layout.header);
            return;
        }
    }
    // Every value through the one reading rule; one refused, and nothing is pasted.
    std::vector<CellEntry> entries;
    for (std::size_t r = 0; r < block.size(); ++r) {
        for (std::size_t c = 0; c < block[r].size(); ++c) {
            entries.push_back(
                {current_.row + r, sheet_columns[current_.column + c].column, block[r][c]});
        }
    }
    const EditOutcome outcome = sheet_.edit_cells(entries, pipes_);
    message_ = outcome.message;
    if (!outcome.accepted) {
        return;
    }
}

SketchShown SheetGrid::sketch() const {
    return {system_sketch(sheet_.sheet()),
            sheet_.rows() > 0 ? std::optional(current_.row) : std::nullopt,
            sheet_.sheet().has_network()};
}

}  // namespace kestrune
