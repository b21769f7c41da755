// SPDX-License-Identifier: GPL-3.0-or-later
#include "loop_balance.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace kestrune {

double valve_kv(double flow, double dp) {
    return flow / std::sqrt(dp / 100000.0);
}

double shown_imbalance(double imbalance) {
    return std::round(imbalance * 10.0) / 10.0;
}

LoopReport balance_loops(const std::vector<LoopSegment>& segments,
                         const std::vector<std::string>& known_loops, double limit) {
    LoopReport report;
    std::unordered_map<std::string, std::size_t> index;
    const auto loop_named = [&](const std::string& name) -> LoopResult& {
        auto [at, added] = index.try_emplace(name, report.loops.size());
        if (added) {
            LoopResult loop;
            loop.name = name;
            report.loops.push_back(std::move(loop));
        }
        return report.loops[at->second];
    };
    for (const std::string& name : known_loops) {
        loop_named(name);
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const auto& names = *segments[i].loops;
        if (names.empty()) {
            report.segments_in_no_loop.push_back(i);
        }
        for (const std::string& name : names) {
            LoopResult& loop = loop_named(name);
            // A segment named twice for one loop counts once.
            if (loop.segments.empty() || loop.segments.back() != i) {
                loop.segments.push_back(i);
                loop.total += segments[i].total;
            }
        }
    }
    for (std::size_t l = 0; l < report.loops.size(); ++l) {
        const LoopResult& loop = report.loops[l];
        if (!loop.segments.empty() &&
            (!report.critical || loop.total > report.loops[*report.critical].total)) {
            report.critical = l;
        }
    }
    if (!report.critical) {
        return report;
    }
    LoopResult& critical = report.loops[*report.critical];
    critical.critical = true;
    for (LoopResult& loop : report.loops) {
        if (loop.critical || loop.segments.empty()) {
            continue;
        }
        // Both lists are in sheet order: what each holds that the other does not.
        double critical_own = 0.0;
        double own = 0.0;
        double largest_flow = 0.0;
        bool has_own = false;
        std::size_t c = 0;
        std::size_t o = 0;
        while (c < critical.segments.size() || o < loop.segments.size()) {
            const std::size_t at_c =
                c < critical.segments.size() ? critical.segments[c] : segments.size();
            const std::size_t at_o = o < loop.segments.size() ? loop.segments[o] : segments.size();
            if (at_c == at_o) {
                ++c;
                ++o;
            } else if (at_c < at_o) {
                critical_own += segments[at_c].total;
                ++c;
            } else {
                own += segments[at_o].total;
                largest_flow = std::max(largest_flow, segments[at_o].flow);
                has_own = true;
                ++o;
            }
        }
        if (!has_own) {
            loop.no_own_segments = true;
            continue;
        }
        if (critical_own <= 0.0) {
            continue;  // nothing to compare against
        }
        loop.imbalance = 100.0 * (critical_own - own) / critical_own;
        loop.surplus = critical_own - own;
        loop.flagged = shown_imbalance(*loop.imbalance) > limit;
        if (loop.surplus > 0.0 && largest_flow > 0.0) {
            loop.kv = valve_kv(largest_flow, loop.surplus);
        }
    }
    return report;
}

}  // namespace kestrune
