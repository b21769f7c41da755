// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_entry.h"

#include <algorithm>
#include <cmath>

#include "conversions.h"
#include "design_steps.h"
#include "failure_words.h"
#include "leading_number.h"
#include "sheet_messages.h"
#include "sheet_network.h"

namespace kestrune {
namespace {

bool is_blank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

std::optional<double> non_negative(std::string_view entry) {
    if (is_blank(entry)) {
        return 0.0;
    }
    const std::string_view rest = unread_rest(entry);
    auto value = read_leading_number(entry);
    if (!value || rest.size() == entry.size() || holds_digit(rest) || !(value.value() >= 0.0) ||
        !std::isfinite(value.value())) {
        return std::nullopt;
    }
    return value.value();
}

std::vector<std::string> loop_names(std::string_view entry) {
    std::string text;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const std::string_view at = entry.substr(i);
        if (at.substr(0, 3) == "，" || at.substr(0, 3) == "、" ||
            at.substr(0, 3) == "\xE3\x80\x80") {
            text += ' ';
            i += 2;
        } else {
            text += entry[i] == ',' || entry[i] == '\t' ? ' ' : entry[i];
        }
    }
    std::vector<std::string> names;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start) {
            names.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

std::optional<std::string> read_entry(SheetRow& row, SheetColumn column, std::string_view entry,
                                      const FittingTable& fittings, const PipeTable& pipes,
                                      bool& resized, std::string& note) {
    switch (column) {
        case SheetColumn::segment:
            row.segment = std::string(entry);
            return std::nullopt;
        case SheetColumn::upstream:
            row.upstream = loop_names(entry);
            return std::nullopt;
        case SheetColumn::consumer: {
            auto load = non_negative(entry);
            const auto q = load ? to_float(*load) : Result<float, ArithError>(ArithError{});
            if (!q) {
                return consumer_refused(entry);
            }
            row.consumer = q.value();
            return std::nullopt;
        }
        case SheetColumn::length: {
            auto length = non_negative(entry);
            if (!length) {
                return length_refused(entry);
            }
            row.length = *length;
            return std::nullopt;
        }
        case SheetColumn::xi: {
            auto xi = evaluate_xi(entry, fittings, row.dn);
            if (!xi) {
                return xi_refused(xi.error());
            }
            row.xi_entry = xi_entry_in_full(entry, fittings);  // kept and printed by name
            row.xi = xi.value();
            return std::nullopt;
        }
        case SheetColumn::dn: {
            if (is_blank(entry)) {
                row.dn_choice = DnChoice::chosen;  // 自动选管径 may choose it again
                return std::nullopt;
            }
            const auto pipe = answered_pipe(entry, pipes);
            if (!pipe) {
                return dn_refused(entry, pipe.error(), pipes);
            }
            // The row's own flow and parameters, the same formula operations as any sizing.
            design_state s = sizing_state_of(row, pipes);
            if (auto fault = size_pipe(s, pipe.value())) {
                return sizing_problem(*fault, s);
            }
            take_sizing(row, s);
            row.dn_choice = DnChoice::engineer;
            resized = true;
            refresh_xi(row, fittings, note);
            return std::nullopt;
        }
        case SheetColumn::loops:
            row.loops = loop_names(entry);
            return std::nullopt;
        case SheetColumn::note:
            row.note = std::string(entry);
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace kestrune
