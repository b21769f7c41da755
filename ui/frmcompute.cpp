// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmcompute.h"

#include <filesystem>
#include <vector>

#include "conversions.h"
#include "design_steps.h"
#include "file_error.h"
#include "frmchoose.h"
#include "frmdisplay.h"
#include "leading_number.h"
#include "log_keeping.h"
#include "messages.h"
#include "number_text.h"
#include "pipe_preview.h"
#include "pipe_table.h"
#include "project_files.h"
#include "results_log.h"
#include "sheet_dialogs.h"
#include "sheet_help.h"

namespace kestrune {
namespace {

// What a box was read as, when the reading left a rest that holds a digit; empty otherwise.
// A unit after the number ("10000 W") is no reason to speak.
std::string unread_note(std::string_view what, float read, std::string_view text) {
    const std::string_view rest = unread_rest(text);
    return holds_digit(rest) ? reading_note(what, read, rest) : std::string();
}

std::string working_folder() {
    std::error_code ignored;
    return path_text(std::filesystem::current_path(ignored));
}

}  // namespace

bool frmcompute::start() {
    state_.reset();
    if (!enter_given_project() || !find_table() || !take_folder() || !keep_earlier_log()) {
        return false;
    }
    if (auto error = recreate_results_log(std::string(results_log_name))) {
        toolkit_.tell(log_recreate_problem(*error, working_folder()), Severity::warning);
    } else {
        log_ready_ = true;
    }
    sheet_.open(places_.examples);
    project_entered();
    show_parameter_tips();
    show_problem_line();
    return true;
}

bool frmcompute::find_table() {
    auto table = load_pipe_table();
    // Started from the menu, or by a shortcut elsewhere, the working folder is usually without
    // the table: offer the example table (the one beside the program, or else the program's
    // own copy of it), or the folder that holds one, for the whole run.
    if (!places_.examples.empty() && !load_pipe_table(places_.examples)) {
        places_.examples.clear();
    }
    while (!table && table.error().fault == TableFault::missing_file) {
        const std::vector<std::string> buttons{std::string(use_example_caption),
                                               std::string(choose_folder_caption),
                                               std::string(quit_caption)};
        const std::size_t choice = toolkit_.ask_choice(
            missing_table_question(table.error(), working_folder()), buttons, 0);
        if (choice + 1 == buttons.size()) {
            return false;
        }
        std::error_code ignored;
        if (choice == 0) {
            use_example_table();
        } else if (auto folder = toolkit_.choose_folder(folder_chooser_title,
                                                        std::filesystem::current_path(ignored))) {
            // A folder where the results cannot be logged would fail every sizing.
            if (auto error = check_log_writable(*folder)) {
                toolkit_.tell(folder_not_writable(*error, path_text(*folder)), Severity::warning);
            } else {
                std::filesystem::current_path(*folder, ignored);
            }
        }
        table = load_pipe_table();
    }
    if (!table) {
        toolkit_.tell(table_problem(table.error(), working_folder()), Severity::critical);
        return false;
    }
    state_.pipes = table.value();
    return true;
}

void frmcompute::use_example_table() {
    std::error_code ignored;
    std::filesystem::path target = std::filesystem::current_path(ignored);
    // From the menu the program starts in the home folder: the table gets a folder of its own.
    if (!places_.home.empty() && std::filesystem::equivalent(target, places_.home, ignored)) {
        target /= "Kestrune";
    }
    auto error = copy_pipe_table(places_.examples, target);
    if (!error) {
        error = check_log_writable(target);
    }
    if (error) {
        toolkit_.tell(example_not_copied(*error, path_text(target)), Severity::warning);
        return;
    }
    std::filesystem::current_path(target, ignored);
}

bool frmcompute::take_folder() {
    // Before any file of the folder is touched: a second program here would keep the first
    // one's log aside, and the first one's rows would land in the second one's log.
    std::error_code ignored;
    const auto outcome =
        folder_lock_->take(std::filesystem::current_path(ignored), toolkit_.window_token());
    if (outcome == FolderLock::Outcome::in_the_way) {
        // Without the lock a second program could write here too: the start is refused.
        toolkit_.tell(lock_in_the_way(working_folder()), Severity::warning);
        return false;
    }
    if (outcome != FolderLock::Outcome::held) {
        return true;
    }
    const bool raised = toolkit_.bring_to_front(folder_lock_->holder_token());
    toolkit_.tell(already_running(working_folder(), raised), Severity::information);
    return false;
}

bool frmcompute::keep_earlier_log() {
    auto kept = kestrune::keep_earlier_log(std::string(results_log_name));
    if (!kept) {
        return true;
    }
    if (kept->has_value()) {
        notices_.post(NoticeId::earlier_log_kept, Severity::information,
                      earlier_log_kept(path_text(kept->value().filename())));
        return true;
    }
    // Emptying the log now would lose the rows: only the engineer may decide that.
    // Enter and the close box keep them; emptying takes a deliberate click.
    const std::size_t choice = toolkit_.ask_choice(
        earlier_log_not_kept(kept->error()),
        {std::string(empty_log_caption), std::string(keep_and_quit_caption)}, 1);
    return choice == 0;
}

void frmcompute::text_changed(ControlId control) {
    if (control == ControlId::Text1) {
        load_changed();
    } else if (control == ControlId::Text4) {
        margin_changed();
    }
}

void frmcompute::clicked(ControlId control) {
    if (control == ControlId::cmdok) {
        run_sizing();
        return;
    }
    if (control == ControlId::Cmdexit) {
        end_program();
        return;
    }
    if (control == ControlId::cmdsheet) {
        open_sheet();
        return;
    }
    for (const ParameterDialog& dialog : parameter_dialogs) {
        if (dialog.button == control) {
            ask_parameter(dialog);
        }
    }
}

void frmcompute::enter_pressed(ControlId control) {
    if (control == ControlId::Text1 || control == ControlId::Text4) {
        run_sizing();
    }
}

void frmcompute::close_box() {
    end_program();
}

void frmcompute::results_dismissed() {
    toolkit_.hide(PrintWindowId::frmdisplay);
    // Ready for the next branch: its load typed over the last one.
    toolkit_.focus(ControlId::Text1, true);
}

void frmcompute::print_window_gesture(PrintWindowId window, Gesture) {
    if (window_spec(window).dismissable && window == PrintWindowId::frmdisplay) {
        results_dismissed();
    }
}

void frmcompute::list_clicked(std::size_t line, bool double_click) {
    // Line 0 is the header; the table's rows follow in order.
    if (!asking_diameter_ || line == 0 || line > state_.pipes.size()) {
        return;
    }
    toolkit_.offer_answer(std::to_string(state_.pipes[line - 1].dn), double_click);
}

void frmcompute::help_requested(bool in_sheet) {
    toolkit_.tell(in_sheet ? sheet_help_text(sheet_.fittings()) : help_text(working_folder()),
                  Severity::information);
}

void frmcompute::load_changed() {
    const std::string load = toolkit_.text(ControlId::Text1);
    notices_.withdraw(NoticeId::load_reading);
    load_entered_ = false;
    if (auto fault = enter_load(state_, load)) {
        // No dialog from a keystroke: the problem shows under the output boxes.
        notices_.post(NoticeId::load_problem, Severity::warning, load_problem(*fault, state_));
        toolkit_.set_text(ControlId::Text2, "");
        toolkit_.set_text(ControlId::Text3, "");
    } else {
        notices_.withdraw(NoticeId::load_problem);
        toolkit_.set_text(ControlId::Text2, float_box_form(state_.q_design));
        toolkit_.set_text(ControlId::Text3, float_box_form(state_.g_design));
        notices_.post(NoticeId::load_reading, Severity::information,
                      unread_note("用户负荷", state_.q_user, load));
        load_entered_ = !load.empty();
        used_margin_ = state_.k_margin;
        used_dt_ = state_.dt;
    }
    show_problem_line();
}

void frmcompute::margin_changed() {
    const std::string text = toolkit_.text(ControlId::Text4);
    auto margin = read_float_field(text);
    notices_.withdraw(NoticeId::margin_reading);
    if (margin) {
        state_.k_margin = margin.value();
        notices_.withdraw(NoticeId::margin_problem);
        notices_.post(NoticeId::margin_reading, Severity::information,
                      unread_note("富裕系数", state_.k_margin, text));
    } else {
        notices_.post(NoticeId::margin_problem, Severity::warning, margin_problem());
    }
    show_problem_line();
}

void frmcompute::show_problem_line() {
    // One line: the most pressing thing the engineer should know.
    update_stale_notice();
    const Notice* shown = notices_.shown();
    toolkit_.set_text(ControlId::problem_line, shown != nullptr ? shown->text : std::string());
}

std::string frmcompute::stale_text() {
    update_stale_notice();
    const auto& stale = notices_.find(NoticeId::stale_design);
    return stale ? stale->text : std::string();
}

void frmcompute::update_stale_notice() {
    if (!load_entered_ || notices_.has(NoticeId::load_problem)) {
        notices_.withdraw(NoticeId::stale_design);
        return;
    }
    notices_.post(NoticeId::stale_design, Severity::information,
                  stale_design_note(used_margin_, state_.k_margin, used_dt_, state_.dt));
}

void frmcompute::show_parameter_tips() {
    for (const ParameterDialog& dialog : parameter_dialogs) {
        toolkit_.set_tip(dialog.button,
                         current_value_tip(parameter_value(dialog, state_), dialog.unit));
    }
}

void frmcompute::run_sizing() {
    if (const auto& problem = notices_.find(NoticeId::load_problem)) {
        toolkit_.tell(load_blocks_sizing(problem->text), Severity::warning);
        return;
    }
    toolkit_.show(PrintWindowId::frmchoose);
    // The load entry is good here: each row shows what sizing it would give, with what.
    frmchoose::list_pipes(toolkit_, state_.pipes, preview_table(state_),
                          {preview_parameters_note(state_), stale_text()});

    asking_diameter_ = true;
    auto answer = toolkit_.ask_text(
        {std::string(diameter_prompt), std::string(diameter_title), std::string(diameter_offered)});
    asking_diameter_ = false;
    if (!answer) {
        frmchoose::end_choice(toolkit_);
        return;
    }
    const auto pipe = answered_pipe(*answer, state_.pipes);
    if (!pipe) {
        // Never size with the inner diameter of an earlier, different choice.
        toolkit_.tell(pipe.error().in_table_range ? diameter_not_in_table(pipe.error().dn)
                                                  : diameter_out_of_range(*answer),
                      Severity::warning);
        frmchoose::end_choice(toolkit_);
        return;
    }
    frmchoose::end_choice(toolkit_);

    if (auto fault = size_pipe(state_, pipe.value())) {
        toolkit_.tell(sizing_problem(*fault, state_), Severity::warning);
        return;
    }
    auto log_problem = log_row(state_);
    frmdisplay::show_results(toolkit_, state_);
    if (log_problem) {
        toolkit_.tell(*log_problem, Severity::warning);
    }
    sheet_.add_sizing(state_);
    sheet_.show_changes();  // an open sheet shows the row at once
}

void frmcompute::open_sheet() {
    grid_.open();
    toolkit_.show_sheet();
    toolkit_.sheet_changed();
}

std::optional<std::string> frmcompute::log_row(const design_state& s) {
    // A log that could not be made at the start is made now, header first: the rows of an
    // earlier run that the engineer chose to empty never get this run's rows under them.
    if (!log_ready_) {
        if (auto error = recreate_results_log(std::string(results_log_name))) {
            return log_recreate_problem(*error, working_folder());
        }
        log_ready_ = true;
    }
    if (auto error = append_results_row(std::string(results_log_name), s)) {
        return log_append_problem(*error);
    }
    if (notices_.has(NoticeId::earlier_log_kept)) {
        // The new log has its first row: the old one is history.
        notices_.withdraw(NoticeId::earlier_log_kept);
        show_problem_line();
    }
    return std::nullopt;
}

void frmcompute::ask_parameter(const ParameterDialog& dialog) {
    if (dialog.range == ParameterRange::positive) {
        ask_positive(dialog, state_.*dialog.value);
    } else {
        ask_temperature(dialog, state_.*dialog.temperature, dialog.set_temperature);
    }
    show_parameter_tips();
    show_problem_line();
}

std::optional<std::string> frmcompute::ask(const ParameterDialog& dialog) {
    return toolkit_.ask_text(
        {std::string(dialog.prompt), std::string(dialog.title), offered_answer(dialog)});
}

void frmcompute::ask_positive(const ParameterDialog& dialog, float& field) {
    auto answer = ask(dialog);
    if (!answer) {
        return;
    }
    auto value = read_float_field(*answer);
    if (!value || !(value.value() > 0.0f)) {
        toolkit_.tell(positive_value_needed(dialog.quantity, *answer, field), Severity::warning);
        return;
    }
    field = value.value();
}

void frmcompute::ask_temperature(const ParameterDialog& dialog, std::int16_t current,
                                 std::optional<ArithError> (design_state::*set)(std::int16_t)) {
    auto answer = ask(dialog);
    if (!answer) {
        return;
    }
    auto value = read_int16_field(*answer);
    if (!value) {
        toolkit_.tell(temperature_out_of_range(dialog.quantity, *answer, current),
                      Severity::warning);
        return;
    }
    if ((state_.*set)(value.value())) {
        toolkit_.tell(temperature_difference_out_of_range(state_), Severity::warning);
    }
}

bool frmcompute::may_leave(bool switching) {
    // An entry typed in the sheet and not yet taken is never lost without a word.
    if (!grid_.closing()) {
        open_sheet();
        return false;
    }
    // Changes the disk does not hold are left behind only by a deliberate answer.
    if (sheet_.unsaved() &&
        toolkit_.ask_choice(unsaved_quit_question(switching),
                            {std::string(switching ? stay_in_project_caption : stay_caption),
                             std::string(switching ? switch_anyway_caption : quit_anyway_caption)},
                            0) != 1) {
        open_sheet();
        return false;
    }
    return true;
}

void frmcompute::end_program() {
    if (may_leave(false)) {
        std::error_code ignored;
        remember_project(places_.settings, std::filesystem::current_path(ignored));
        toolkit_.end_program();
    }
}

}  // namespace kestrune
