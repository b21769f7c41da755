// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_error.h"

#include <system_error>

namespace kestrune {

std::string system_reason(int errno_value) {
    return std::generic_category().message(errno_value);
}

FileError file_error(const std::filesystem::path& file, int e) {
    return FileError{path_text(file), system_reason(e), e};
}

std::string path_text(const std::filesystem::path& file) {
    const std::u8string text = file.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace kestrune
