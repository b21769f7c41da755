// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_places.h"

#include "file_error.h"
#include "pipe_table.h"

namespace kestrune {

ProgramPlaces program_places(const std::filesystem::path& program_folder,
                             const std::filesystem::path& home) {
    for (const std::filesystem::path& folder :
         {program_folder / ".." / "share" / "kestrune" / "examples", program_folder / "examples",
          program_folder}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder / nominal_diameter_file, ec) &&
            std::filesystem::is_regular_file(folder / inner_diameter_file, ec)) {
            ProgramPlaces places;
            places.examples = folder.lexically_normal();
            places.home = home;
            return places;
        }
    }
    ProgramPlaces places;
    places.home = home;
    return places;
}

void take_start_arguments(ProgramPlaces& places, const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == last_project_option) {
            places.last_project = true;
        } else if (!argument.empty() && argument.front() != '-') {
            places.project = utf8_path(argument);
        }
    }
}

}  // namespace kestrune
