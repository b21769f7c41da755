// SPDX-License-Identifier: GPL-3.0-or-later
#include "log_keeping.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "platform_files.h"
#include "print_line.h"
#include "print_statements.h"

namespace kestrune {
namespace {

std::string two_digits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
           static_cast<char>('0' + value % 10);
}

// True when the log holds its header line and nothing else, or nothing at all.
bool holds_no_rows(const std::filesystem::path& log, std::uintmax_t size) {
    const std::string header = file_line(log_header());
    if (size == 0) {
        return true;
    }
    if (size != header.size()) {
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(open_file(log, OpenMode::read), std::fclose);
    std::string bytes(header.size(), '\0');
    return f && std::fread(bytes.data(), 1, bytes.size(), f.get()) == bytes.size() &&
           bytes == header;
}

}  // namespace

std::filesystem::path kept_log_name(const std::filesystem::path& log, const std::tm& written) {
    const std::string stamp = std::to_string(written.tm_year + 1900) +
                              two_digits(written.tm_mon + 1) + two_digits(written.tm_mday) + "-" +
                              two_digits(written.tm_hour) + two_digits(written.tm_min);
    const std::filesystem::path stem = log.stem();
    const std::filesystem::path extension = log.extension();
    std::error_code ec;
    for (int n = 1;; ++n) {
        std::filesystem::path name = log;
        name.replace_filename(stem.string() + "-" + stamp + (n > 1 ? "-" + std::to_string(n) : "") +
                              extension.string());
        if (!std::filesystem::exists(name, ec) && !ec) {
            return name;
        }
    }
}

std::optional<Result<std::filesystem::path, FileError>> keep_earlier_log(
    const std::filesystem::path& log) {
    std::error_code ec;
    if (file_kind(log) != FileKind::regular) {
        return std::nullopt;  // no log, or something that is not one: recreating will say
    }
    const std::uintmax_t size = std::filesystem::file_size(log, ec);
    if (!ec && holds_no_rows(log, size)) {
        return std::nullopt;
    }
    const auto written = std::filesystem::last_write_time(log, ec);
    const std::time_t when =
        ec ? std::time(nullptr)
           : std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
    const std::filesystem::path kept = kept_log_name(log, local_time(when));
    std::filesystem::rename(log, kept, ec);
    if (ec) {
        const int code = ec.default_error_condition().value();
        return Result<std::filesystem::path, FileError>(file_error(log, code != 0 ? code : EIO));
    }
    return Result<std::filesystem::path, FileError>(kept);
}

}  // namespace kestrune
