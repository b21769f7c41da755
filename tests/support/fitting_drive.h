// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The trial's system of 14 segments and 6 radiators, every Σξ by short code: the supply main
// with its valve and bends, the tees along the mains, the six radiator branches and the
// return. The grid and both programs are driven through it.

#include <array>
#include <cstddef>

namespace kestrune::testing {

struct DrivenXi {
    const char* keys;  // typed in the Σξ cell, then Enter
    const char* kept;  // what the sheet keeps
    const char* xi;    // the Σξ shown, at DN 20
};

inline constexpr std::array<DrivenXi, 14> fourteen_rows{{
    {"jzf+2w", "截止阀+2×90°煨弯", "13"},
    {"z", "直流三通", "1"},
    {"z", "直流三通", "1"},
    {"z", "直流三通", "1"},
    {"z", "直流三通", "1"},
    {"srq+2y", "散热器+2×乙字弯", "5"},
    {"srq+2y", "散热器+2×乙字弯", "5"},
    {"srq+2y", "散热器+2×乙字弯", "5"},
    {"srq+2y", "散热器+2×乙字弯", "5"},
    {"srq+2y", "散热器+2×乙字弯", "5"},
    {"srq+2y", "散热器+2×乙字弯", "5"},
    {"h", "合流三通", "3"},
    {"h", "合流三通", "3"},
    {"jzf+2w", "截止阀+2×90°煨弯", "13"},
}};

// The keys a row's entry takes: each character, Shift for a +, and Enter.
inline std::size_t keys_for(const DrivenXi& row) {
    std::size_t keys = 1;
    for (const char* c = row.keys; *c != '\0'; ++c) {
        keys += *c == '+' ? 2 : 1;
    }
    return keys;
}

}  // namespace kestrune::testing
