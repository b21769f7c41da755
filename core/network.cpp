// SPDX-License-Identifier: GPL-3.0-or-later
#include "network.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace kestrune {
namespace {

// Path counts stop here: past it only "too many" matters, and nothing overflows.
std::size_t capped_sum(std::size_t a, std::size_t b) {
    return std::min(a + b, most_paths + 1);
}

}  // namespace

bool network_given(const std::vector<NetworkSegment>& segments) {
    return std::any_of(segments.begin(), segments.end(),
                       [](const NetworkSegment& s) { return !s.upstream->empty(); });
}

Network find_network(const std::vector<NetworkSegment>& segments) {
    const std::size_t n = segments.size();
    Network net;
    net.carried.resize(n);
    net.loops_through.resize(n);

    // Names: a 管段号 used twice names neither of its rows.
    std::unordered_map<std::string_view, std::vector<std::size_t>> rows_named;
    std::vector<std::string_view> duplicated;
    for (std::size_t i = 0; i < n; ++i) {
        if (segments[i].name.empty()) {
            continue;
        }
        auto& rows = rows_named[segments[i].name];
        rows.push_back(i);
        if (rows.size() == 2) {
            duplicated.push_back(segments[i].name);
        }
    }
    for (std::string_view name : duplicated) {
        net.faults.push_back({NetworkFaultKind::duplicate_segment, rows_named[name], {}});
    }

    // The links, from upstream to downstream, in row order.
    std::vector<std::vector<std::size_t>> children(n), parents(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (const std::string& up : *segments[i].upstream) {
            const auto named = rows_named.find(up);
            if (named == rows_named.end()) {
                net.faults.push_back({NetworkFaultKind::unknown_upstream, {i}, up});
                continue;
            }
            if (named->second.size() != 1) {
                continue;  // said as the duplicate
            }
            const std::size_t from = named->second.front();
            if (std::find(parents[i].begin(), parents[i].end(), from) == parents[i].end()) {
                parents[i].push_back(from);
                children[from].push_back(i);
            }
        }
    }

    // The rows in flow order; what is left over lies on or below a cycle.
    std::vector<std::size_t> order;
    order.reserve(n);
    std::vector<std::size_t> waiting(n);
    for (std::size_t i = 0; i < n; ++i) {
        waiting[i] = parents[i].size();
        if (waiting[i] == 0) {
            order.push_back(i);
        }
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
        for (std::size_t child : children[order[k]]) {
            if (--waiting[child] == 0) {
                order.push_back(child);
            }
        }
    }
    std::vector<bool> ordered(n, false);
    for (std::size_t i : order) {
        ordered[i] = true;
    }
    if (order.size() < n) {
        // Of the rest, those that also lead back into the rest: the cycles themselves.
        std::vector<std::size_t> onward(n, 0), ends;
        for (std::size_t i = 0; i < n; ++i) {
            if (!ordered[i]) {
                for (std::size_t child : children[i]) {
                    onward[i] += ordered[child] ? 0 : 1;
                }
                if (onward[i] == 0) {
                    ends.push_back(i);
                }
            }
        }
        std::vector<bool> below(n, false);
        for (std::size_t k = 0; k < ends.size(); ++k) {
            below[ends[k]] = true;
            for (std::size_t parent : parents[ends[k]]) {
                if (!ordered[parent] && --onward[parent] == 0) {
                    ends.push_back(parent);
                }
            }
        }
        NetworkFault cycle{NetworkFaultKind::cycle, {}, {}};
        for (std::size_t i = 0; i < n; ++i) {
            if (!ordered[i] && !below[i]) {
                cycle.segments.push_back(i);
            }
        }
        net.faults.push_back(std::move(cycle));
    }

    // Paths from the source to each row, and from each row to an end.
    std::vector<std::size_t> paths_to(n, 0), paths_from(n, 0);
    for (std::size_t i : order) {
        if (segments[i].upstream->empty()) {
            paths_to[i] = 1;
        }
        for (std::size_t child : children[i]) {
            paths_to[child] = capped_sum(paths_to[child], paths_to[i]);
        }
    }
    for (auto k = order.rbegin(); k != order.rend(); ++k) {
        if (children[*k].empty()) {
            paths_from[*k] = 1;
        }
        for (std::size_t child : children[*k]) {
            if (ordered[child]) {
                paths_from[*k] = capped_sum(paths_from[*k], paths_from[child]);
            }
        }
    }
    std::size_t total = 0;
    NetworkFault several{NetworkFaultKind::several_paths, {}, {}};
    NetworkFault pathless{NetworkFaultKind::no_path, {}, {}};
    for (std::size_t i = 0; i < n; ++i) {
        if (segments[i].upstream->empty() && ordered[i]) {
            total = capped_sum(total, paths_from[i]);
        }
        if (!segments[i].consumer) {
            continue;
        }
        if (paths_to[i] == 0 || paths_from[i] == 0) {
            pathless.segments.push_back(i);
        } else if (paths_to[i] > 1 || paths_from[i] > 1) {
            several.segments.push_back(i);
        }
    }
    if (!several.segments.empty()) {
        net.faults.push_back(std::move(several));
    }
    if (!pathless.segments.empty()) {
        net.faults.push_back(std::move(pathless));
    }
    if (total > most_paths) {
        net.faults.push_back({NetworkFaultKind::too_many_paths, {}, {}});
        return net;
    }

    // Every path, depth first from each source segment, branches in row order.
    std::vector<std::size_t> path;
    std::vector<std::size_t> next_child;  // per depth: the next branch to take
    for (std::size_t root = 0; root < n; ++root) {
        if (!segments[root].upstream->empty() || !ordered[root]) {
            continue;
        }
        path.assign(1, root);
        next_child.assign(1, 0);
        while (!path.empty()) {
            const std::size_t at = path.back();
            if (children[at].empty() && next_child.back() == 0) {
                NetworkLoop loop;
                loop.path = path;
                for (std::size_t row : path) {
                    if (segments[row].consumer) {
                        loop.name +=
                            (loop.consumers.empty() ? "" : "+") + std::string(segments[row].name);
                        loop.consumers.push_back(row);
                    }
                }
                if (loop.consumers.empty()) {
                    net.faults.push_back({NetworkFaultKind::no_consumer, path, {}});
                } else {
                    net.loops.push_back(std::move(loop));
                }
                next_child.back() = 1;  // an end is left at once
            }
            std::size_t& k = next_child.back();
            while (k < children[at].size() && !ordered[children[at][k]]) {
                ++k;
            }
            if (k < children[at].size()) {
                path.push_back(children[at][k++]);
                next_child.push_back(0);
            } else {
                path.pop_back();
                next_child.pop_back();
            }
        }
    }
    for (std::size_t l = 0; l < net.loops.size(); ++l) {
        for (std::size_t row : net.loops[l].path) {
            net.loops_through[row].push_back(l);
            auto& carried = net.carried[row];
            carried.insert(carried.end(), net.loops[l].consumers.begin(),
                           net.loops[l].consumers.end());
        }
    }
    return net;
}

}  // namespace kestrune
