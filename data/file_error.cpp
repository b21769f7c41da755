// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_error.h"

#include <system_error>

namespace kestrune {

std::string system_reason(int errno_value) {
    return std::generic_category().message(errno_value);
}

FileError file_error(const std::filesystem::path& file, int e, FileStep step) {
    FileError error{path_text(file), system_reason(e), e};
    error.step = step;
    return error;
}

FileError not_a_file(const std::filesystem::path& file, FileKind in_the_way) {
    FileError error{path_text(file), {}, 0};
    error.in_the_way = in_the_way;
    return error;
}

std::filesystem::path utf8_path(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string path_text(const std::filesystem::path& file) {
    const std::u8string text = file.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace kestrune
