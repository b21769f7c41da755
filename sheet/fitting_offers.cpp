// SPDX-License-Identifier: GPL-3.0-or-later
#include "fitting_offers.h"

#include <algorithm>

#include "leading_number.h"
#include "number_text.h"

namespace kestrune {
namespace {

// How well a fitting answers what is typed: 0 a name or alias as typed, 1 one beginning
// with it, 2 a name holding it; 3 not at all.
int closeness(const Fitting& fitting, const std::string& typed) {
    int best = 3;
    std::vector<std::string> words{fitting.name};
    words.insert(words.end(), fitting.aliases.begin(), fitting.aliases.end());
    for (const std::string& word : words) {
        const std::string w = folded_name(word);
        if (w == typed) {
            return 0;
        }
        if (w.rfind(typed, 0) == 0) {
            best = std::min(best, 1);
        }
    }
    if (best == 3 && folded_name(fitting.name).find(typed) != std::string::npos) {
        best = 2;
    }
    return best;
}

std::string offer_label(const Fitting& fitting, std::int16_t dn) {
    const auto xi = fitting_xi(fitting, dn);
    std::string label = fitting.name + "  ξ " + (xi ? shortest_text(*xi) : "—");
    if (!fitting.aliases.empty()) {
        label += "  " + fitting.aliases.back();  // the short code stands last
    }
    return label;
}

}  // namespace

std::vector<FittingOffer> fitting_offers(std::string_view entry, const FittingTable& table,
                                         std::int16_t dn) {
    std::size_t start = 0;  // where the last part begins
    for (std::string_view plus : {"+", "＋"}) {
        if (const std::size_t at = entry.rfind(plus); at != std::string_view::npos) {
            start = std::max(start, at + plus.size());
        }
    }
    while (start < entry.size() && (entry[start] == ' ' || entry[start] == '\t')) {
        ++start;
    }
    const std::string_view last = entry.substr(start);
    if (folded_name(last).empty() || read_whole_number(folded_name(last))) {
        return {};  // a plain number is taken as it is
    }
    // "90°" begins 90°煨弯 as a whole; "2jz" is a count and the start of a code.
    XiPart part{"", folded_name(last)};
    const auto answering = [&table](const std::string& typed, int worst) {
        std::vector<std::pair<int, const Fitting*>> found;
        for (const Fitting& fitting : table.fittings) {
            if (const int close = closeness(fitting, typed); close <= worst) {
                found.emplace_back(close, &fitting);
            }
        }
        return found;
    };
    auto found = answering(part.name, 2);
    if (found.empty()) {
        part = split_xi_part(last, table);
        // What follows the count, without its × and with it: "2x" may begin xgjzf.
        const std::string whole = folded_name(last);
        for (const std::string& name : {folded_name(part.name), std::string(unread_rest(whole))}) {
            for (const auto& answer : name.empty() ? decltype(found){} : answering(name, 2)) {
                if (std::none_of(found.begin(), found.end(),
                                 [&](const auto& f) { return f.second == answer.second; })) {
                    found.push_back(answer);
                }
            }
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // What was typed before the last part stays, blanks and all.
    std::string kept(entry.substr(0, start));
    std::vector<FittingOffer> offers;
    for (std::size_t i = 0; i < found.size() && i < most_fitting_offers; ++i) {
        const Fitting& fitting = *found[i].second;
        offers.push_back({fitting.name, offer_label(fitting, dn),
                          kept + (part.count.empty() ? "" : part.count + "×") + fitting.name});
    }
    return offers;
}

}  // namespace kestrune
