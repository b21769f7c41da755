// SPDX-License-Identifier: GPL-3.0-or-later
// Projects: the program works in one project folder at a time. Moving to another does what a
// quit and a start would do there (the lock, the kept log, the table checks), and leaves the
// program where it was, with why told, whenever one of them fails.
#include <filesystem>
#include <vector>

#include "frmcompute.h"
#include "log_keeping.h"
#include "messages.h"
#include "pipe_table.h"
#include "project_files.h"
#include "project_messages.h"
#include "results_log.h"

namespace kestrune {
namespace {

constexpr std::size_t offered_projects = 5;  // buttons of 打开工程's question, besides the two

std::string without_outer_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t　");
    if (first == std::string_view::npos) {
        return {};
    }
    // The ideographic space is three bytes: strip whole characters only.
    std::string kept(text.substr(first));
    for (;;) {
        if (!kept.empty() && (kept.back() == ' ' || kept.back() == '\t')) {
            kept.pop_back();
        } else if (kept.size() >= 3 && kept.ends_with("　")) {
            kept.resize(kept.size() - 3);
        } else {
            return kept;
        }
    }
}

std::filesystem::path here() {
    std::error_code ignored;
    return std::filesystem::current_path(ignored);
}

}  // namespace

bool frmcompute::enter_given_project() {
    std::error_code ec;
    if (!places_.project.empty()) {
        std::filesystem::current_path(places_.project, ec);
        if (ec) {
            toolkit_.tell(project_not_entered(path_text(places_.project)), Severity::critical);
            return false;
        }
        return true;
    }
    if (places_.last_project) {
        // From the menu: the latest project that is still one; else the folder started in.
        for (const std::filesystem::path& folder : recent_projects(places_.settings)) {
            if (holds_pipe_table(folder)) {
                std::filesystem::current_path(folder, ec);
                if (!ec) {
                    break;
                }
            }
        }
    }
    return true;
}

void frmcompute::project_entered() {
    toolkit_.project_changed(project_name(here(), sheet_.project()));
}

void frmcompute::project_command(ProjectCommand command) {
    switch (command) {
        case ProjectCommand::create:
            new_project();
            break;
        case ProjectCommand::open:
            open_project();
            break;
        case ProjectCommand::details:
            edit_project_details();
            break;
    }
}

void frmcompute::new_project() {
    const std::filesystem::path current = here();
    const std::filesystem::path parent =
        current.has_relative_path() ? current.parent_path() : current;
    const auto answer = toolkit_.ask_text(
        {new_project_prompt(path_text(parent)), std::string(new_project_title), ""});
    if (!answer) {
        return;
    }
    const std::string name = without_outer_blanks(*answer);
    if (!usable_folder_name(name)) {
        toolkit_.tell(project_name_refused(name), Severity::warning);
        return;
    }
    const std::filesystem::path folder = parent / utf8_path(name);
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(folder, ec))) {
        toolkit_.tell(project_exists(path_text(folder)), Severity::warning);
        return;
    }
    if (!may_leave(true)) {
        return;
    }
    if (!std::filesystem::create_directory(folder, ec) || ec) {
        toolkit_.tell(project_not_made(file_error(folder, ec.default_error_condition().value()),
                                       path_text(folder)),
                      Severity::warning);
        return;
    }
    // Seeded with the example table, or, in a program without one, the table in use.
    const std::filesystem::path seed = places_.examples.empty() ? current : places_.examples;
    if (auto error = copy_pipe_table(seed, folder)) {
        std::filesystem::remove_all(folder, ec);  // made just now: nothing of the engineer's
        toolkit_.tell(project_not_made(*error, path_text(folder)), Severity::warning);
        return;
    }
    // Without its details the folder's name still names it: a failure here loses nothing.
    (void)write_project_details(folder, {name, sheet_.project().designer});
    switch_to(folder);
}

void frmcompute::open_project() {
    const std::filesystem::path current = here();
    std::vector<std::filesystem::path> folders;
    std::vector<std::string> names;
    std::error_code ec;
    for (const std::filesystem::path& folder : recent_projects(places_.settings)) {
        if (folders.size() == offered_projects) {
            break;
        }
        if (!std::filesystem::equivalent(folder, current, ec) && holds_pipe_table(folder)) {
            folders.push_back(folder);
            names.push_back(project_name(folder, read_project_details(folder)));
        }
    }
    std::optional<std::filesystem::path> chosen;
    if (!folders.empty()) {
        std::vector<std::string> buttons = names;
        buttons.emplace_back(other_folder_caption);
        buttons.emplace_back(cancel_caption);
        const std::size_t choice =
            toolkit_.ask_choice(open_project_question(folders, names), buttons, 0);
        if (choice + 1 >= buttons.size()) {
            return;
        }
        if (choice < folders.size()) {
            chosen = folders[choice];
        }
    }
    if (!chosen) {
        chosen = toolkit_.choose_folder(
            open_project_title, current.has_relative_path() ? current.parent_path() : current);
        if (!chosen) {
            return;
        }
    }
    if (may_leave(true)) {
        switch_to(*chosen);
    }
}

bool frmcompute::switch_to(const std::filesystem::path& chosen) {
    std::error_code ec;
    const std::filesystem::path current = here();
    const std::filesystem::path folder =
        std::filesystem::weakly_canonical(std::filesystem::absolute(chosen, ec), ec);
    if (std::filesystem::equivalent(folder, current, ec)) {
        toolkit_.tell(already_in_project(project_name(current, sheet_.project())),
                      Severity::information);
        return false;
    }
    auto table = load_pipe_table(folder);
    if (!table) {
        toolkit_.tell(not_a_project(table.error(), path_text(folder)), Severity::warning);
        return false;
    }
    // The new folder's lock is taken before the old one is let go: a failure leaves the
    // program in its own project, still holding it.
    auto lock = std::make_unique<FolderLock>();
    switch (lock->take(folder, toolkit_.window_token())) {
        case FolderLock::Outcome::in_the_way:
            toolkit_.tell(project_lock_in_the_way(path_text(folder)), Severity::warning);
            return false;
        case FolderLock::Outcome::held: {
            const bool raised = toolkit_.bring_to_front(lock->holder_token());
            toolkit_.tell(project_busy(path_text(folder), raised), Severity::information);
            return false;
        }
        case FolderLock::Outcome::taken:
        case FolderLock::Outcome::unavailable:
            break;
    }
    if (auto error = check_log_writable(folder)) {
        toolkit_.tell(folder_not_writable(*error, path_text(folder)), Severity::warning);
        return false;
    }
    std::filesystem::current_path(folder, ec);
    if (ec) {
        toolkit_.tell(project_not_entered(path_text(folder)), Severity::warning);
        return false;
    }
    notices_.withdraw(NoticeId::earlier_log_kept);  // the old project's log is its own
    if (!keep_earlier_log()) {
        std::filesystem::current_path(current, ec);
        show_problem_line();
        return false;
    }
    // Both are among the projects used lately, the new one first. (A start remembers its
    // project when the program ends: the start writes nothing it does not need.)
    remember_project(places_.settings, current);
    remember_project(places_.settings, folder);
    folder_lock_ = std::move(lock);  // the old project's lock is let go
    log_ready_ = false;
    if (auto error = recreate_results_log(std::string(results_log_name))) {
        toolkit_.tell(log_recreate_problem(*error, path_text(folder)), Severity::warning);
    } else {
        log_ready_ = true;
    }
    state_.pipes = table.value();
    toolkit_.hide(PrintWindowId::frmdisplay);
    sheet_.open(places_.examples);
    grid_.open();
    project_entered();
    toolkit_.sheet_changed();
    show_parameter_tips();
    show_problem_line();
    return true;
}

void frmcompute::edit_project_details() {
    ProjectDetails details = sheet_.project();
    const auto name =
        toolkit_.ask_text({std::string(project_name_prompt), std::string(project_details_title),
                           project_name(here(), details)});
    if (!name) {
        return;
    }
    const auto designer = toolkit_.ask_text(
        {std::string(designer_prompt), std::string(project_details_title), details.designer});
    if (!designer) {
        return;
    }
    details.name = without_outer_blanks(*name);
    details.designer = without_outer_blanks(*designer);
    if (auto error = sheet_.set_project(details)) {
        toolkit_.tell(project_details_not_kept(*error), Severity::warning);
        return;
    }
    toolkit_.project_changed(project_name(here(), details));
}

}  // namespace kestrune
