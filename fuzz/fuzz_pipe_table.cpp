// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the pipe table reader with any pair of file contents: it either loads a table whose
// files hold at most 11 fields each, or gives one of its named errors, fully described.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pipe_table.h"

namespace {

bool is_separator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

std::size_t count_fields(std::string_view s) {
    if (s.substr(0, 3) == "\xEF\xBB\xBF") {
        s.remove_prefix(3);
    }
    std::size_t count = 0;
    bool in_field = false;
    for (char c : s) {
        if (!is_separator(c) && !in_field) {
            ++count;
        }
        in_field = !is_separator(c);
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte says where the first file ends.
    if (size == 0) {
        return 0;
    }
    std::string_view all(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t split = all.empty() ? 0 : data[0] % (all.size() + 1);
    std::string_view nominal = all.substr(0, split);
    std::string_view inner = all.substr(split);

    auto table = kestrune::parse_pipe_table(nominal, inner);
    if (table.has_value()) {
        if (count_fields(nominal) > kestrune::pipe_rows ||
            count_fields(inner) > kestrune::pipe_rows) {
            std::abort();
        }
        return 0;
    }
    const kestrune::TableError& e = table.error();
    if (e.file != kestrune::nominal_diameter_file && e.file != kestrune::inner_diameter_file) {
        std::abort();
    }
    switch (e.fault) {
        case kestrune::TableFault::too_many_fields:
            if (e.field_count <= kestrune::pipe_rows) {
                std::abort();
            }
            break;
        case kestrune::TableFault::empty_field:
        case kestrune::TableFault::not_a_number:
        case kestrune::TableFault::out_of_range:
            if (e.position < 1 || e.position > kestrune::pipe_rows || e.field_text.size() > 43) {
                std::abort();
            }
            break;
        case kestrune::TableFault::utf16: {
            // Only a file that starts as UTF-16 does: a mark, or a zero beside its first byte.
            const std::string_view file =
                e.file == kestrune::nominal_diameter_file ? nominal : inner;
            if (file.size() < 2 ||
                ((file[0] == '\0') == (file[1] == '\0') && file.substr(0, 2) != "\xFF\xFE" &&
                 file.substr(0, 2) != "\xFE\xFF")) {
                std::abort();
            }
            break;
        }
        default:
            std::abort();  // file errors cannot come from contents
    }
    return 0;
}
