// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipe_balance.h"

#include <algorithm>
#include <optional>

#include "calc_sheet.h"
#include "design_steps.h"
#include "pipe_preview.h"
#include "sheet_network.h"

namespace kestrune {
namespace {

// The widest pipe of the table narrower than d; none when d is the narrowest.
std::optional<PipeSize> next_smaller(const PipeTable& pipes, float d) {
    std::optional<PipeSize> best;
    for (const PipeSize& pipe : pipes) {
        if (pipe.dn > 0 && pipe.d > 0.0f && pipe.d < d && (!best || pipe.d > best->d)) {
            best = pipe;
        }
    }
    return best;
}

}  // namespace

std::vector<BalanceChange> balance_pipes(SheetData& sheet, const PipeTable& pipes,
                                         const FittingTable& fittings) {
    std::vector<BalanceChange> changes;
    std::vector<SegmentLosses> losses;
    const LoopReport report = loop_report(sheet, losses);
    if (!report.critical) {
        return changes;
    }
    auto& rows = sheet.rows;
    const LoopResult& critical = report.loops[*report.critical];
    const double critical_total = critical.total;
    std::vector<bool> in_critical(rows.size(), false);
    for (std::size_t s : critical.segments) {
        in_critical[s] = true;
    }
    std::vector<double> totals;
    std::vector<std::vector<std::size_t>> loops_of(rows.size());
    for (std::size_t l = 0; l < report.loops.size(); ++l) {
        totals.push_back(report.loops[l].total);
        for (std::size_t s : report.loops[l].segments) {
            loops_of[s].push_back(l);
        }
    }
    std::string ignored;
    for (std::size_t l = 0; l < report.loops.size(); ++l) {
        const LoopResult& loop = report.loops[l];
        if (loop.critical || !loop.imbalance || loop.no_own_segments) {
            continue;
        }
        double shared = 0.0;
        for (std::size_t s : loop.segments) {
            shared += in_critical[s] ? losses[s].total : 0.0;
        }
        const double critical_own = critical_total - shared;
        const auto imbalance = [&] { return 100.0 * (critical_total - totals[l]) / critical_own; };
        const double before = imbalance();
        const std::size_t first_change = changes.size();
        while (shown_imbalance(imbalance()) > sheet.limit) {
            std::optional<std::size_t> best;
            SheetRow best_row;
            double best_gain = 0.0;
            for (std::size_t s : loop.segments) {
                const SheetRow& row = rows[s];
                if (in_critical[s] || row.dn_choice == DnChoice::engineer || row.dn <= 0) {
                    continue;
                }
                const auto smaller = next_smaller(pipes, row.d);
                if (!smaller) {
                    continue;
                }
                design_state st = sizing_state_of(row, pipes);
                if (size_pipe(st, *smaller) || st.v > velocity_limit(st.dn)) {
                    continue;
                }
                SheetRow trial = row;
                take_sizing(trial, st);
                refresh_xi(trial, fittings, ignored);
                const double gain =
                    segment_losses(trial.r, trial.v, trial.rho, trial.length, trial.xi).total -
                    losses[s].total;
                // No loop through it may come to lose as much as the most unfavourable one.
                const bool fits =
                    std::all_of(loops_of[s].begin(), loops_of[s].end(),
                                [&](std::size_t m) { return totals[m] + gain < critical_total; });
                if (gain > best_gain && fits) {
                    best = s;
                    best_row = std::move(trial);
                    best_gain = gain;
                }
            }
            if (!best) {
                break;
            }
            const std::size_t s = *best;
            const auto known = std::find_if(changes.begin(), changes.end(),
                                            [s](const BalanceChange& c) { return c.row == s; });
            if (known == changes.end()) {
                changes.push_back({s, rows[s].dn, best_row.dn, loop.name, before, 0.0});
            } else {
                known->dn_after = best_row.dn;
            }
            rows[s] = std::move(best_row);
            rows[s].dn_choice = DnChoice::balanced;
            losses[s] =
                segment_losses(rows[s].r, rows[s].v, rows[s].rho, rows[s].length, rows[s].xi);
            for (std::size_t m : loops_of[s]) {
                totals[m] += best_gain;
            }
        }
        for (std::size_t c = first_change; c < changes.size(); ++c) {
            changes[c].imbalance_after = imbalance();
        }
    }
    return changes;
}

}  // namespace kestrune
