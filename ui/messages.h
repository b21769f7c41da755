// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "design_state.h"
#include "design_steps.h"
#include "failure_words.h"
#include "file_error.h"
#include "pipe_table.h"

namespace kestrune {

// What the engineer is told, in the program's voice, with what to do next. UTF-8.

// The captions every front-end puts on its dialogs.
inline constexpr std::string_view dialog_title = "Kestrune";
inline constexpr std::string_view ok_caption = "确定";
inline constexpr std::string_view cancel_caption = "取消";

// The program's version, as the build gives it.
std::string_view program_version();
// F1 in any window, and 关于 Kestrune… on Windows: what the program does, its files and
// where they are, its keys, its version and its licence.
std::string help_text(std::string_view working_folder);
inline constexpr std::string_view about_caption = "关于 Kestrune…";
// A second start in a folder where Kestrune already runs.
std::string already_running(std::string_view working_folder, bool brought_to_front);
// The lock file of the folder cannot be locked (a link, a folder, not this user's to open).
std::string lock_in_the_way(std::string_view working_folder);

// What is wrong with a pipe table, in a sentence or two.
std::string table_fault(const TableError& error);
std::string table_problem(const TableError& error, std::string_view working_folder);
// A table file is missing: use the example table, choose another folder, or quit.
std::string missing_table_question(const TableError& error, std::string_view working_folder);
inline constexpr std::string_view use_example_caption = "使用示例管道表";
inline constexpr std::string_view choose_folder_caption = "选择文件夹…";
inline constexpr std::string_view quit_caption = "退出";
inline constexpr std::string_view folder_chooser_title = "选择含有管道表的文件夹";
// The chosen folder, or the one the example table goes to, cannot take the results log.
std::string folder_not_writable(const FileError& error, std::string_view folder);
std::string example_not_copied(const FileError& error, std::string_view folder);

// An earlier run's log: where its rows were kept, or the question when they cannot be.
std::string earlier_log_kept(std::string_view kept_name);
std::string earlier_log_not_kept(const FileError& error);
inline constexpr std::string_view empty_log_caption = "清空结果文件";
inline constexpr std::string_view keep_and_quit_caption = "保留并退出";

std::string log_recreate_problem(const FileError& error, std::string_view working_folder);
std::string log_append_problem(const FileError& error);

// Shown under the output boxes while the load entry is in error.
std::string load_problem(const LoadFault& fault, const design_state& s);
std::string margin_problem();
// A number was read, and the rest, which holds a digit, was not: "35,000" reads 35.
std::string reading_note(std::string_view what, float read, std::string_view rest);
// The design load and flow shown were computed with a margin factor or a temperature
// difference that has changed since: empty when neither has.
std::string stale_design_note(float used_margin, float margin, std::int16_t used_dt,
                              std::int16_t dt);
// The parameters a preview was computed with, for the diameter list.
std::string preview_parameters_note(const design_state& s);
// A parameter button's current value.
std::string current_value_tip(float value, std::string_view unit);
// When OK is clicked while the load entry is in error.
std::string load_blocks_sizing(std::string_view problem);

std::string diameter_out_of_range(std::string_view answer);
std::string diameter_not_in_table(std::int16_t dn);

std::string positive_value_needed(std::string_view quantity, std::string_view answer, float kept);
std::string temperature_out_of_range(std::string_view quantity, std::string_view answer,
                                     std::int16_t kept);
std::string temperature_difference_out_of_range(const design_state& s);

}  // namespace kestrune
