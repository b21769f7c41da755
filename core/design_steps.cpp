// SPDX-License-Identifier: GPL-3.0-or-later
#include "design_steps.h"

#include "conversions.h"
#include "hydraulics.h"

namespace kestrune {

std::optional<LoadFault> enter_load(design_state& s, std::string_view load_text) {
    auto q_user = read_float_field(load_text);
    if (!q_user) {
        return LoadFault{LoadStep::user_load, q_user.error()};
    }
    return take_load(s, q_user.value());
}

std::optional<LoadFault> take_load(design_state& s, float q_user) {
    s.q_user = q_user;
    auto q_design = to_float(static_cast<double>(s.k_margin) * static_cast<double>(s.q_user));
    if (!q_design) {
        return LoadFault{LoadStep::design_load, q_design.error()};
    }
    return take_design_load(s, q_design.value());
}

std::optional<LoadFault> take_design_load(design_state& s, float q_design) {
    s.q_design = q_design;
    auto g = q_gexchange(s, s.q_design);
    if (!g) {
        return LoadFault{LoadStep::design_flow, g.error()};
    }
    s.g_design = g.value();
    return std::nullopt;
}

std::optional<SizingFault> compute_sizing(design_state& s) {
    auto v = compute_v(s, s.g_design, s.d);
    if (!v) {
        return SizingFault{SizingStep::velocity, v.error()};
    }
    s.v = v.value();

    auto ycxs = compute_ycxs(s, s.v, s.d);
    if (!ycxs) {
        return SizingFault{SizingStep::friction_factor, ycxs.error()};
    }
    s.ycxs = ycxs.value();

    auto r = compute_r(s, s.v, s.d);
    if (!r) {
        return SizingFault{SizingStep::resistance, r.error()};
    }
    s.r = r.value();
    return std::nullopt;
}

std::optional<SizingFault> size_pipe(design_state& s, const PipeSize& pipe) {
    s.dn = pipe.dn;
    s.d = pipe.d;
    return compute_sizing(s);
}

}  // namespace kestrune
