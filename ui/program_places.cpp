// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_places.h"

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
            return {folder.lexically_normal(), home};
        }
    }
    return {{}, home};
}

}  // namespace kestrune
