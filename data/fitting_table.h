// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_error.h"
#include "result.h"

namespace kestrune {

// The table of local resistance coefficients ξ, an editable UTF-8 text file beside the pipe
// table: one fitting a line, "name | coefficient | source", where the coefficient is one
// number for every size or values by nominal diameter: "DN15:16 DN20:10 DN50+:7 DN25-40:9".
// Blank lines and lines starting with # are comments.
inline constexpr std::string_view fitting_table_file = "fittings.txt";

struct DnRange {
    std::int16_t from = 0;  // smallest DN it holds
    std::int16_t to = 0;    // largest DN it holds
    double xi = 0.0;
};

struct Fitting {
    std::string name;  // as written; matched with blanks left out
    std::vector<DnRange> ranges;
    std::string source;
    std::size_t line = 0;  // where it stands in its file, 1-based
};

// What a table holds that an engineer would not mean: a name given twice (the first is
// used), or two ranges of one fitting that hold the same DN (the first is used).
struct FittingDoubt {
    std::size_t line = 0;        // the later line
    std::size_t first_line = 0;  // the earlier one, which wins
    std::string name;
    bool overlap = false;  // false: the name again; true: ranges within one line overlap
};

struct FittingTable {
    std::vector<Fitting> fittings;
    std::vector<FittingDoubt> doubts;

    // The fitting of that name, blanks left out of both; nullptr when there is none.
    const Fitting* find(std::string_view name) const;
};

struct FittingTableError {
    std::size_t line = 0;           // 1-based
    std::string text;               // the line, cut short when long
    bool not_utf8 = false;          // the line is not UTF-8 text (saved as GBK, say)
    std::optional<FileError> file;  // the file is there but cannot be read (a link, a FIFO…)
};

Result<FittingTable, FittingTableError> parse_fitting_table(std::string_view contents);
// Reads the file from the folder; a missing file gives an empty table, one that is there but
// cannot be read an error that says why.
Result<FittingTable, FittingTableError> load_fitting_table(const std::filesystem::path& folder);

// Why a Σξ entry cannot be used.
enum class XiFault {
    not_a_number,     // a part that is neither a number nor a fitting with a count
    negative,         // a negative value or count
    unknown_fitting,  // a name the table lacks (see name)
    dn_outside,       // the fitting has no value for this DN (see name, dn)
};

struct XiError {
    XiFault fault = XiFault::not_a_number;
    std::string name;  // the fitting, or the part of the entry at fault
    std::int16_t dn = 0;
};

// The Σξ an entry gives for a segment of nominal diameter dn: a number ("13"), or fittings
// with counts joined by + ("2×90°煨弯 + 截止阀", "2*乙字弯+1.5"); empty text gives 0.
Result<double, XiError> evaluate_xi(std::string_view entry, const FittingTable& table,
                                    std::int16_t dn);

}  // namespace kestrune
