// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipe_preview.h"

#include "design_steps.h"

namespace kestrune {
namespace {

struct VelocityLimit {
    std::int16_t dn;
    float v;  // m/s
};

// GB 50736-2012, table 5.9.13, in rising DN.
constexpr std::array<VelocityLimit, 6> velocity_limits{{
    {15, 0.8f},
    {20, 1.0f},
    {25, 1.2f},
    {32, 1.4f},
    {40, 1.8f},
    {50, 2.0f},
}};

bool stands_again_below(const PipeTable& pipes, std::size_t row) {
    for (std::size_t later = row + 1; later < pipes.size(); ++later) {
        if (pipes[later].dn == pipes[row].dn) {
            return true;
        }
    }
    return false;
}

}  // namespace

float velocity_limit(std::int16_t dn) {
    float limit = velocity_limits.front().v;
    for (const VelocityLimit& entry : velocity_limits) {
        if (entry.dn <= dn) {
            limit = entry.v;
        }
    }
    return limit;
}

std::optional<TablePreview> preview_table(const design_state& s, float r_limit) {
    // A flow of 0 or below is no heating branch: nothing to advise.
    if (!(s.g_design > 0.0f)) {
        return std::nullopt;
    }
    TablePreview preview{};
    bool any = false;
    std::optional<std::size_t> suggested;
    for (std::size_t i = 0; i < s.pipes.size(); ++i) {
        const PipeSize& pipe = s.pipes[i];
        if (pipe.dn <= 0 || !(pipe.d > 0.0f) || stands_again_below(s.pipes, i)) {
            continue;
        }
        design_state trial = s;
        if (size_pipe(trial, pipe)) {
            continue;
        }
        // Compared as shown: the rounded v and r against the limits.
        const bool too_fast = trial.v > velocity_limit(pipe.dn);
        preview[i] =
            RowPreview{trial.v, trial.r, too_fast ? PreviewMark::too_fast : PreviewMark::none};
        any = true;
        if (!too_fast && trial.r <= r_limit && (!suggested || pipe.d < s.pipes[*suggested].d)) {
            suggested = i;
        }
    }
    if (!any) {
        return std::nullopt;
    }
    if (suggested) {
        preview[*suggested]->mark = PreviewMark::suggested;
    }
    return preview;
}

}  // namespace kestrune
