// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_log.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "platform_files.h"
#include "print_line.h"
#include "print_statements.h"
#include "regular_file.h"
#include "result.h"
#include "whole_file.h"

namespace kestrune {
namespace {

// Whether the file begins with the whole header line.
bool begins_with_header(const std::filesystem::path& file) {
    const std::string header = file_line(log_header());
    auto f = open_regular(file, OpenMode::read);
    if (!f) {
        return false;
    }
    std::string start(header.size(), '\0');
    return std::fread(start.data(), 1, start.size(), f.value().get()) == start.size() &&
           start == header;
}

// Empties the log where it stands and writes the header into it. When that fails the log
// is cut to nothing, so that no part of a header is left for a row to follow.
std::optional<FileError> rewrite_in_place(const std::filesystem::path& file) {
    auto opened = open_regular(file, OpenMode::replace);
    if (!opened) {
        return opened.error();
    }
    FilePtr f = std::move(opened.value());
    auto error = write_out(f.get(), file, file_line(log_header()));
    error = close_after(std::move(f), file, error);
    if (error) {
        if (auto again = open_regular(file, OpenMode::replace)) {
            flush_to_disk(again.value().get());
        }
    }
    return error;
}

}  // namespace

std::optional<FileError> recreate_results_log(const std::filesystem::path& file) {
    const FileKind there = file_kind(file);
    auto error = write_whole_file(file, file_line(log_header()));
    // A folder that takes no new file may still hold a writable log: empty that one.
    if (error && there == FileKind::regular && error->step == FileStep::open &&
        file_kind(partner_of(file)) == FileKind::missing &&
        (error->code == EACCES || error->code == EPERM || error->code == EROFS)) {
        return rewrite_in_place(file);
    }
    return error;
}

std::optional<FileError> check_log_writable(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / results_log_name;
    const FileKind there = file_kind(file);
    auto opened =
        open_regular(file, there == FileKind::missing ? OpenMode::create_new : OpenMode::append);
    if (!opened) {
        return opened.error();
    }
    opened.value().reset();
    if (there == FileKind::missing) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    return std::nullopt;
}

std::optional<FileError> append_results_row(const std::filesystem::path& file,
                                            const design_state& s) {
    if (file_kind(file) == FileKind::missing) {
        if (auto error = recreate_results_log(file)) {
            return error;
        }
    }
    auto opened = open_regular(file, OpenMode::append);
    if (!opened) {
        return opened.error();
    }
    if (!begins_with_header(file)) {
        FileError error = file_error(file, 0);
        error.reason.clear();
        error.step = FileStep::header;
        return error;
    }
    FilePtr f = std::move(opened.value());
    const std::int64_t size_before = open_file_size(f.get());
    // The stream is closed before any cut, so that nothing left in its buffer can reach the
    // file after it.
    auto error = write_out(f.get(), file, file_line(result_values(s)));
    error = close_after(std::move(f), file, error);
    if (!error) {
        return std::nullopt;
    }
    // Cut back what reached the file, then look at what it holds now.
    std::int64_t size_after = -1;
    if (auto again = open_regular(file, OpenMode::append)) {
        if (size_before >= 0) {
            set_file_size(again.value().get(), size_before);
        }
        size_after = open_file_size(again.value().get());
    }
    error->unchanged = size_before >= 0 && size_after == size_before;
    return error;
}

}  // namespace kestrune
