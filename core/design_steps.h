// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "arith_error.h"
#include "design_state.h"

namespace kestrune {

// Where a load entry stopped.
enum class LoadStep {
    user_load,    // the typed number does not fit the 32-bit q_user
    design_load,  // k_margin * q_user does not fit q_design
    design_flow,  // q_gexchange failed (dt 0, or overflow)
};

struct LoadFault {
    LoadStep step;
    ArithError error;
};

// Load entry, on every change of the load text: q_user from the text, q_design =
// k_margin * q_user, g_design = q_gexchange(q_design). Each field is stored as soon as its
// step succeeds; a failed step leaves its field and those after it as they were.
std::optional<LoadFault> enter_load(design_state& s, std::string_view load_text);

// The same from a load already read (a sum of consumers' loads, W): q_user, then q_design and
// g_design by the same operations.
std::optional<LoadFault> take_load(design_state& s, float q_user);

// From a design load already formed (W): q_design, then g_design.
std::optional<LoadFault> take_design_load(design_state& s, float q_design);

// Where the calculation of a sizing stopped.
enum class SizingStep { velocity, friction_factor, resistance };

struct SizingFault {
    SizingStep step;
    ArithError error;
};

// The calculation of one sizing for the dn and d already chosen: v, then ycxs with that v,
// then r with that v and ycxs, each stored as soon as it is computed. A failed step leaves
// its field and those after it as they were.
std::optional<SizingFault> compute_sizing(design_state& s);

// The results of sizing this pipe: dn and d are stored, then compute_sizing runs. The sizing
// run and the preview of the diameter list both size a pipe through here, so that what the
// list shows is what the sizing then logs.
std::optional<SizingFault> size_pipe(design_state& s, const PipeSize& pipe);

}  // namespace kestrune
