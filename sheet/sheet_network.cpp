// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_network.h"

#include <algorithm>

#include "calc_sheet.h"
#include "conversions.h"
#include "design_steps.h"
#include "pipe_preview.h"
#include "sheet_messages.h"

namespace kestrune {
namespace {

// The row sized anew for the consumers it carries; false, and the row as it was, when the
// arithmetic fails.
bool carry(SheetRow& row, const std::vector<const SheetRow*>& consumers) {
    design_state s = sizing_state_of(row, {});
    double user = 0.0;
    bool one_margin = true;
    for (const SheetRow* c : consumers) {
        user += static_cast<double>(c->consumer);
        one_margin = one_margin && c->k_margin == row.k_margin;
    }
    const auto q_user = to_float(user);
    if (!q_user) {
        return false;
    }
    if (one_margin) {
        // As the main window would size the sum typed as one load.
        if (take_load(s, q_user.value())) {
            return false;
        }
    } else {
        // Each consumer's design load with its own margin, as its own sizing formed it.
        double design = 0.0;
        for (const SheetRow* c : consumers) {
            const auto q = to_float(static_cast<double>(c->k_margin) * c->consumer);
            if (!q) {
                return false;
            }
            design += static_cast<double>(q.value());
        }
        const auto q_design = to_float(design);
        s.q_user = q_user.value();
        if (!q_design || take_design_load(s, q_design.value())) {
            return false;
        }
    }
    if (s.dn > 0 && s.d > 0.0f) {
        if (compute_sizing(s)) {
            return false;
        }
    } else {
        s.v = s.ycxs = s.r = 0.0f;  // no pipe yet
    }
    take_sizing(row, s);
    return true;
}

}  // namespace

std::vector<NetworkSegment> network_segments(const std::vector<SheetRow>& rows) {
    std::vector<NetworkSegment> segments;
    segments.reserve(rows.size());
    for (const SheetRow& row : rows) {
        segments.push_back({row.segment, &row.upstream, row.consumer > 0.0f});
    }
    return segments;
}

bool network_given(const std::vector<SheetRow>& rows) {
    return std::any_of(rows.begin(), rows.end(),
                       [](const SheetRow& row) { return !row.upstream.empty(); });
}

std::vector<std::size_t> settle_network(SheetData& sheet) {
    std::vector<std::size_t> unsized;
    auto& rows = sheet.rows;
    if (!network_given(rows)) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].consumer > 0.0f && rows[i].consumer != rows[i].q_user &&
                !carry(rows[i], {&rows[i]})) {
                unsized.push_back(i);
            }
        }
        return unsized;
    }
    const Network net = find_network(network_segments(rows));
    if (!net.faults.empty()) {
        return unsized;
    }
    sheet.loops.clear();
    for (const NetworkLoop& loop : net.loops) {
        sheet.loops.push_back(loop.name);
    }
    // Loads from the consumers as they stand before any row takes its new values.
    const std::vector<SheetRow> before = rows;
    std::vector<const SheetRow*> consumers;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        consumers.clear();
        for (std::size_t c : net.carried[i]) {
            consumers.push_back(&before[c]);
        }
        if (!carry(rows[i], consumers)) {
            unsized.push_back(i);
        }
        rows[i].loops.clear();
        for (std::size_t l : net.loops_through[i]) {
            rows[i].loops.push_back(net.loops[l].name);
        }
    }
    return unsized;
}

SheetRow typed_row(const std::vector<SheetRow>& rows, std::size_t like) {
    SheetRow row = sheet_row_of(design_state{});
    if (like < rows.size()) {
        const SheetRow& model = rows[like];
        row.k_margin = model.k_margin;
        row.rho = model.rho;
        row.t_supply = model.t_supply;
        row.t_return = model.t_return;
        row.nu = model.nu;
        row.k_rough = model.k_rough;
    }
    row.segment = next_segment_number(rows);
    row.q_user = row.q_design = row.g_design = row.consumer = 0.0f;
    row.dn = 0;
    row.dn_choice = DnChoice::chosen;
    return row;
}

void refresh_xi(SheetRow& row, const FittingTable& fittings, std::string& note) {
    auto xi = evaluate_xi(row.xi_entry, fittings, row.dn);
    if (xi) {
        row.xi = xi.value();
    } else if (note.empty()) {
        note = xi_kept_for_new_dn(xi.error(), row.xi);
    }
}

std::vector<PipeChoice> choose_pipes(SheetData& sheet, const PipeTable& pipes,
                                     const FittingTable& fittings) {
    std::vector<PipeChoice> choices;
    std::string ignored;
    for (std::size_t i = 0; i < sheet.rows.size(); ++i) {
        SheetRow& row = sheet.rows[i];
        if (row.dn_choice == DnChoice::engineer || !(row.g_design > 0.0f)) {
            continue;
        }
        design_state s = sizing_state_of(row, pipes);
        const auto preview = preview_table(s, sheet.resistance_limit);
        if (!preview) {
            continue;
        }
        // The recommended pipe; else the widest the table has.
        std::optional<std::size_t> pick;
        for (std::size_t k = 0; k < pipe_rows; ++k) {
            const auto& p = (*preview)[k];
            if (p && p->mark == PreviewMark::suggested) {
                pick = k;
                break;
            }
            if (p && (!pick || pipes[k].d > pipes[*pick].d)) {
                pick = k;
            }
        }
        const bool within = (*preview)[*pick]->mark == PreviewMark::suggested;
        const std::int16_t before = row.dn;
        if (size_pipe(s, pipes[*pick])) {
            continue;  // the preview sized it: this does not fail
        }
        take_sizing(row, s);
        row.dn_choice = DnChoice::chosen;
        refresh_xi(row, fittings, ignored);
        choices.push_back({i, before, row.dn, within});
    }
    return choices;
}

}  // namespace kestrune
