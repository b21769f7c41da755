// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmcompute.h"

#include <filesystem>

#include "conversions.h"
#include "design_steps.h"
#include "file_error.h"
#include "frmchoose.h"
#include "frmdisplay.h"
#include "messages.h"
#include "number_text.h"
#include "pipe_preview.h"
#include "pipe_table.h"
#include "results_log.h"

namespace kestrune {
namespace {

std::string working_folder() {
    std::error_code ignored;
    return path_text(std::filesystem::current_path(ignored));
}

}  // namespace

bool frmcompute::start() {
    state_.reset();
    auto table = load_pipe_table();
    // Started from the menu, the working folder is usually the home folder, without the
    // table: offer to choose the folder that holds it, which then serves the whole run.
    while (!table && table.error().fault == TableFault::missing_file) {
        const std::size_t choice =
            toolkit_.ask_choice(missing_table_question(table.error(), working_folder()),
                                {std::string(choose_folder_caption), std::string(quit_caption)});
        if (choice != 0) {
            return false;
        }
        std::error_code ignored;
        if (auto folder = toolkit_.choose_folder(folder_chooser_title,
                                                 std::filesystem::current_path(ignored))) {
            std::filesystem::current_path(*folder, ignored);
        }
        table = load_pipe_table();
    }
    if (!table) {
        toolkit_.tell(table_problem(table.error(), working_folder()), Severity::critical);
        return false;
    }
    state_.pipes = table.value();
    if (auto error = recreate_results_log(std::string(results_log_name))) {
        toolkit_.tell(log_recreate_problem(*error, working_folder()), Severity::warning);
    }
    return true;
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
    for (const ParameterDialog& dialog : parameter_dialogs) {
        if (dialog.button == control) {
            ask_parameter(dialog);
        }
    }
}

void frmcompute::close_box() {
    end_program();
}

void frmcompute::results_dismissed() {
    toolkit_.hide(PrintWindowId::frmdisplay);
}

void frmcompute::load_changed() {
    if (auto fault = enter_load(state_, toolkit_.text(ControlId::Text1))) {
        // No dialog from a keystroke: the problem shows under the output boxes.
        load_problem_ = load_problem(*fault, state_);
        toolkit_.set_text(ControlId::Text2, "");
        toolkit_.set_text(ControlId::Text3, "");
    } else {
        load_problem_.clear();
        toolkit_.set_text(ControlId::Text2, float_box_form(state_.q_design));
        toolkit_.set_text(ControlId::Text3, float_box_form(state_.g_design));
    }
    show_problem_line();
}

void frmcompute::margin_changed() {
    auto margin = read_float_field(toolkit_.text(ControlId::Text4));
    if (margin) {
        state_.k_margin = margin.value();
        margin_problem_.clear();
    } else {
        margin_problem_ = margin_problem();
    }
    show_problem_line();
}

void frmcompute::show_problem_line() {
    toolkit_.set_text(ControlId::problem_line,
                      load_problem_.empty() ? margin_problem_ : load_problem_);
}

void frmcompute::run_sizing() {
    if (!load_problem_.empty()) {
        toolkit_.tell(load_blocks_sizing(load_problem_), Severity::warning);
        return;
    }
    toolkit_.show(PrintWindowId::frmchoose);
    // The load entry is good here: each row shows what sizing it would give.
    frmchoose::list_pipes(toolkit_, state_.pipes, preview_table(state_));

    auto answer = toolkit_.ask_text({std::string(diameter_prompt), std::string(diameter_title),
                                     std::string(diameter_offered)});
    if (!answer) {
        frmchoose::end_choice(toolkit_);
        return;
    }
    auto dn = read_int16_field(*answer);
    if (!dn) {
        toolkit_.tell(diameter_out_of_range(*answer), Severity::warning);
        frmchoose::end_choice(toolkit_);
        return;
    }
    auto d = find_inner_diameter(state_.pipes, dn.value());
    if (!d) {
        // Never size with the inner diameter of an earlier, different choice.
        toolkit_.tell(diameter_not_in_table(dn.value()), Severity::warning);
        frmchoose::end_choice(toolkit_);
        return;
    }
    frmchoose::end_choice(toolkit_);

    if (auto fault = size_pipe(state_, PipeSize{dn.value(), *d})) {
        toolkit_.tell(sizing_problem(*fault, state_), Severity::warning);
        return;
    }
    auto log_error = append_results_row(std::string(results_log_name), state_);
    frmdisplay::show_results(toolkit_, state_);
    if (log_error) {
        toolkit_.tell(log_append_problem(*log_error), Severity::warning);
    }
}

void frmcompute::ask_parameter(const ParameterDialog& dialog) {
    switch (dialog.button) {
        case ControlId::cmdset1:
            return ask_positive(dialog, state_.rho);
        case ControlId::cmdset2:
            return ask_temperature(dialog, state_.t_supply, &design_state::set_t_supply);
        case ControlId::cmdset3:
            return ask_temperature(dialog, state_.t_return, &design_state::set_t_return);
        case ControlId::cmdset4:
            return ask_positive(dialog, state_.nu);
        default:
            return;
    }
}

std::optional<std::string> frmcompute::ask(const ParameterDialog& dialog) {
    return toolkit_.ask_text({std::string(dialog.prompt), std::string(dialog.title),
                              std::string(dialog.offered)});
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

void frmcompute::end_program() {
    toolkit_.end_program();
}

}  // namespace kestrune
