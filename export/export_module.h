// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "sheet_exports.h"

namespace kestrune {

// The module's file name, and the one function it offers, which fills in its exports.
inline constexpr const char* export_module_file = "libkestrune-export.so";
inline constexpr const char* export_module_entry = "kestrune_sheet_exports";

// The exports, loaded from the module at the first that is made: nothing of the module or its
// libraries is loaded before. Where the module cannot be loaded, an export fails naming it.
SheetExports module_exports(std::filesystem::path module);

// Where a module of the program (file) is: beside the program (a build folder), else in the
// program's private library folder, reached from its folder by relative.
std::filesystem::path module_path(const std::filesystem::path& program_folder,
                                  const std::filesystem::path& relative, const char* file);
inline std::filesystem::path export_module_path(const std::filesystem::path& program_folder,
                                                const std::filesystem::path& relative) {
    return module_path(program_folder, relative, export_module_file);
}

}  // namespace kestrune
