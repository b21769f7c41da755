// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The heating network as the 上游 column gives it: each segment names the segments its water
// comes from. From that alone the loops are found (every path from a segment that leaves the
// source to one that no segment continues) and what each segment carries.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// Above this many paths the loops are not listed: the network is said to be too meshed.
inline constexpr std::size_t most_paths = 10000;

// What the network needs of one row of the sheet.
struct NetworkSegment {
    std::string_view name;                     // 管段号
    const std::vector<std::string>* upstream;  // 上游; empty: it leaves the source
    bool consumer = false;                     // it serves a consumer (用户负荷 given)
};

enum class NetworkFaultKind {
    duplicate_segment,  // a 管段号 used twice
    unknown_upstream,   // an 上游 naming no segment
    cycle,              // water that would come back to where it was
    several_paths,      // a consumer reached, or left, by more than one path
    no_consumer,        // a loop that serves no consumer
    no_path,            // a consumer on no path from the source
    too_many_paths,     // more than most_paths loops
};

struct NetworkFault {
    NetworkFaultKind kind;
    std::vector<std::size_t> segments;  // rows concerned, in sheet order (a loop's: in its order)
    std::string name;                   // unknown_upstream: the name given
};

struct NetworkLoop {
    std::string name;                    // its consumers' 管段号, joined by "+"
    std::vector<std::size_t> path;       // rows, from the source along the flow
    std::vector<std::size_t> consumers;  // rows of its consumers, along the path
};

struct Network {
    std::vector<NetworkLoop> loops;
    std::vector<NetworkFault> faults;
    // Per row: the consumers whose water passes through it, each once, in loop order.
    std::vector<std::vector<std::size_t>> carried;
    // Per row: the loops through it (indices into loops), in their order.
    std::vector<std::vector<std::size_t>> loops_through;
};

// Whether any row names an 上游: only then is there a network to find.
bool network_given(const std::vector<NetworkSegment>& segments);

// The loops, the faults and what each row carries. Nothing is guessed: a name that is not
// unique or not known links nothing, and a row whose water can come round again is on no path.
Network find_network(const std::vector<NetworkSegment>& segments);

}  // namespace kestrune
