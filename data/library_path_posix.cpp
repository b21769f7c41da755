// SPDX-License-Identifier: GPL-3.0-or-later
#include "library_path.h"

namespace kestrune {

std::string library_path(const std::filesystem::path& file) {
    return file.string();
}

}  // namespace kestrune
