// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_log.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "platform_files.h"
#include "print_line.h"
#include "print_statements.h"

namespace kestrune {
namespace {

// Opens, writes all of bytes in one flush, puts them on the disk and closes; errno of the
// first failure, or 0.
int write_file(const std::filesystem::path& file, OpenMode mode, const std::string& bytes) {
    errno = 0;
    std::FILE* f = open_file(file, mode);
    if (f == nullptr) {
        return errno != 0 ? errno : EIO;
    }
    int failure = 0;
    // A buffer as large as the line, so that one flush writes the line with one call.
    if (std::setvbuf(f, nullptr, _IOFBF, bytes.size() + 1) != 0) {
        failure = errno != 0 ? errno : EIO;
    }
    if (failure == 0 && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        failure = errno != 0 ? errno : EIO;
    }
    if (failure == 0 && std::fflush(f) != 0) {
        failure = errno != 0 ? errno : EIO;
    }
    if (failure == 0) {
        failure = flush_to_disk(f);
    }
    errno = 0;
    if (std::fclose(f) != 0 && failure == 0) {
        failure = errno != 0 ? errno : EIO;
    }
    return failure;
}

}  // namespace

std::optional<FileError> recreate_results_log(const std::filesystem::path& file) {
    if (int failure = write_file(file, OpenMode::replace, file_line(log_header())); failure != 0) {
        return file_error(file, failure);
    }
    return std::nullopt;
}

std::optional<FileError> check_log_writable(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / results_log_name;
    std::error_code ec;
    const bool existed = std::filesystem::exists(file, ec);
    errno = 0;
    std::FILE* f = open_file(file, existed ? OpenMode::append : OpenMode::replace);
    if (f == nullptr) {
        return file_error(file, errno != 0 ? errno : EIO);
    }
    std::fclose(f);
    if (!existed) {
        std::filesystem::remove(file, ec);
    }
    return std::nullopt;
}

std::optional<FileError> append_results_row(const std::filesystem::path& file,
                                            const design_state& s) {
    const std::string row = file_line(result_values(s));
    std::error_code ec;
    const bool existed = std::filesystem::is_regular_file(file, ec);
    const std::uintmax_t old_size = existed ? std::filesystem::file_size(file, ec) : 0;
    if (existed && ec) {
        return FileError{path_text(file), ec.message(), ec.default_error_condition().value()};
    }
    int failure = write_file(file, OpenMode::append, row);
    if (failure == 0) {
        return std::nullopt;
    }
    // Put the file back as it was: cut what reached it, or remove a file this call made.
    std::error_code ignored;
    if (existed) {
        std::filesystem::resize_file(file, old_size, ignored);
    } else if (std::filesystem::is_regular_file(file, ignored) &&
               std::filesystem::file_size(file, ignored) <= row.size()) {
        std::filesystem::remove(file, ignored);
    }
    return file_error(file, failure);
}

}  // namespace kestrune
