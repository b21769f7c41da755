// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "log_keeping.h"
#include "platform_files.h"
#include "regular_file.h"
#include "text_fields.h"
#include "utf8.h"
#include "whole_file.h"

namespace kestrune {
namespace {

constexpr std::string_view version_prefix = "Kestrune 水力计算表 第 ";
constexpr std::string_view version_suffix = " 版";
constexpr std::size_t largest_sheet_file = 64 * 1024 * 1024;  // bytes

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

// Shortest text that reads back to the same value, "." whatever the locale.
template <class Number>
std::string number_text(Number value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

template <class Number>
bool read_number(std::string_view text, Number& value) {
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    return res.ec == std::errc() && res.ptr == text.data() + text.size();
}

std::string joined(const std::vector<std::string>& names, std::string_view between) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : std::string(between)) + escaped(name);
    }
    return out;
}

constexpr std::array dn_choices{DnChoice::engineer, DnChoice::chosen, DnChoice::balanced};

std::string_view dn_choice_word(DnChoice choice) {
    switch (choice) {
        case DnChoice::engineer:
            return "定";
        case DnChoice::chosen:
            return "自动";
        case DnChoice::balanced:
            return "平衡";
    }
    return {};
}

std::string row_line(const SheetRow& r, int version) {
    const std::string fields[] = {
        escaped(r.segment),    number_text(r.length),   escaped(r.xi_entry),
        number_text(r.xi),     joined(r.loops, " "),    escaped(r.note),
        number_text(r.q_user), number_text(r.q_design), number_text(r.g_design),
        number_text(r.dn),     number_text(r.v),        number_text(r.r),
        number_text(r.d),      number_text(r.ycxs),     number_text(r.k_margin),
        number_text(r.rho),    number_text(r.t_supply), number_text(r.t_return),
        number_text(r.nu),     number_text(r.k_rough)};
    std::string line = "管段";
    for (const std::string& field : fields) {
        line += '\t' + field;
    }
    if (version >= 2) {
        line += '\t' + joined(r.upstream, " ") + '\t' + number_text(r.consumer) + '\t' +
                std::string(dn_choice_word(r.dn_choice));
    }
    return line;
}

// A row as the first version kept it: no 上游, its load its consumer's, its DN the engineer's.
bool first_version_row(const SheetRow& r) {
    return r.upstream.empty() && r.consumer == r.q_user && r.dn_choice == DnChoice::engineer;
}

constexpr std::size_t first_row_fields = 21;
constexpr std::size_t row_fields = 24;

// Names separated by blanks, each escaped.
std::optional<std::vector<std::string>> split_names(std::string_view text) {
    std::vector<std::string> names;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        auto name = unescaped(text.substr(start, end - start));
        if (!name || name->empty()) {
            return std::nullopt;
        }
        names.push_back(*name);
        start = end + 1;
    }
    return names;
}

std::optional<SheetRow> parse_row(const std::vector<std::string_view>& f, int version) {
    if (f.size() != (version >= 2 ? row_fields : first_row_fields) || f[0] != "管段") {
        return std::nullopt;
    }
    SheetRow r;
    auto segment = unescaped(f[1]);
    auto xi_entry = unescaped(f[3]);
    auto note = unescaped(f[6]);
    if (!segment || !xi_entry || !note) {
        return std::nullopt;
    }
    r.segment = *segment;
    r.xi_entry = *xi_entry;
    r.note = *note;
    auto loops = split_names(f[5]);
    if (!loops) {
        return std::nullopt;
    }
    r.loops = std::move(*loops);
    const bool numbers_read =
        read_number(f[2], r.length) && read_number(f[4], r.xi) && read_number(f[7], r.q_user) &&
        read_number(f[8], r.q_design) && read_number(f[9], r.g_design) &&
        read_number(f[10], r.dn) && read_number(f[11], r.v) && read_number(f[12], r.r) &&
        read_number(f[13], r.d) && read_number(f[14], r.ycxs) && read_number(f[15], r.k_margin) &&
        read_number(f[16], r.rho) && read_number(f[17], r.t_supply) &&
        read_number(f[18], r.t_return) && read_number(f[19], r.nu) && read_number(f[20], r.k_rough);
    if (!numbers_read) {
        return std::nullopt;
    }
    r.consumer = r.q_user;
    if (version >= 2) {
        auto upstream = split_names(f[21]);
        const auto choice = std::find_if(dn_choices.begin(), dn_choices.end(),
                                         [&](DnChoice c) { return dn_choice_word(c) == f[23]; });
        if (!upstream || !read_number(f[22], r.consumer) || choice == dn_choices.end()) {
            return std::nullopt;
        }
        r.upstream = std::move(*upstream);
        r.dn_choice = *choice;
    }
    return r;
}

SheetFileError damaged_at(std::size_t line) {
    return SheetFileError{SheetFault::damaged, line, 0};
}

}  // namespace

std::string sheet_text(const SheetData& sheet) {
    // A sheet that uses nothing of the network is written as the first version wrote it, so
    // that it reads byte for byte as before, in this program and in the earlier one.
    const int version = !sheet.available_pressure && sheet.resistance_limit == resistance_limit &&
                                std::all_of(sheet.rows.begin(), sheet.rows.end(), first_version_row)
                            ? 1
                            : 2;
    std::string text =
        std::string(version_prefix) + std::to_string(version) + std::string(version_suffix) + "\n";
    text += "不平衡率限值\t" + number_text(sheet.limit) + "\n";
    if (version >= 2) {
        text += "比摩阻上限\t" + number_text(sheet.resistance_limit) + "\n";
        text += "入口资用压力\t" +
                (sheet.available_pressure ? number_text(*sheet.available_pressure) : "") + "\n";
    }
    text += "环路";
    for (const std::string& loop : sheet.loops) {
        text += '\t' + escaped(loop);
    }
    text += '\n';
    for (const SheetRow& row : sheet.rows) {
        text += row_line(row, version) + '\n';
    }
    text += "共\t" + std::to_string(sheet.rows.size()) + "\t管段\n";
    return text;
}

Result<SheetData, SheetFileError> parse_sheet(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            return damaged_at(lines.size() + 1);  // every line ends, the last one too
        }
        lines.push_back(text.substr(start, end - start));
        if (!valid_utf8(lines.back())) {
            return damaged_at(lines.size());  // edited in another encoding: no text of it is taken
        }
        start = end + 1;
    }
    if (lines.empty() || lines[0].substr(0, version_prefix.size()) != version_prefix) {
        return damaged_at(1);
    }
    std::string_view version_text = lines[0].substr(version_prefix.size());
    if (version_text.size() < version_suffix.size() ||
        version_text.substr(version_text.size() - version_suffix.size()) != version_suffix) {
        return damaged_at(1);
    }
    version_text.remove_suffix(version_suffix.size());
    int version = 0;
    if (!read_number(version_text, version) || version < 1) {
        return damaged_at(1);
    }
    if (version > sheet_file_version) {
        return SheetFileError{SheetFault::newer, 0, version};
    }
    SheetData sheet;
    // Version 2 has the upper specific resistance and the available pressure after the limit.
    const std::size_t loops_line = version >= 2 ? 4 : 2;
    if (lines.size() < loops_line + 2) {
        return damaged_at(lines.size() + 1);
    }
    const auto limit = split_fields(lines[1], '\t');
    if (limit.size() != 2 || limit[0] != "不平衡率限值" || !read_number(limit[1], sheet.limit)) {
        return damaged_at(2);
    }
    if (version >= 2) {
        const auto upper = split_fields(lines[2], '\t');
        if (upper.size() != 2 || upper[0] != "比摩阻上限" ||
            !read_number(upper[1], sheet.resistance_limit) || !(sheet.resistance_limit > 0.0f)) {
            return damaged_at(3);
        }
        const auto available = split_fields(lines[3], '\t');
        double pressure = 0.0;
        if (available.size() != 2 || available[0] != "入口资用压力" ||
            (!available[1].empty() && !read_number(available[1], pressure))) {
            return damaged_at(4);
        }
        if (!available[1].empty()) {
            sheet.available_pressure = pressure;
        }
    }
    const auto loops = split_fields(lines[loops_line], '\t');
    if (loops.empty() || loops[0] != "环路") {
        return damaged_at(loops_line + 1);
    }
    for (std::size_t i = 1; i < loops.size(); ++i) {
        auto name = unescaped(loops[i]);
        if (!name || name->empty()) {
            return damaged_at(loops_line + 1);
        }
        sheet.loops.push_back(*name);
    }
    for (std::size_t i = loops_line + 1; i + 1 < lines.size(); ++i) {
        auto row = parse_row(split_fields(lines[i], '\t'), version);
        if (!row) {
            return damaged_at(i + 1);
        }
        sheet.rows.push_back(std::move(*row));
    }
    const auto end = split_fields(lines.back(), '\t');
    std::size_t count = 0;
    if (end.size() != 3 || end[0] != "共" || !read_number(end[1], count) || end[2] != "管段" ||
        count != sheet.rows.size()) {
        return damaged_at(lines.size());
    }
    return sheet;
}

std::optional<FileError> save_sheet(const std::filesystem::path& file, const SheetData& sheet) {
    return write_whole_file(file, sheet_text(sheet));
}

namespace {

// A sheet that cannot be read is kept under a name of its own, as a damaged one is, so that
// the next save cannot write over it; the reading's error when it cannot be moved either.
Result<LoadedSheet, FileError> set_aside_unread(const std::filesystem::path& file, FileError why) {
    const std::filesystem::path aside = kept_log_name(file, local_time(std::time(nullptr)));
    std::error_code ec;
    std::filesystem::rename(file, aside, ec);
    if (ec) {
        return why;
    }
    LoadedSheet loaded;
    loaded.unread = std::move(why);
    loaded.set_aside = aside;
    return loaded;
}

}  // namespace

Result<LoadedSheet, FileError> load_sheet(const std::filesystem::path& file) {
    LoadedSheet loaded;
    if (file_kind(file) == FileKind::missing) {
        return loaded;
    }
    auto opened = open_regular(file, OpenMode::read);
    if (!opened) {
        return set_aside_unread(file, opened.error());
    }
    // As large as the file says it is, and one byte more to see it has not grown.
    const std::int64_t size = open_file_size(opened.value().get());
    std::string text(size >= 0 && static_cast<std::uint64_t>(size) <= largest_sheet_file
                         ? static_cast<std::size_t>(size) + 1
                         : largest_sheet_file + 1,
                     '\0');
    text.resize(std::fread(text.data(), 1, text.size(), opened.value().get()));
    if (std::ferror(opened.value().get())) {
        return set_aside_unread(file, file_error(file, errno_or_eio()));
    }
    opened.value().reset();
    auto parsed = text.size() > largest_sheet_file
                      ? Result<SheetData, SheetFileError>(damaged_at(0))
                      : parse_sheet(text);
    if (parsed) {
        loaded.sheet = std::move(parsed.value());
        return loaded;
    }
    // Never overwritten: kept under a name of its own, and a new sheet starts.
    loaded.fault = parsed.error();
    const std::filesystem::path aside = kept_log_name(file, local_time(std::time(nullptr)));
    std::error_code ec;
    std::filesystem::rename(file, aside, ec);
    if (ec) {
        const int code = ec.default_error_condition().value();
        return file_error(file, code != 0 ? code : EIO);
    }
    loaded.set_aside = aside;
    return loaded;
}

}  // namespace kestrune
