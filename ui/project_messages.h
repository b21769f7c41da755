// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the windows say about projects: making one, opening one, and their details.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "file_error.h"
#include "pipe_table.h"

namespace kestrune {

inline constexpr std::string_view new_project_title = "新建工程";
inline constexpr std::string_view open_project_title = "打开工程";
inline constexpr std::string_view project_details_title = "工程信息";
inline constexpr std::string_view other_folder_caption = "其他文件夹…";
inline constexpr std::string_view project_name_prompt = "工程名称：";
inline constexpr std::string_view designer_prompt = "设计人：";

// Asking the new project's name; its folder is made in parent.
std::string new_project_prompt(std::string_view parent);
// A name no folder can have on both systems.
std::string project_name_refused(std::string_view name);
std::string project_exists(std::string_view folder);
std::string project_not_made(const FileError& error, std::string_view folder);
// The projects used lately, numbered, with their folders; a button each follows.
std::string open_project_question(const std::vector<std::filesystem::path>& folders,
                                  const std::vector<std::string>& names);
std::string not_a_project(const TableError& error, std::string_view folder);
std::string project_busy(std::string_view folder, bool brought_to_front);
std::string project_lock_in_the_way(std::string_view folder);
std::string project_details_not_kept(const FileError& error);
std::string project_not_entered(std::string_view folder);
std::string already_in_project(std::string_view name);

// Whether a name typed for a project may name its folder on Windows and Linux alike.
bool usable_folder_name(std::string_view name);

}  // namespace kestrune
