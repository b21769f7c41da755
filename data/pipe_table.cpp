// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipe_table.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

#include "conversions.h"
#include "example_files.h"
#include "file_error.h"
#include "leading_number.h"
#include "platform_files.h"

namespace kestrune {
namespace {

constexpr std::size_t longest_quoted_field = 40;  // characters of a bad field in a message
constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

bool is_blank_or_line_end(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

TableError table_error(TableFault fault, std::string_view file = {}, int code = 0) {
    TableError e;
    e.fault = fault;
    e.file = std::string(file);
    e.reason = code != 0 ? system_reason(code) : std::string();
    e.code = code;
    return e;
}

std::string quoted_field(std::string_view field) {
    if (field.size() <= longest_quoted_field) {
        return std::string(field);
    }
    return std::string(field.substr(0, longest_quoted_field)) + "...";
}

// Calls store(index, text) for each field in order; stops at the first error, which
// store may return. Counts every field, so that a file with too many can say how many.
// UTF-16: a byte-order mark of either order, or a printable ASCII character with its zero
// byte before or after it, as a digit or a blank is written there.
bool is_utf16(std::string_view contents) {
    const std::string_view start = contents.substr(0, 2);
    const auto ascii = [](char c) { return (c >= ' ' && c <= '~') || c == '\t' || c == '\r'; };
    return start == "\xFF\xFE" || start == "\xFE\xFF" ||
           (start.size() == 2 &&
            ((ascii(start[0]) && start[1] == '\0') || (start[0] == '\0' && ascii(start[1]))));
}

template <class Store>
std::optional<TableError> for_each_field(std::string_view contents, std::string_view file,
                                         Store store) {
    if (is_utf16(contents)) {
        return table_error(TableFault::utf16, file);
    }
    if (contents.substr(0, utf8_bom.size()) == utf8_bom) {
        contents.remove_prefix(utf8_bom.size());
    }
    std::size_t count = 0;
    std::size_t pos = 0;
    bool comma_pending = false;  // a comma ended the previous field, or starts the file
    while (pos < contents.size()) {
        char c = contents[pos];
        if (is_blank_or_line_end(c)) {
            ++pos;
            continue;
        }
        if (c == ',') {
            // Past the eleventh field only the count matters: the file has too many.
            if ((comma_pending || count == 0) && count < pipe_rows) {
                TableError e = table_error(TableFault::empty_field, file);
                e.position = count + 1;
                return e;
            }
            comma_pending = true;
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < contents.size() && contents[end] != ',' &&
               !is_blank_or_line_end(contents[end])) {
            ++end;
        }
        if (count < pipe_rows) {
            if (auto error = store(count, contents.substr(pos, end - pos))) {
                error->file = std::string(file);
                error->position = count + 1;
                return error;
            }
        }
        ++count;
        comma_pending = false;
        pos = end;
    }
    if (count > pipe_rows) {
        TableError e = table_error(TableFault::too_many_fields, file);
        e.field_count = count;
        return e;
    }
    return std::nullopt;
}

TableError field_error(TableFault fault, std::string_view field) {
    TableError e = table_error(fault);
    e.field_text = quoted_field(field);
    return e;
}

// Reads one field as a number; an error names the field's text.
Result<double, TableError> field_number(std::string_view field) {
    auto number = read_whole_number(field);
    if (!number) {
        return field_error(TableFault::not_a_number, field);
    }
    if (!*number) {
        return field_error(TableFault::out_of_range, field);
    }
    return number->value();
}

template <class Convert, class Assign>
auto column_store(Convert convert, Assign assign) {
    return [=](std::size_t row, std::string_view field) -> std::optional<TableError> {
        auto number = field_number(field);
        if (!number) {
            return number.error();
        }
        auto stored = convert(number.value());
        if (!stored) {
            return field_error(TableFault::out_of_range, field);
        }
        assign(row, stored.value());
        return std::nullopt;
    };
}

Result<std::string, TableError> read_table_file(const std::filesystem::path& folder,
                                                std::string_view name) {
    const std::string file(name);
    FileKind in_the_way = FileKind::regular;
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(
        open_file(folder / file, OpenMode::read, &in_the_way), std::fclose);
    if (!f && in_the_way != FileKind::regular) {
        TableError e = table_error(TableFault::unreadable, file);
        e.in_the_way = in_the_way;
        return e;
    }
    if (!f) {
        int e = errno != 0 ? errno : EIO;
        return table_error(e == ENOENT ? TableFault::missing_file : TableFault::unreadable, file,
                           e);
    }
    // Refused by its size before a byte is read; the read stops past the limit all the same,
    // for a file that grows meanwhile.
    if (open_file_size(f.get()) > static_cast<std::int64_t>(largest_table_file)) {
        return table_error(TableFault::too_large, file);
    }
    std::string contents(largest_table_file + 1, '\0');
    contents.resize(std::fread(contents.data(), 1, contents.size(), f.get()));
    if (std::ferror(f.get())) {
        int e = errno != 0 ? errno : EIO;
        return table_error(TableFault::unreadable, file, e);
    }
    if (contents.size() > largest_table_file) {
        return table_error(TableFault::too_large, file);
    }
    return contents;
}

}  // namespace

Result<PipeTable, TableError> parse_pipe_table(std::string_view nominal_contents,
                                               std::string_view inner_contents) {
    PipeTable pipes{};
    auto nominal =
        column_store(to_int16, [&](std::size_t row, std::int16_t dn) { pipes[row].dn = dn; });
    if (auto error = for_each_field(nominal_contents, nominal_diameter_file, nominal)) {
        return *error;
    }
    auto inner = column_store(to_float, [&](std::size_t row, float d) { pipes[row].d = d; });
    if (auto error = for_each_field(inner_contents, inner_diameter_file, inner)) {
        return *error;
    }
    return pipes;
}

Result<PipeTable, TableError> load_pipe_table(const std::filesystem::path& folder) {
    // Each file is read whole and closed before the next is opened.
    auto nominal = read_table_file(folder, nominal_diameter_file);
    if (!nominal) {
        return nominal.error();
    }
    auto inner = read_table_file(folder, inner_diameter_file);
    if (!inner) {
        return inner.error();
    }
    return parse_pipe_table(nominal.value(), inner.value());
}

std::optional<FileError> copy_pipe_table(const std::filesystem::path& from,
                                         const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::create_directories(to, ec);
    if (ec) {
        return FileError{path_text(to), ec.message(), ec.default_error_condition().value()};
    }
    for (std::string_view name : {nominal_diameter_file, inner_diameter_file}) {
        const std::filesystem::path target = to / name;
        if (file_kind(target) != FileKind::missing) {
            continue;  // the engineer's own file stays
        }
        auto contents = from.empty()
                            ? Result<std::string, TableError>(std::string(example_file(name)))
                            : read_table_file(from, name);
        if (!contents) {
            return FileError{path_text(from / name), contents.error().reason,
                             contents.error().code};
        }
        errno = 0;
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(open_file(target, OpenMode::create_new),
                                                          std::fclose);
        if (!f ||
            std::fwrite(contents.value().data(), 1, contents.value().size(), f.get()) !=
                contents.value().size() ||
            std::fflush(f.get()) != 0) {
            return file_error(target, errno != 0 ? errno : EIO);
        }
    }
    return std::nullopt;
}

std::optional<float> find_inner_diameter(const PipeTable& pipes, std::int16_t dn) {
    std::optional<float> found;
    for (const PipeSize& row : pipes) {
        if (row.dn == dn) {
            found = row.d;
        }
    }
    return found;
}

Result<PipeSize, DiameterRefusal> answered_pipe(std::string_view answer, const PipeTable& pipes) {
    auto dn = read_int16_field(answer);
    if (!dn) {
        return DiameterRefusal{};
    }
    auto d = find_inner_diameter(pipes, dn.value());
    if (!d) {
        return DiameterRefusal{true, dn.value()};
    }
    return PipeSize{dn.value(), *d};
}

}  // namespace kestrune
