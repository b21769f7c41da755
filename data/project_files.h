// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A project (工程) is a folder: its pipe table, results log, sheet and fittings. What the
// folder itself cannot say, its name as the engineer writes it and who designed it, is kept
// in one small file inside it, so that a copied or zipped folder takes it along. The projects
// used lately are kept apart, in the engineer's own settings folder.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_error.h"

namespace kestrune {

// UTF-8 text, a line a field: its label, a tab, its value.
inline constexpr std::string_view project_details_file = "project.txt";
// In the settings folder: a project folder a line, the latest first.
inline constexpr std::string_view recent_projects_file = "projects.txt";
inline constexpr std::size_t recent_projects_kept = 8;

struct ProjectDetails {
    std::string name;      // 工程名称; empty: the folder's name stands for it
    std::string designer;  // 设计人
};

// The folder's details; empty fields where its file has none (or there is no file).
ProjectDetails read_project_details(const std::filesystem::path& folder);
// The details, written whole. Tabs and line ends in them become blanks.
std::optional<FileError> write_project_details(const std::filesystem::path& folder,
                                               const ProjectDetails& details);
// The name to show: the details' one, or else the folder's own.
std::string project_name(const std::filesystem::path& folder, const ProjectDetails& details);

// Whether the folder holds a pipe table (both its files), as every project does.
bool holds_pipe_table(const std::filesystem::path& folder);

// The projects used lately, the latest first; folders that are gone are left out.
std::vector<std::filesystem::path> recent_projects(const std::filesystem::path& settings);
// The folder put first among them (the settings folder made when needed). A failure is not
// told: the list is a convenience, and every project stays where it is without it.
void remember_project(const std::filesystem::path& settings, const std::filesystem::path& folder);

}  // namespace kestrune
