// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "design_state.h"
#include "file_error.h"
#include "platform_files.h"
#include "result.h"

namespace kestrune {

// The two table files in the working folder: nominal diameters, then inner diameters, one
// number per field; fields are separated by commas, blanks, tabs or line ends.
inline constexpr std::string_view nominal_diameter_file = "indata1.txt";
inline constexpr std::string_view inner_diameter_file = "indata2.txt";

// A table file larger than this is refused by its size, before it is read (bytes). Eleven
// numbers take a few dozen bytes; this leaves room for any blanks and line ends around them.
inline constexpr std::size_t largest_table_file = 64 * 1024;

enum class TableFault {
    missing_file,     // the file is not there
    unreadable,       // it is there but cannot be read (see reason, in_the_way)
    too_large,        // larger than largest_table_file
    too_many_fields,  // more than 11 fields (see field_count)
    empty_field,      // nothing between two commas (see position)
    not_a_number,     // a field that is not one number (see position, field_text)
    out_of_range,     // a number its column cannot hold (see position, field_text)
    utf16,            // written in UTF-16, which holds no numbers the reader can see
};

struct TableError {
    TableFault fault = TableFault::missing_file;
    std::string file;
    std::string reason;  // the system's reason, for unreadable and missing files
    int code = 0;        // the errno value behind reason
    FileKind in_the_way = FileKind::regular;  // for unreadable: not a regular file
    std::size_t field_count = 0;              // for too_many_fields
    std::size_t position = 0;                 // 1-based position of the field at fault
    std::string field_text;                   // its text, cut short when long
};

// Builds the table from the contents of the two files; rows a file does not reach keep 0.
// A UTF-8 byte-order mark at the start of a file is ignored; one of UTF-16, or UTF-16 text
// without it, is refused as such.
Result<PipeTable, TableError> parse_pipe_table(std::string_view nominal_contents,
                                               std::string_view inner_contents);

// Reads the two files from the folder (the working folder when empty) and builds the table.
Result<PipeTable, TableError> load_pipe_table(const std::filesystem::path& folder = {});

// Copies the two table files from one folder into another, which is created when missing;
// files already there are kept. From an empty path: the program's own example table.
std::optional<FileError> copy_pipe_table(const std::filesystem::path& from,
                                         const std::filesystem::path& to);

// The inner diameter for a nominal diameter: the last matching row wins; nullopt when no
// row matches.
std::optional<float> find_inner_diameter(const PipeTable& pipes, std::int16_t dn);

// Why a DN answer names no pipe.
struct DiameterRefusal {
    bool in_table_range = false;  // false: beyond a 16-bit whole number; true: not in the table
    std::int16_t dn = 0;          // the DN read, when in range
};

// The pipe a DN answer names, in the diameter box and in the sheet's DN cell alike: the answer
// read as a whole number, then looked up in the table.
Result<PipeSize, DiameterRefusal> answered_pipe(std::string_view answer, const PipeTable& pipes);

}  // namespace kestrune
