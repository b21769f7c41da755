// SPDX-License-Identifier: GPL-3.0-or-later
#include "project_files.h"

#include "pipe_table.h"
#include "text_fields.h"
#include "whole_file.h"

namespace kestrune {
namespace {

constexpr std::string_view name_label = "工程名称";
constexpr std::string_view designer_label = "设计人";

// The file's lines without their line ends, a CR of a Windows editor included.
std::vector<std::string> text_lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string_view line : split_fields(text, '\n')) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

std::string one_line(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return line;
}

}  // namespace

ProjectDetails read_project_details(const std::filesystem::path& folder) {
    ProjectDetails details;
    for (const std::string& line :
         text_lines(read_whole_file(folder / utf8_path(project_details_file)))) {
        const auto fields = split_fields(line, '\t');
        if (fields.size() != 2) {
            continue;
        }
        if (fields[0] == name_label) {
            details.name = fields[1];
        } else if (fields[0] == designer_label) {
            details.designer = fields[1];
        }
    }
    return details;
}

std::optional<FileError> write_project_details(const std::filesystem::path& folder,
                                               const ProjectDetails& details) {
    const std::string text = std::string(name_label) + "\t" + one_line(details.name) + "\n" +
                             std::string(designer_label) + "\t" + one_line(details.designer) + "\n";
    return write_whole_file(folder / utf8_path(project_details_file), text);
}

std::string project_name(const std::filesystem::path& folder, const ProjectDetails& details) {
    if (!details.name.empty()) {
        return details.name;
    }
    std::filesystem::path own = folder;
    if (!own.has_filename()) {
        own = own.parent_path();  // "C:\工程\" names 工程 too
    }
    return path_text(own.filename());
}

bool holds_pipe_table(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_regular_file(folder / nominal_diameter_file, ec) &&
           std::filesystem::is_regular_file(folder / inner_diameter_file, ec);
}

std::vector<std::filesystem::path> recent_projects(const std::filesystem::path& settings) {
    std::vector<std::filesystem::path> folders;
    if (settings.empty()) {
        return folders;
    }
    for (const std::string& line :
         text_lines(read_whole_file(settings / utf8_path(recent_projects_file)))) {
        std::error_code ec;
        const std::filesystem::path folder = utf8_path(line);
        if (folder.is_absolute() && std::filesystem::is_directory(folder, ec)) {
            folders.push_back(folder);
        }
    }
    return folders;
}

void remember_project(const std::filesystem::path& settings, const std::filesystem::path& folder) {
    if (settings.empty()) {
        return;
    }
    std::error_code ec;
    const std::filesystem::path own = std::filesystem::weakly_canonical(folder, ec);
    std::string text = path_text(own) + "\n";
    std::size_t kept = 1;
    for (const std::filesystem::path& earlier : recent_projects(settings)) {
        if (kept == recent_projects_kept) {
            break;
        }
        if (!std::filesystem::equivalent(earlier, own, ec)) {
            text += path_text(earlier) + "\n";
            ++kept;
        }
    }
    std::filesystem::create_directories(settings, ec);
    (void)write_whole_file(settings / utf8_path(recent_projects_file), text);
}

}  // namespace kestrune
