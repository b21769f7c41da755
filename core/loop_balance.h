// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestrune {

// The parallel loops of a system must agree within this much in pressure loss, the segments
// they share left out (GB 50019-2003, 4.8.6; kept in GB 50736-2012), %.
inline constexpr double default_imbalance_limit = 15.0;

// What the loop arithmetic needs of one segment.
struct LoopSegment {
    const std::vector<std::string>* loops = nullptr;  // names of the loops it belongs to
    double total = 0.0;                               // ΔP, Pa
    double flow = 0.0;                                // volume flow, m³/h
};

struct LoopResult {
    std::string name;
    std::vector<std::size_t> segments;  // indices of its segments, in sheet order
    double total = 0.0;                 // ΣΔP, Pa
    bool critical = false;              // the most unfavourable loop (最不利环路)
    // Against the critical loop, over the segments the two do not share; empty for the
    // critical loop itself, for a loop without own segments and for one without segments.
    std::optional<double> imbalance;  // %, unrounded
    double surplus = 0.0;             // Pa to absorb in this loop
    std::optional<double> kv;         // m³/h, of a balancing valve absorbing the surplus
    bool flagged = false;             // imbalance above the limit, as shown to 0.1 %
    bool no_own_segments = false;     // every segment of it is also in the critical loop
};

struct LoopReport {
    std::vector<LoopResult> loops;                 // the known loops, in their order
    std::optional<std::size_t> critical;           // index into loops
    std::vector<std::size_t> segments_in_no_loop;  // indices of segments without a loop
};

// Balances the loops: known_loops in their order (loops named by segments but not known are
// added after them, in the order they first appear). limit in %.
LoopReport balance_loops(const std::vector<LoopSegment>& segments,
                         const std::vector<std::string>& known_loops, double limit);

// Kv = V / √(Δp / 100 000 Pa): flow V in m³/h, pressure difference dp in Pa.
double valve_kv(double flow, double dp);

// An imbalance as shown: rounded to 0.1 %.
double shown_imbalance(double imbalance);

}  // namespace kestrune
