// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// Where the program finds what it brings along, given by the program's entry.
struct ProgramPlaces {
    std::filesystem::path examples;  // the example table; empty when there is none
    std::filesystem::path home;      // the engineer's home folder
    std::filesystem::path settings;  // the engineer's settings folder (the recent projects);
                                     // empty: none are kept
    std::filesystem::path project;   // a project folder given to the program to work in
    bool last_project = false;       // started from the menu: the project used last
};

// The places for a program in program_folder: the example table where the installation put
// it (share/kestrune/examples beside bin/ on Linux, examples\ or the program's own folder in
// the Windows packages).
ProgramPlaces program_places(const std::filesystem::path& program_folder,
                             const std::filesystem::path& home);

// The menu entries start the program with this, to work in the project used last.
inline constexpr std::string_view last_project_option = "--last-project";
// The program's arguments (UTF-8, without its own name): the option above, and a project
// folder to work in. Others are left alone.
void take_start_arguments(ProgramPlaces& places, const std::vector<std::string>& arguments);

}  // namespace kestrune
