// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace kestrune {

// Where the program finds what it brings along, given by the program's entry.
struct ProgramPlaces {
    std::filesystem::path examples;  // the example table; empty when there is none
    std::filesystem::path home;      // the engineer's home folder
};

// The places for a program in program_folder: the example table where the installation put
// it (share/kestrune/examples beside bin/ on Linux, examples\ or the program's own folder in
// the Windows packages).
ProgramPlaces program_places(const std::filesystem::path& program_folder,
                             const std::filesystem::path& home);

}  // namespace kestrune
