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
// table: one fitting a line, "name | coefficient | source | aliases", where the coefficient is
// one number for every size or values by nominal diameter: "DN15:16 DN20:10 DN50+:7
// DN25-40:9", and the aliases (optional, apart by blanks or 、) are other words and short codes
// an entry may use for the fitting: "90度煨弯 煨弯 弯头 wt". Blank lines and lines starting
// with # are comments.
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
    std::size_t line = 0;              // where it stands in its file, 1-based
    std::vector<std::string> aliases;  // other words for it; Latin letters in any case
};

// What a table holds that an engineer would not mean: a name given twice, an alias that is
// already another fitting's name or alias, or two ranges of one fitting that hold the same DN.
// In each case the first is used.
struct FittingDoubt {
    std::size_t line = 0;        // the later line
    std::size_t first_line = 0;  // the earlier one, which wins
    std::string name;            // the name, or the alias given twice
    bool overlap = false;        // ranges within one line overlap
    bool alias = false;          // name is an alias that was already taken
};

struct FittingTable {
    std::vector<Fitting> fittings;
    std::vector<FittingDoubt> doubts;

    // The fitting of that name, blanks left out of both, else the one with that alias;
    // nullptr when there is none.
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
// with counts joined by + ("2×90°煨弯 + 截止阀", "2*乙字弯+1.5", "2wt+jzf"); empty text
// gives 0.
Result<double, XiError> evaluate_xi(std::string_view entry, const FittingTable& table,
                                    std::int16_t dn);

// An entry's parts are joined by + or by the full-width ＋ of Chinese input: the entry with
// each ＋ as +.
std::string with_plain_plus(std::string_view entry);

// The entry as the sheet keeps it: each fitting given by an alias written by its name, its
// count joined by ×, everything else as typed ("2wt+jzf+1.5" → "2×90°煨弯+截止阀+1.5"). An
// entry evaluate_xi refuses comes back as it is.
std::string xi_entry_in_full(std::string_view entry, const FittingTable& table);

// One part of an entry, blanks left out, taken apart into the count as typed ("2", "" when
// none) and the name after it and its ×, * or x ("2×截止阀", "2jzf"). A part that is a
// fitting's name or alias as a whole has no count, even when it starts with a digit (90°煨弯).
struct XiPart {
    std::string count;
    std::string name;
};
XiPart split_xi_part(std::string_view part, const FittingTable& table);

// A name or alias as matched: blanks left out, Latin letters in one case ("W T" as "wt").
std::string folded_name(std::string_view text);

// The ξ of a fitting at a nominal diameter, when its table gives one.
std::optional<double> fitting_xi(const Fitting& fitting, std::int16_t dn);

}  // namespace kestrune
