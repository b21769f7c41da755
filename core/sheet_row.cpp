// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_row.h"

namespace kestrune {

void take_sizing(SheetRow& row, const design_state& s) {
    row.q_user = s.q_user;
    row.q_design = s.q_design;
    row.g_design = s.g_design;
    row.dn = s.dn;
    row.v = s.v;
    row.r = s.r;
    row.d = s.d;
    row.ycxs = s.ycxs;
    row.k_margin = s.k_margin;
    row.rho = s.rho;
    row.t_supply = s.t_supply;
    row.t_return = s.t_return;
    row.nu = s.nu;
    row.k_rough = s.k_rough;
}

SheetRow sheet_row_of(const design_state& s) {
    SheetRow row;
    take_sizing(row, s);
    row.consumer = s.q_user;
    return row;
}

design_state sizing_state_of(const SheetRow& row, const PipeTable& pipes) {
    design_state s;
    s.q_user = row.q_user;
    s.q_design = row.q_design;
    s.g_design = row.g_design;
    s.k_margin = row.k_margin;
    s.rho = row.rho;
    // The temperatures were set together once; their difference is what they gave then.
    s.t_supply = row.t_supply;
    s.t_return = row.t_return;
    s.dt = static_cast<std::int16_t>(row.t_supply - row.t_return);
    s.nu = row.nu;
    s.k_rough = row.k_rough;
    s.pipes = pipes;
    s.dn = row.dn;
    s.d = row.d;
    s.v = row.v;
    s.ycxs = row.ycxs;
    s.r = row.r;
    return s;
}

}  // namespace kestrune
