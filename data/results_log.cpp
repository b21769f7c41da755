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
#include "result.h"

namespace kestrune {
namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

int errno_or_eio() {
    return errno != 0 ? errno : EIO;
}

// Opens file, or says why not: what stands in its place, or the system's reason.
Result<FilePtr, FileError> open_regular(const std::filesystem::path& file, OpenMode mode) {
    FileKind in_the_way = FileKind::regular;
    errno = 0;
    FilePtr f(open_file(file, mode, &in_the_way), std::fclose);
    if (f) {
        return f;
    }
    if (in_the_way != FileKind::regular) {
        return not_a_file(file, in_the_way);
    }
    return file_error(file, errno_or_eio());
}

// Writes all of bytes to f in one flush and puts them on the disk; the file is left open.
std::optional<FileError> write_out(std::FILE* f, const std::filesystem::path& file,
                                   const std::string& bytes) {
    errno = 0;
    // A buffer as large as the line, so that one flush writes the line with one call.
    if (std::setvbuf(f, nullptr, _IOFBF, bytes.size() + 1) != 0 ||
        std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fflush(f) != 0) {
        return file_error(file, errno_or_eio(), FileStep::write);
    }
    if (int failure = flush_to_disk(f); failure != 0) {
        return file_error(file, failure, FileStep::flush);
    }
    return std::nullopt;
}

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

std::filesystem::path beside(const std::filesystem::path& file) {
    std::filesystem::path partner = file;
    partner += ".new";
    return partner;
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
    errno = 0;
    if (std::fclose(f.release()) != 0 && !error) {
        error = file_error(file, errno_or_eio(), FileStep::write);
    }
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
    if (there != FileKind::missing && there != FileKind::regular) {
        return not_a_file(file, there);
    }
    const std::filesystem::path partner = beside(file);
    std::error_code ignored;
    if (file_kind(partner) == FileKind::regular) {
        std::filesystem::remove(partner, ignored);  // left by a run that was cut off
    }
    auto created = open_regular(partner, OpenMode::create_new);
    if (!created) {
        const int code = created.error().code;
        // A folder that takes no new file may still hold a writable log: empty that one.
        if (there == FileKind::regular && (code == EACCES || code == EPERM || code == EROFS)) {
            return rewrite_in_place(file);
        }
        FileError error = created.error();
        error.file = path_text(file);  // the engineer knows the log, not its partner
        return error;
    }
    FilePtr f = std::move(created.value());
    auto error = write_out(f.get(), file, file_line(log_header()));
    errno = 0;
    if (std::fclose(f.release()) != 0 && !error) {
        error = file_error(file, errno_or_eio(), FileStep::write);
    }
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
    auto error = write_out(f.get(), file, file_line(result_values(s)));
    if (!error) {
        errno = 0;
        if (std::fclose(f.release()) != 0) {
            error = file_error(file, errno_or_eio(), FileStep::write);
        } else {
            return std::nullopt;
        }
    }
    // Cut back what reached the file, then look at what it holds now. The stream goes first,
    // so that nothing left in its buffer can reach the file after the cut.
    if (f) {
        std::fclose(f.release());
    }
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
