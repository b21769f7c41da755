// SPDX-License-Identifier: GPL-3.0-or-later
#include "fitting_table.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

#include "conversions.h"
#include "example_files.h"
#include "leading_number.h"
#include "platform_files.h"
#include "text_fields.h"
#include "utf8.h"

namespace kestrune {
namespace {

constexpr std::size_t largest_fitting_file = 256 * 1024;  // bytes
constexpr std::size_t quoted_line = 40;                   // characters of a bad line

std::string without_blanks(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n') {
            continue;
        }
        if (text.substr(i, 3) == "\xE3\x80\x80") {  // the full-width blank of Chinese input
            i += 2;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> plain_number(std::string_view text) {
    auto number = read_whole_number(without_blanks(text));
    if (!number || !*number || !(number->value() >= 0.0)) {
        return std::nullopt;
    }
    return number->value();
}

std::optional<std::int16_t> plain_dn(std::string_view text) {
    auto number = plain_number(text);
    if (!number) {
        return std::nullopt;
    }
    auto dn = to_int16(*number);
    return dn ? std::optional<std::int16_t>(dn.value()) : std::nullopt;
}

// "16" for every size, or "DN15:16 DN20:10 DN50+:7 DN25-40:9".
std::optional<std::vector<DnRange>> parse_ranges(std::string_view text) {
    std::vector<DnRange> ranges;
    if (auto all = plain_number(text)) {
        ranges.push_back({0, INT16_MAX, *all});
        return ranges;
    }
    for (std::string_view token : split_fields(text, ' ')) {
        token = trimmed(token);
        if (token.empty()) {
            continue;
        }
        if (token.substr(0, 2) != "DN" && token.substr(0, 2) != "dn") {
            return std::nullopt;
        }
        token.remove_prefix(2);
        const std::size_t colon = token.find(':');
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        std::string_view sizes = token.substr(0, colon);
        auto xi = plain_number(token.substr(colon + 1));
        DnRange range;
        if (!sizes.empty() && sizes.back() == '+') {
            auto from = plain_dn(sizes.substr(0, sizes.size() - 1));
            if (!from) {
                return std::nullopt;
            }
            range = {*from, INT16_MAX, 0.0};
        } else if (const std::size_t dash = sizes.find('-'); dash != std::string_view::npos) {
            auto from = plain_dn(sizes.substr(0, dash));
            auto to = plain_dn(sizes.substr(dash + 1));
            if (!from || !to || *to < *from) {
                return std::nullopt;
            }
            range = {*from, *to, 0.0};
        } else {
            auto only = plain_dn(sizes);
            if (!only) {
                return std::nullopt;
            }
            range = {*only, *only, 0.0};
        }
        if (!xi) {
            return std::nullopt;
        }
        range.xi = *xi;
        ranges.push_back(range);
    }
    if (ranges.empty()) {
        return std::nullopt;
    }
    return ranges;
}

XiError xi_error(XiFault fault, std::string_view name, std::int16_t dn = 0) {
    return XiError{fault, first_characters(readable_utf8(name), quoted_line), dn};
}

// One part of an entry: a number, a fitting, or a count and a fitting.
Result<double, XiError> evaluate_part(std::string_view part, const FittingTable& table,
                                      std::int16_t dn) {
    const std::string text = without_blanks(part);
    if (table.find(text) == nullptr) {
        if (auto whole = read_whole_number(text); whole && *whole) {
            if (whole->value() < 0.0) {
                return xi_error(XiFault::negative, text);
            }
            return whole->value();
        }
    }
    const XiPart split = split_xi_part(text, table);
    double count = 1.0;
    if (!split.count.empty()) {
        auto leading = read_leading_number(split.count);
        if (!leading) {
            return xi_error(XiFault::not_a_number, text);
        }
        count = leading.value();
        if (count < 0.0) {
            return xi_error(XiFault::negative, text);
        }
    }
    const Fitting* fitting = table.find(split.name);
    if (fitting == nullptr) {
        return xi_error(XiFault::unknown_fitting, split.name);
    }
    auto xi = fitting_xi(*fitting, dn);
    if (!xi) {
        return xi_error(XiFault::dn_outside, fitting->name, dn);
    }
    return count * *xi;
}

// The fitting of that name, aliases aside.
const Fitting* named(const FittingTable& table, std::string_view name) {
    const std::string wanted = without_blanks(name);
    for (const Fitting& fitting : table.fittings) {
        if (without_blanks(fitting.name) == wanted) {
            return &fitting;
        }
    }
    return nullptr;
}

// Aliases apart by blanks, 、, commas (half- or full-width).
std::vector<std::string> parse_aliases(std::string_view text) {
    std::string spaced(text);
    for (std::string_view apart : {"、", "，", ","}) {
        for (std::size_t at = spaced.find(apart); at != std::string::npos;
             at = spaced.find(apart)) {
            spaced.replace(at, apart.size(), " ");
        }
    }
    std::vector<std::string> aliases;
    for (std::string_view word : split_fields(spaced, ' ')) {
        word = trimmed(word);
        if (!word.empty()) {
            aliases.emplace_back(word);
        }
    }
    return aliases;
}

// A table written before fittings had aliases: its fittings named as in the shipped table
// answer to the shipped aliases, so that short codes work in every working folder.
void give_usual_aliases(FittingTable& table) {
    static const FittingTable shipped = [] {
        auto parsed = parse_fitting_table(example_file(fitting_table_file));
        return parsed ? parsed.value() : FittingTable{};
    }();
    for (Fitting& fitting : table.fittings) {
        const Fitting* usual = shipped.find(fitting.name);
        if (fitting.aliases.empty() && usual != nullptr && usual->name == fitting.name) {
            for (const std::string& alias : usual->aliases) {
                if (table.find(alias) == nullptr) {
                    fitting.aliases.push_back(alias);
                }
            }
        }
    }
}

}  // namespace

const Fitting* FittingTable::find(std::string_view name) const {
    const std::string wanted = without_blanks(name);
    if (wanted.empty()) {
        return nullptr;
    }
    if (const Fitting* fitting = named(*this, wanted)) {
        return fitting;
    }
    const std::string alias = folded_name(wanted);
    for (const Fitting& fitting : fittings) {
        for (const std::string& other : fitting.aliases) {
            if (folded_name(other) == alias) {
                return &fitting;
            }
        }
    }
    return nullptr;
}

std::string folded_name(std::string_view text) {
    std::string out = without_blanks(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::optional<double> fitting_xi(const Fitting& fitting, std::int16_t dn) {
    for (const DnRange& range : fitting.ranges) {
        if (dn >= range.from && dn <= range.to) {
            return range.xi;
        }
    }
    return std::nullopt;
}

XiPart split_xi_part(std::string_view part, const FittingTable& table) {
    const std::string text = without_blanks(part);
    const std::string_view rest = unread_rest(text);
    if (table.find(text) != nullptr || rest.size() == text.size()) {
        return {"", text};
    }
    XiPart split{text.substr(0, text.size() - rest.size()), std::string(rest)};
    if (table.find(split.name) == nullptr) {
        for (std::string_view times : {"×", "*", "x", "X", "＊"}) {
            if (split.name.rfind(times, 0) == 0) {
                split.name.erase(0, times.size());
                break;
            }
        }
    }
    return split;
}

Result<FittingTable, FittingTableError> parse_fitting_table(std::string_view contents) {
    if (contents.substr(0, 3) == "\xEF\xBB\xBF") {
        contents.remove_prefix(3);
    }
    FittingTable table;
    std::size_t number = 0;
    for (std::string_view line : split_fields(contents, '\n')) {
        ++number;
        line = trimmed(line);
        if (!valid_utf8(line)) {
            // Never read as names no entry matches: the engineer is told which line.
            return FittingTableError{number, first_characters(readable_utf8(line), quoted_line),
                                     true, std::nullopt};
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto fields = split_fields(line, '|');
        std::optional<std::vector<DnRange>> ranges;
        if (fields.size() >= 2 && !trimmed(fields[0]).empty()) {
            ranges = parse_ranges(trimmed(fields[1]));
        }
        if (!ranges) {
            return FittingTableError{number, first_characters(readable_utf8(line), quoted_line),
                                     false, std::nullopt};
        }
        const std::string name(trimmed(fields[0]));
        if (const Fitting* earlier = named(table, name)) {
            table.doubts.push_back({number, earlier->line, name, false, false});
        }
        std::vector<std::string> aliases =
            fields.size() > 3 ? parse_aliases(fields[3]) : std::vector<std::string>{};
        for (const std::string& alias : aliases) {
            const Fitting* earlier = table.find(alias);
            if (earlier != nullptr && earlier->name != name) {
                table.doubts.push_back({number, earlier->line, alias, false, true});
            }
        }
        for (std::size_t a = 0; a < ranges->size(); ++a) {
            for (std::size_t b = a + 1; b < ranges->size(); ++b) {
                const DnRange& x = (*ranges)[a];
                const DnRange& y = (*ranges)[b];
                if (x.from <= y.to && y.from <= x.to) {
                    table.doubts.push_back({number, number, name, true, false});
                    a = b = ranges->size();  // one word for the line is enough
                }
            }
        }
        table.fittings.push_back(
            Fitting{name, std::move(*ranges),
                    fields.size() > 2 ? std::string(trimmed(fields[2])) : std::string(), number,
                    std::move(aliases)});
    }
    return table;
}

Result<FittingTable, FittingTableError> load_fitting_table(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / fitting_table_file;
    if (file_kind(file) == FileKind::missing) {
        return FittingTable{};
    }
    FileKind in_the_way = FileKind::regular;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(open_file(file, OpenMode::read, &in_the_way),
                                                      std::fclose);
    if (!f) {
        // There, yet not to be read: said, never passed over for another table in silence.
        FittingTableError error;
        error.file = in_the_way != FileKind::regular ? not_a_file(file, in_the_way)
                                                     : file_error(file, errno != 0 ? errno : EIO);
        return error;
    }
    std::string contents(largest_fitting_file + 1, '\0');
    contents.resize(std::fread(contents.data(), 1, contents.size(), f.get()));
    if (contents.size() > largest_fitting_file) {
        return FittingTableError{0, "文件太大", false, std::nullopt};
    }
    auto table = parse_fitting_table(contents);
    if (table) {
        give_usual_aliases(table.value());
    }
    return table;
}

std::string with_plain_plus(std::string_view entry) {
    std::string text(entry);
    for (std::size_t at = text.find("＋"); at != std::string::npos; at = text.find("＋", at)) {
        text.replace(at, std::string_view("＋").size(), "+");
    }
    return text;
}

Result<double, XiError> evaluate_xi(std::string_view entry, const FittingTable& table,
                                    std::int16_t dn) {
    double sum = 0.0;
    const std::string text = with_plain_plus(entry);
    if (without_blanks(text).empty()) {
        return 0.0;
    }
    for (std::string_view part : split_fields(text, '+')) {
        if (without_blanks(part).empty()) {
            return xi_error(XiFault::not_a_number, entry);
        }
        auto value = evaluate_part(part, table, dn);
        if (!value) {
            return value.error();
        }
        sum += value.value();
    }
    return sum;
}

std::string xi_entry_in_full(std::string_view entry, const FittingTable& table) {
    const std::string text = with_plain_plus(entry);
    std::string full;
    bool changed = false;  // typed as it is unless an alias was used
    bool first = true;
    for (std::string_view part : split_fields(text, '+')) {
        const XiPart split = split_xi_part(part, table);
        const Fitting* fitting = table.find(split.name);
        std::string written(trimmed(part));
        if (fitting != nullptr && without_blanks(fitting->name) != without_blanks(split.name)) {
            written = split.count.empty() ? fitting->name : split.count + "×" + fitting->name;
            changed = true;
        }
        full += (std::exchange(first, false) ? "" : "+") + written;
    }
    return changed ? full : std::string(entry);
}

}  // namespace kestrune
