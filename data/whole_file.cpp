// SPDX-License-Identifier: GPL-3.0-or-later
#include "whole_file.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform_files.h"
#include "regular_file.h"

namespace kestrune {

std::filesystem::path partner_of(const std::filesystem::path& file) {
    std::filesystem::path partner = file;
    partner += ".new";
    return partner;
}

std::string read_whole_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream read;
    read << in.rdbuf();
    return read.str();
}

std::optional<FileError> write_whole_file(const std::filesystem::path& file,
                                          std::string_view bytes) {
    if (const FileKind there = file_kind(file);
        there != FileKind::missing && there != FileKind::regular) {
        return not_a_file(file, there);
    }
    std::error_code ignored;
    // A file made read-only stays as it is: its owner said so. Said as a lack of permission,
    // whoever runs the program (root too).
    const auto mode = std::filesystem::status(file, ignored).permissions();
    if (file_kind(file) == FileKind::regular && mode != std::filesystem::perms::unknown &&
        (mode & (std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                 std::filesystem::perms::others_write)) == std::filesystem::perms::none) {
        return file_error(file, EACCES);
    }
    const std::filesystem::path partner = partner_of(file);
    if (const FileKind there = file_kind(partner); there == FileKind::regular) {
        std::filesystem::remove(partner, ignored);  // left by a run that was cut off
    } else if (there != FileKind::missing) {
        return not_a_file(partner, there);  // named as itself: that is what is in the way
    }
    auto created = open_regular(partner, OpenMode::create_new);
    if (!created) {
        FileError error = created.error();
        error.file = path_text(file);  // the engineer knows the file, not its partner
        return error;
    }
    FilePtr f = std::move(created.value());
    auto error = write_out(f.get(), file, bytes);
    error = close_after(std::move(f), file, error);
    if (!error) {
        if (int failure = replace_file(partner, file); failure != 0) {
            error = file_error(file, failure);
        }
    }
    if (error) {
        std::filesystem::remove(partner, ignored);
    }
    return error;
}

}  // namespace kestrune
