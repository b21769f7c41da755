// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small networks typed as rows of the sheet, as the tests of the network and its exports use
// them.

#include <algorithm>
#include <string>
#include <vector>

#include "example_files.h"
#include "pipe_table.h"
#include "sheet_file.h"
#include "sheet_network.h"

namespace kestrune::testing {

inline PipeTable example_pipes() {
    return parse_pipe_table(example_file("indata1.txt"), example_file("indata2.txt")).value();
}

// A row typed into the sheet: the program's parameters, no pipe yet.
inline SheetRow typed_row(const std::string& name, std::vector<std::string> upstream,
                          float consumer) {
    SheetRow row = kestrune::typed_row({}, 0);
    row.segment = name;
    row.upstream = std::move(upstream);
    row.consumer = consumer;
    return row;
}

// Rows written as "管段号:上游:用户负荷", the 上游 separated by blanks.
inline SheetData typed_system(const std::vector<std::string>& rows) {
    SheetData data;
    for (const std::string& text : rows) {
        const auto first = text.find(':'), second = text.rfind(':');
        std::vector<std::string> upstream;
        std::string names = text.substr(first + 1, second - first - 1);
        for (std::size_t at = 0; at < names.size();) {
            const std::size_t end = std::min(names.find(' ', at), names.size());
            upstream.push_back(names.substr(at, end - at));
            at = end + 1;
        }
        const std::string load = text.substr(second + 1);
        data.rows.push_back(
            typed_row(text.substr(0, first), upstream, load.empty() ? 0.0f : std::stof(load)));
    }
    return data;
}

// A direct-return two-pipe system of risers × floors: supply main, risers up, a radiator of
// 1000 W at each floor, risers down, return main; 8 × 8 gives 208 segments.
inline SheetData tall_system(int risers, int floors) {
    std::vector<std::string> rows;
    int next = 1;
    const auto name = [&] { return std::to_string(next++); };
    std::vector<std::string> main(static_cast<std::size_t>(risers)), foot(main);
    for (int i = 0; i < risers; ++i) {
        main[static_cast<std::size_t>(i)] = name();
        rows.push_back(main[static_cast<std::size_t>(i)] + ":" +
                       (i == 0 ? "" : main[static_cast<std::size_t>(i - 1)]) + ":");
        std::string below = main[static_cast<std::size_t>(i)];
        std::vector<std::string> radiators;
        for (int f = 0; f < floors; ++f) {
            const std::string up = name();
            rows.push_back(up + ":" + below + ":");
            radiators.push_back(name());
            rows.push_back(radiators.back() + ":" + up + ":1000");
            below = up;
        }
        std::string down;
        for (int f = floors - 1; f >= 0; --f) {
            const std::string here = name();
            rows.push_back(here + ":" + (down.empty() ? "" : down + " ") +
                           radiators[static_cast<std::size_t>(f)] + ":");
            down = here;
        }
        foot[static_cast<std::size_t>(i)] = down;
    }
    std::string back;
    for (int i = risers - 1; i >= 0; --i) {
        const std::string here = name();
        rows.push_back(here + ":" + (back.empty() ? "" : back + " ") +
                       foot[static_cast<std::size_t>(i)] + ":");
        back = here;
    }
    return typed_system(rows);
}

// Supply main 1, risers 2 and 3, radiators 4 to 7, their returns 8 and 9, return main 10.
inline SheetData small_system() {
    SheetData data;
    data.rows = {
        typed_row("1", {}, 0),         typed_row("2", {"1"}, 0),
        typed_row("3", {"1"}, 0),      typed_row("4", {"2"}, 1500),
        typed_row("5", {"2"}, 2000),   typed_row("6", {"3"}, 1200),
        typed_row("7", {"3"}, 1800),   typed_row("8", {"4", "5"}, 0),
        typed_row("9", {"6", "7"}, 0), typed_row("10", {"8", "9"}, 0),
    };
    return data;
}

// A near and a far consumer of 30 kW on one supply and return: the far loop is the most
// unfavourable, the near one far out of balance.
inline SheetData near_and_far() {
    SheetData data;
    data.rows = {
        typed_row("1", {}, 0),        typed_row("2", {"1"}, 30000), typed_row("3", {"1"}, 0),
        typed_row("4", {"3"}, 30000), typed_row("5", {"4"}, 0),     typed_row("6", {"2", "5"}, 0),
    };
    const double lengths[] = {10, 2, 40, 2, 40, 10};
    for (std::size_t i = 0; i < data.rows.size(); ++i) {
        data.rows[i].length = lengths[i];
    }
    return data;
}

}  // namespace kestrune::testing
