// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scenarios of an engineer's actions and what each should leave, played alike against the
// recording toolkit, the Qt front-end and the Win32 front-end through a thin driver each, so
// that the three agree on what the windows do. Framework-neutral: a play gives the
// differences found, each suite asserts there are none.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "design_steps.h"
#include "expected_log.h"
#include "frmcompute.h"
#include "messages.h"
#include "parameter_dialogs.h"
#include "pipe_preview.h"
#include "pipe_table.h"
#include "print_statements.h"
#include "sheet_dialogs.h"
#include "sheet_keys.h"
#include "sheet_messages.h"
#include "window_layout.h"

namespace kestrune::testing {

// The engineer's hands, in each toolkit's own way.
class ConformanceDriver {
  public:
    virtual ~ConformanceDriver() = default;
    virtual void type_load(std::string_view digits) = 0;  // typed key by key
    // 确定, then the DN answered; on_list: done to the list first, while the box waits.
    virtual void size(std::string_view dn, std::optional<Gesture> on_list) = 0;
    virtual void size_refused(std::string_view dn) = 0;  // the same, a message expected
    virtual void cancel_sizing() = 0;                    // 确定, then 取消
    virtual void set_parameter(ControlId button, std::string_view answer) = 0;
    virtual void click(ControlId button) = 0;
    virtual void gesture(PrintWindowId window, Gesture gesture) = 0;
    virtual void close_main() = 0;  // the main window's close box
    // A key on the sheet's window, to its grid or, while an entry is made, to its editor.
    virtual void sheet_press(const KeyStroke& stroke) = 0;
    // A click on a row's number, with Shift or without.
    virtual void sheet_row_number(std::size_t row, bool shift) = 0;
    virtual void close_sheet() = 0;  // the sheet window's close box
    // The next question is answered by the button with this caption.
    virtual void answer_question(std::string_view caption) = 0;

    virtual std::string shown(ControlId control) = 0;
    virtual std::string tip(ControlId control) = 0;
    // The control that has the focus and its selected text: "Text1:10000"; empty when none.
    virtual std::string focus() = 0;
    virtual bool results_visible() = 0;
    virtual bool list_visible() = 0;
    virtual bool ended() = 0;  // the windows gone and the event loop told to end
    virtual std::vector<std::string> results() = 0;  // items joined by "|"
    virtual std::string log() = 0;
    virtual bool sheet_visible() = 0;
    virtual std::string sheet_cell(std::size_t row, std::size_t column) = 0;  // as shown
    virtual std::optional<std::string> sheet_editor() = 0;  // its text; nullopt when hidden
    virtual std::string sheet_message() = 0;
    // How far the grid is scrolled sideways, in pixels; 0 where nothing scrolls.
    virtual int sheet_scrolled() = 0;
    // What the toolkit-free side holds: the grid's own state, the clipboard's text.
    virtual frmcompute& handlers() = 0;
    virtual WindowToolkit& toolkit() = 0;

    // Each input box shown so far, "title|prompt|offered"; the list's lines, items joined by
    // "|", as they stood while the last diameter was asked for, and whether it was shown.
    const std::vector<std::string>& asked() const { return asked_; }
    const std::vector<std::string>& listed() const { return listed_; }
    bool list_shown_while_asked() const { return list_shown_; }

  protected:
    void note_list(std::vector<std::string> lines, bool visible) {
        listed_ = std::move(lines);
        list_shown_ = visible;
    }
    std::vector<std::string> asked_;

  private:
    std::vector<std::string> listed_;
    bool list_shown_ = false;
};

struct Action {
    enum Kind {
        type_load,
        size,
        size_refused,
        cancel_sizing,
        set_parameter,
        click,
        on_window,
        close,
        sheet_press,
        put_on_clipboard,
        row_number,
        close_sheet,
        answer_question
    } kind;
    std::string text = {};
    ControlId button = ControlId::cmdset1;
    PrintWindowId window = PrintWindowId::frmdisplay;
    std::optional<Gesture> gesture = std::nullopt;  // gesture; size: on the list meanwhile
    KeyStroke stroke = {};
};

// The actions, as the scenarios spell them.
namespace act {
inline Action type_load(std::string digits) {
    return {Action::type_load, std::move(digits)};
}
inline Action size(std::string dn = "25") {
    return {Action::size, std::move(dn)};
}
inline Action size_trying_to_close_the_list() {
    return {.kind = Action::size, .text = "25", .gesture = Gesture::close_box};
}
inline Action size_refused(std::string dn) {
    return {Action::size_refused, std::move(dn)};
}
inline Action cancel_sizing() {
    return {Action::cancel_sizing};
}
inline Action set_parameter(ControlId button, std::string answer) {
    return {Action::set_parameter, std::move(answer), button};
}
inline Action click(ControlId button) {
    return {Action::click, {}, button};
}
inline Action on_results(Gesture gesture = Gesture::escape) {
    return {.kind = Action::on_window, .window = PrintWindowId::frmdisplay, .gesture = gesture};
}
inline Action close() {
    return {Action::close};
}
inline Action sheet_key(PhysicalKey key, bool shift = false, bool ctrl = false) {
    return {.kind = Action::sheet_press, .stroke = {key, 0, shift, ctrl, false, {}}};
}
// Text typed on the sheet at once, as an input method commits it.
inline Action sheet_text(std::string text) {
    return {.kind = Action::sheet_press,
            .stroke = {PhysicalKey::other, 0, false, false, false, std::move(text)}};
}
inline Action row_number(std::size_t row, bool shift = false) {
    return {.kind = Action::row_number,
            .text = std::to_string(row),
            .gesture = std::nullopt,
            .stroke = {PhysicalKey::other, 0, shift, false, false, {}}};
}
inline Action close_sheet() {
    return {Action::close_sheet};
}
inline Action answer_question(std::string_view caption) {
    return {Action::answer_question, std::string(caption)};
}
inline Action sheet_ctrl(char letter) {
    return {.kind = Action::sheet_press,
            .stroke = {PhysicalKey::letter, letter, false, true, false, {}}};
}
inline Action put_on_clipboard(std::string text) {
    return {Action::put_on_clipboard, std::move(text)};
}
}  // namespace act

struct CellText {
    std::size_t row;
    std::size_t column;  // an index into sheet_columns
    std::string text;
};

struct Scenario {
    const char* name;
    std::vector<Action> actions;
    std::vector<std::pair<ControlId, std::string>> boxes = {};  // texts the boxes show
    bool results_visible = false;
    std::vector<std::string> results = {};  // what the results window shows, when visible
    std::string log = header_bytes();
    std::vector<std::pair<ControlId, std::string>> tips = {};  // tips the controls show
    std::string focus = {};                                    // when not empty
    bool ended = false;
    std::vector<std::string> asked = {};                           // when not empty
    std::vector<std::pair<std::size_t, std::string>> listed = {};  // lines by number
    bool list_held = false;  // the list stayed shown though its close box was tried

    // The sheet's window, checked when sheet is set: shown, its cells, its in-place editor
    // (nullopt: hidden), its message line as the grid has it (refused: a reason there) and
    // the grid's current cell; the clipboard when not empty.
    bool sheet = false;
    std::vector<CellText> cells = {};
    std::optional<std::string> editor = std::nullopt;
    bool refused = false;
    std::pair<std::size_t, std::size_t> current = {0, 0};
    std::string clipboard = {};
    std::string clipboard_begins = {};  // when not empty
    bool sheet_closed = false;          // checked with the sheet: its window put away
    std::string message = {};           // the message line's words, when not empty
    bool noted = false;                 // the message line holds a note, not a refusal
    bool unscrolled = false;            // when set: the grid not scrolled sideways
};

// The first two lines a copy of whole rows begins with: the columns' titles and units.
inline std::string copied_titles() {
    std::string titles, units;
    for (const ColumnLayout& column : sheet_columns) {
        titles += (titles.empty() ? "" : "\t") + std::string(column.header);
        units += (&column == &sheet_columns.front() ? "" : "\t") + std::string(column.unit);
    }
    return titles + "\r\n" + units + "\r\n";
}

// A print statement's items as the drivers join them: "|" between.
inline std::string joined(const PrintStatement& items) {
    std::string line;
    for (const PrintItem& item : items) {
        line += (line.empty() ? "" : "|") + item.text;
    }
    return line;
}

inline const std::vector<std::string>& worked_results() {
    static const std::vector<std::string> lines{joined(results_header()), worked_values};
    return lines;
}

// "title|prompt|offered" of a parameter button's input box, offering this value.
inline std::string parameter_box(ControlId button, std::string_view offered) {
    for (const ParameterDialog& dialog : parameter_dialogs) {
        if (dialog.button == button) {
            return std::string(dialog.title) + "|" + std::string(dialog.prompt) + "|" +
                   std::string(offered);
        }
    }
    return {};
}

inline std::string parameter_tip(std::size_t dialog, float value) {
    return current_value_tip(value, parameter_dialogs.at(dialog).unit);
}

// Columns of the sheet the scenarios touch.
inline const std::size_t segment_column = column_index(SheetColumn::segment),
                         upstream_column = column_index(SheetColumn::upstream),
                         load_column = column_index(SheetColumn::load),
                         loops_column = column_index(SheetColumn::loops),
                         length_column = column_index(SheetColumn::length),
                         dn_column = column_index(SheetColumn::dn),
                         xi_column = column_index(SheetColumn::xi);

// The table the scenarios size with.
inline PipeTable worked_pipes() {
    return parse_pipe_table(worked_dn, worked_d).value();
}

// The log row of a load typed in the main window and sized with the pipe its list recommends
// (推荐), on the scenarios' table.
inline std::string recommended_row(std::string_view load) {
    design_state s;
    s.pipes = worked_pipes();
    enter_load(s, load);
    const auto preview = preview_table(s);
    for (std::size_t k = 0; preview && k < pipe_rows; ++k) {
        if ((*preview)[k] && (*preview)[k]->mark == PreviewMark::suggested) {
            size_pipe(s, s.pipes[k]);
        }
    }
    return row_bytes(s.q_user, s.q_design, s.g_design, s.dn, s.v, s.r);
}

// A two-pipe system typed into the empty sheet from the keyboard: supply main 1, risers 2 and
// 3, radiators 4 to 7, their returns 8 and 9 and the return main 10; each row's 上游 and
// 用户负荷, then Ctrl+Enter for the next. Then Ctrl+D.
inline std::vector<Action> two_pipe_system_typed() {
    const std::pair<const char*, const char*> rows[] = {
        {"", ""},      {"1", ""},     {"1", ""},   {"2", "1500"}, {"2", "2000"},
        {"3", "1200"}, {"3", "1800"}, {"4 5", ""}, {"6 7", ""},   {"8 9", ""}};
    std::vector<Action> keys{act::click(ControlId::cmdsheet),
                             act::sheet_key(PhysicalKey::enter, false, true),
                             act::sheet_key(PhysicalKey::home), act::sheet_key(PhysicalKey::right)};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (*rows[i].first != 0) {
            keys.push_back(act::sheet_text(rows[i].first));
        }
        keys.push_back(act::sheet_key(PhysicalKey::tab));
        if (*rows[i].second != 0) {
            keys.push_back(act::sheet_text(rows[i].second));
        }
        if (i + 1 < std::size(rows)) {
            keys.push_back(act::sheet_key(PhysicalKey::enter, false, true));
            keys.push_back(act::sheet_key(PhysicalKey::tab, true));
        } else {
            keys.push_back(act::sheet_key(PhysicalKey::enter));
        }
    }
    keys.push_back(act::sheet_ctrl('D'));
    return keys;
}

inline const std::vector<Scenario>& conformance_scenarios() {
    using enum ControlId;
    const std::vector<Action> sized_and_sheet_open{act::type_load("10000"), act::size(),
                                                   act::click(cmdsheet)};
    const auto then = [&](std::vector<Action> more) {
        std::vector<Action> all = sized_and_sheet_open;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    const auto typed = [](std::string_view text) {
        std::vector<Action> keys;
        for (char c : text) {
            keys.push_back({.kind = Action::sheet_press,
                            .stroke = {PhysicalKey::other, 0, false, false, false, {c}}});
        }
        return keys;
    };
    const auto plus = [](std::vector<Action> a, const std::vector<Action>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::string worked_log = header_bytes() + worked_row;
    const std::vector<Action> two_rows{act::type_load("10000"), act::size(), act::size(),
                                       act::click(cmdsheet)};
    // A scenario that ends on the sheet, the results of the last sizing still shown.
    const auto on_sheet = [](std::string log, Scenario scenario) {
        scenario.results_visible = true;
        scenario.log = std::move(log);
        scenario.sheet = true;
        return scenario;
    };
    static const std::vector<Scenario> scenarios{
        {.name = "worked_example",
         .actions = {act::type_load("10000"), act::size()},
         .boxes = {{Text2, "12000"}, {Text3, "412.71"}, {problem_line, ""}},
         .results_visible = true,
         .results = worked_results(),
         .log = worked_log,
         .asked = {std::string(diameter_title) + "|" + std::string(diameter_prompt) + "|" +
                   std::string(diameter_offered)},
         .listed = {{0, joined(diameter_preview_header())},
                    {3, " 25 | 21.25 | .329 | 101.17 |推荐"}}},
        {.name = "results_put_away_then_sized_again",
         .actions = {act::type_load("10000"), act::size(), act::on_results(), act::size()},
         .boxes = {{Text3, "412.71"}},
         .results_visible = true,
         .results = worked_results(),
         .log = worked_log + worked_row},
        {.name = "esc_puts_the_results_away_and_the_next_load_is_typed_over_the_last",
         .actions = {act::type_load("10000"), act::size(), act::on_results()},
         .boxes = {{Text2, "12000"}},
         .log = worked_log,
         .focus = "Text1:10000"},
        {.name = "a_double_click_and_the_close_box_put_the_results_away",
         .actions = {act::type_load("10000"), act::size(), act::on_results(Gesture::double_click),
                     act::size(), act::on_results(Gesture::close_box)},
         .boxes = {{Text3, "412.71"}},
         .log = worked_log + worked_row},
        {.name = "the_list_stays_while_the_diameter_is_asked_for",
         .actions = {act::type_load("10000"), act::size_trying_to_close_the_list()},
         .results_visible = true,
         .results = worked_results(),
         .log = worked_log,
         .list_held = true},
        {.name = "cancel_sizes_nothing",
         .actions = {act::type_load("10000"), act::cancel_sizing()},
         .boxes = {{Text2, "12000"}}},
        {.name = "the_close_box_ends_the_program_and_leaves_the_log",
         .actions = {act::type_load("10000"), act::size(), act::close()},
         .log = worked_log,
         .ended = true},
        {.name = "exit_ends_the_program_and_leaves_the_log",
         .actions = {act::type_load("10000"), act::size(), act::click(Cmdexit)},
         .log = worked_log,
         .ended = true},
        {.name = "each_parameter_button_asks_with_its_own_title_and_value",
         .actions = {act::set_parameter(cmdset1, "983.25"), act::set_parameter(cmdset2, "95"),
                     act::set_parameter(cmdset3, "70"), act::set_parameter(cmdset4, "0.477")},
         .asked = {parameter_box(cmdset1, "983.25"), parameter_box(cmdset2, "95"),
                   parameter_box(cmdset3, "70"), parameter_box(cmdset4, "0.477")}},
        {.name = "the_parameter_buttons_tell_their_current_values",
         .actions = {act::set_parameter(cmdset1, "977.8")},
         .tips = {{cmdset1, parameter_tip(0, 977.8f)},
                  {cmdset3, parameter_tip(2, 70)},
                  {cmdset4, parameter_tip(3, 0.477f)}}},
        {.name = "a_diameter_not_in_the_table_logs_nothing",
         .actions = {act::type_load("10000"), act::size_refused("65")},
         .boxes = {{Text2, "12000"}}},
        {.name = "a_new_supply_temperature_changes_the_flow_at_the_next_load",
         .actions = {act::set_parameter(cmdset2, "90"), act::type_load("10000")},
         .boxes = {{Text2, "12000"}, {Text3, "515.89"}}},
        {.name = "the_sheet_opens_on_the_newest_length",
         .actions = sized_and_sheet_open,
         .results_visible = true,
         .log = worked_log,
         .sheet = true,
         .cells = {{0, length_column, "0"}, {0, dn_column, "25"}},
         .current = {0, length_column}},
        {.name = "an_entry_typed_on_the_sheet_is_taken_by_enter",
         .actions = then(plus(typed("12.5"), {act::sheet_key(PhysicalKey::enter)})),
         .results_visible = true,
         .log = worked_log,
         .sheet = true,
         .cells = {{0, length_column, "12.5"}},
         .current = {0, length_column}},
        {.name = "a_refused_entry_stays_with_its_text_and_the_reason",
         .actions = then(plus(typed("-1"), {act::sheet_key(PhysicalKey::tab)})),
         .results_visible = true,
         .log = worked_log,
         .sheet = true,
         .cells = {{0, length_column, "0"}},
         .editor = "-1",
         .refused = true,
         .current = {0, length_column}},
        {.name = "esc_drops_the_entry_and_tab_moves_to_the_next_cell",
         .actions = then(plus(
             typed("-1"), {act::sheet_key(PhysicalKey::tab), act::sheet_key(PhysicalKey::escape),
                           act::sheet_key(PhysicalKey::tab)})),
         .results_visible = true,
         .log = worked_log,
         .sheet = true,
         .cells = {{0, length_column, "0"}},
         .current = {0, dn_column}},
        {.name = "ctrl_c_copies_the_selected_cells",
         .actions = then({act::sheet_key(PhysicalKey::right, true), act::sheet_ctrl('C')}),
         .results_visible = true,
         .log = worked_log,
         .sheet = true,
         .current = {0, dn_column},
         .clipboard = "0\t25\r\n"},
        {.name = "ctrl_v_pastes_into_the_current_cell",
         .actions = then({act::put_on_clipboard("7.5"), act::sheet_ctrl('V')}),
         .results_visible = true,
         .log = worked_log,
         .sheet = true,
         .cells = {{0, length_column, "7.5"}},
         .current = {0, length_column}},
        // What a newcomer met, each mended once for both front-ends.
        on_sheet(worked_log + worked_row,
                 {.name = "row_numbers_pick_whole_rows_and_the_grid_stays_where_it_was",
                  .actions = plus(two_rows, {act::row_number(0), act::row_number(1, true),
                                             act::sheet_ctrl('C')}),
                  .current = {1, length_column},
                  .clipboard_begins = copied_titles() + "1\t",
                  .unscrolled = true}),
        on_sheet(worked_log + worked_row,
                 {.name = "rows_picked_by_keyboard_copy_with_their_titles",
                  .actions = plus(
                      two_rows,
                      {act::sheet_key(PhysicalKey::up), act::sheet_key(PhysicalKey::space, true),
                       act::sheet_key(PhysicalKey::down, true), act::sheet_ctrl('C')}),
                  .current = {1, length_column},
                  .clipboard_begins = copied_titles() + "1\t"}),
        on_sheet(worked_log + worked_row,
                 {.name = "ctrl_a_picks_every_row",
                  .actions = plus(two_rows, {act::sheet_ctrl('A'), act::sheet_ctrl('C')}),
                  .current = {1, length_column},
                  .clipboard_begins = copied_titles() + "1\t"}),
        on_sheet(worked_log, {.name = "shift_ctrl_end_extends_the_selection",
                              .actions = then({act::sheet_key(PhysicalKey::end, true, true),
                                               act::sheet_ctrl('C')}),
                              .current = {0, sheet_columns.size() - 1},
                              .clipboard_begins = "0\t25\t"}),
        on_sheet(worked_log, {.name = "ctrl_home_brings_the_row_numbers_back",
                              .actions = then({act::sheet_key(PhysicalKey::end, false, true),
                                               act::sheet_key(PhysicalKey::home, false, true)}),
                              .current = {0, 0},
                              .unscrolled = true}),
        on_sheet(
            worked_log,
            {.name = "a_copied_sigma_xi_keeps_its_fittings",
             .actions = then({act::sheet_key(PhysicalKey::tab), act::sheet_key(PhysicalKey::tab),
                              act::sheet_key(PhysicalKey::tab), act::sheet_key(PhysicalKey::tab),
                              act::sheet_key(PhysicalKey::tab), act::sheet_key(PhysicalKey::tab),
                              act::sheet_text("2×90°煨弯"), act::sheet_key(PhysicalKey::enter),
                              act::sheet_key(PhysicalKey::up), act::sheet_ctrl('C')}),
             .current = {0, xi_column},
             .clipboard = "2×90°煨弯\r\n"}),
        on_sheet(worked_log,
                 {.name = "a_dn_not_in_the_table_is_refused_in_the_sheets_own_words",
                  .actions = then(plus({act::sheet_key(PhysicalKey::tab)},
                                       plus(typed("65"), {act::sheet_key(PhysicalKey::enter)}))),
                  .cells = {{0, dn_column, "25"}},
                  .editor = "65",
                  .refused = true,
                  .current = {0, dn_column},
                  .message = dn_refused("65", {true, 65}, worked_pipes())}),
        on_sheet(worked_log,
                 {.name = "a_decimal_comma_is_refused_saying_what_to_type",
                  .actions = then(plus(typed("5,5"), {act::sheet_key(PhysicalKey::enter)})),
                  .cells = {{0, length_column, "0"}},
                  .editor = "5,5",
                  .refused = true,
                  .current = {0, length_column},
                  .message = length_refused("5,5")}),
        on_sheet(worked_log, {.name = "full_width_digits_are_refused_saying_what_to_type",
                              .actions = then({act::sheet_text("１２，５"),
                                               act::sheet_key(PhysicalKey::enter)}),
                              .cells = {{0, length_column, "0"}},
                              .editor = "１２，５",
                              .refused = true,
                              .current = {0, length_column},
                              .message = length_refused("１２，５")}),
        on_sheet(worked_log, {.name = "closing_the_sheet_takes_the_entry_in_progress",
                              .actions = then(plus(typed("12.5"), {act::close_sheet()})),
                              .cells = {{0, length_column, "12.5"}},
                              .current = {0, length_column},
                              .sheet_closed = true}),
        on_sheet(worked_log,
                 {.name = "closing_the_sheet_on_a_refused_entry_asks_and_goes_back_to_it",
                  .actions = then(plus(
                      typed("-1"), {act::answer_question(keep_entry_caption), act::close_sheet()})),
                  .cells = {{0, length_column, "0"}},
                  .editor = "-1",
                  .refused = true,
                  .current = {0, length_column}}),
        on_sheet(worked_log,
                 {.name = "quitting_on_a_refused_entry_asks_first",
                  .actions = then(plus(typed("-1"), {act::answer_question(keep_entry_caption),
                                                     act::click(Cmdexit)})),
                  .cells = {{0, length_column, "0"}},
                  .editor = "-1",
                  .refused = true,
                  .current = {0, length_column}}),
        // A network typed around the sized row: a supply main above it, a return below, each
        // added with Ctrl+Enter; Ctrl+D sizes them for the radiator's load, as the main window
        // sized it, and leaves the engineer's DN alone.
        on_sheet(
            worked_log + worked_row + worked_row,
            {.name = "a_network_typed_from_the_keyboard_is_sized_with_ctrl_d",
             .actions = then({act::sheet_key(PhysicalKey::enter, false, true),
                              act::sheet_key(PhysicalKey::enter, false, true),
                              act::sheet_key(PhysicalKey::home), act::sheet_key(PhysicalKey::right),
                              act::sheet_text("1"), act::sheet_key(PhysicalKey::enter),
                              act::sheet_key(PhysicalKey::up), act::sheet_key(PhysicalKey::up),
                              act::sheet_text("2"), act::sheet_key(PhysicalKey::enter),
                              act::sheet_ctrl('D')}),
             .cells = {{0, upstream_column, "2"},
                       {0, dn_column, "25 " + std::string(fixed_dn_mark)},
                       {1, segment_column, "2"},
                       {1, load_column, "12000"},
                       {1, dn_column, "25"},
                       {2, upstream_column, "1"},
                       {2, loops_column, "1"}},
             .current = {1, upstream_column},
             .message = "自动选管径：2 个管段，2 个改了管径。",
             .noted = true}),
        // Sized by Ctrl+D, each row logs what the main window logs for its summed load.
        {.name = "a_two_pipe_system_typed_into_the_sheet_logs_what_the_main_window_would",
         .actions = two_pipe_system_typed(),
         .log = header_bytes() + recommended_row("6500") + recommended_row("3500") +
                recommended_row("3000") + recommended_row("1500") + recommended_row("2000") +
                recommended_row("1200") + recommended_row("1800") + recommended_row("3500") +
                recommended_row("3000") + recommended_row("6500"),
         .sheet = true,
         .cells = {{0, load_column, "7800"},
                   {7, upstream_column, "4 5"},
                   {9, loops_column, "4 5 6 7"}},
         .current = {9, column_index(SheetColumn::consumer)},
         .message = "自动选管径：10 个管段，10 个改了管径。",
         .noted = true},
        {.name = "quitting_drops_a_refused_entry_when_told_to",
         .actions = then(
             plus(typed("-1"), {act::answer_question(drop_entry_caption), act::click(Cmdexit)})),
         .log = worked_log,
         .ended = true},

    };
    return scenarios;
}

// Plays a scenario; the differences from what it expects, none when the toolkit agrees.
inline std::vector<std::string> play(ConformanceDriver& driver, const Scenario& scenario) {
    for (const Action& action : scenario.actions) {
        switch (action.kind) {
            case Action::type_load:
                driver.type_load(action.text);
                break;
            case Action::size:
                driver.size(action.text, action.gesture);
                break;
            case Action::size_refused:
                driver.size_refused(action.text);
                break;
            case Action::cancel_sizing:
                driver.cancel_sizing();
                break;
            case Action::set_parameter:
                driver.set_parameter(action.button, action.text);
                break;
            case Action::click:
                driver.click(action.button);
                break;
            case Action::on_window:
                driver.gesture(action.window, action.gesture.value_or(Gesture::escape));
                break;
            case Action::close:
                driver.close_main();
                break;
            case Action::sheet_press:
                driver.sheet_press(action.stroke);
                break;
            case Action::put_on_clipboard:
                driver.toolkit().set_clipboard(action.text);
                break;
            case Action::row_number:
                driver.sheet_row_number(std::stoul(action.text), action.stroke.shift);
                break;
            case Action::close_sheet:
                driver.close_sheet();
                break;
            case Action::answer_question:
                driver.answer_question(action.text);
                break;
        }
    }
    std::vector<std::string> differences;
    const auto differ = [&](const std::string& what, const std::string& got,
                            const std::string& want) {
        if (got != want) {
            differences.push_back(std::string(scenario.name) + ": " + what + " is \"" + got +
                                  "\", not \"" + want + "\"");
        }
    };
    const auto yes = [](bool b) { return std::string(b ? "yes" : "no"); };
    for (const auto& [control, text] : scenario.boxes) {
        differ(std::string(control_spec(control).name), driver.shown(control), text);
    }
    for (const auto& [control, text] : scenario.tips) {
        differ(std::string(control_spec(control).name) + " tip", driver.tip(control), text);
    }
    if (!scenario.focus.empty()) {
        differ("focus", driver.focus(), scenario.focus);
    }
    if (!scenario.asked.empty()) {
        const auto& asked = driver.asked();
        for (std::size_t i = 0; i < std::max(asked.size(), scenario.asked.size()); ++i) {
            differ("input box " + std::to_string(i), i < asked.size() ? asked[i] : "",
                   i < scenario.asked.size() ? scenario.asked[i] : "");
        }
    }
    const auto& listed = driver.listed();
    for (const auto& [line, text] : scenario.listed) {
        differ("list line " + std::to_string(line), line < listed.size() ? listed[line] : "", text);
    }
    if (scenario.list_held) {
        differ("list shown while asked", yes(driver.list_shown_while_asked()), "yes");
    }
    differ("results visible", yes(driver.results_visible()), yes(scenario.results_visible));
    differ("list visible", yes(driver.list_visible()), "no");
    differ("ended", yes(driver.ended()), yes(scenario.ended));
    if (scenario.results_visible) {
        const auto lines = driver.results();
        for (std::size_t i = 0; i < scenario.results.size(); ++i) {
            differ("results line " + std::to_string(i), i < lines.size() ? lines[i] : "",
                   scenario.results[i]);
        }
    }
    differ("log", driver.log(), scenario.log);
    if (scenario.sheet) {
        const SheetGrid& grid = driver.handlers().grid();
        differ("sheet visible", yes(driver.sheet_visible()), yes(!scenario.sheet_closed));
        if (scenario.unscrolled) {
            differ("grid scrolled sideways", yes(driver.sheet_scrolled() > 0), "no");
        }
        if (!scenario.message.empty()) {
            differ("message words", grid.message(), scenario.message);
        }
        for (const CellText& cell : scenario.cells) {
            differ("cell " + std::to_string(cell.row) + "," + std::to_string(cell.column),
                   driver.sheet_cell(cell.row, cell.column), cell.text);
        }
        const auto editor = [](const std::optional<std::string>& text) {
            return text ? "editing " + *text : std::string("not editing");
        };
        differ("editor", editor(driver.sheet_editor()), editor(scenario.editor));
        differ("message line", driver.sheet_message(), grid.message());
        differ("reason given", yes(!grid.message().empty()),
               yes(scenario.refused || scenario.noted));
        const auto at = [](std::size_t row, std::size_t column) {
            return std::to_string(row) + "," + std::to_string(column);
        };
        differ("current cell", at(grid.current().row, grid.current().column),
               at(scenario.current.first, scenario.current.second));
    }
    if (!scenario.clipboard.empty()) {
        differ("clipboard", driver.toolkit().clipboard_text(), scenario.clipboard);
    }
    if (!scenario.clipboard_begins.empty()) {
        const std::string copied = driver.toolkit().clipboard_text();
        differ("clipboard's beginning", copied.substr(0, scenario.clipboard_begins.size()),
               scenario.clipboard_begins);
    }
    return differences;
}

}  // namespace kestrune::testing
