// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "calc_sheet.h"
#include "example_files.h"
#include "fitting_table.h"
#include "sheet_file.h"
#include "worked_sizing.h"

namespace kestrune::testing {

// The worked row (DN 20 of 21.25 mm, L 12.5 m, Σξ 13) and two more segments in two loops
// that share it: loop 2 is out of balance.
inline CalcSheet worked_sheet(std::size_t extra_rows = 0) {
    SheetData data;
    design_state s = worked_sizing();
    s.dn = 20;
    SheetRow first = sheet_row_of(s);
    first.segment = "1";
    first.length = 12.5;
    first.xi_entry = "2×90°煨弯 + 截止阀";
    first.xi = 13;
    first.loops = {"1", "2"};
    SheetRow second = first;
    second.segment = "2";
    second.length = 30;
    second.xi_entry = "散热器";
    second.xi = 2;
    second.loops = {"1"};
    SheetRow third = second;
    third.segment = "3";
    third.length = 8;
    third.loops = {"2"};
    third.note = "立管";
    data.rows = {first, second, third};
    for (std::size_t i = 0; i < extra_rows; ++i) {
        SheetRow more = third;
        more.segment = std::to_string(4 + i);
        more.loops = {"3"};
        data.rows.push_back(more);
    }
    data.loops = {"1", "2"};
    CalcSheet sheet;
    sheet.reset(data);
    return sheet;
}

inline FittingTable shipped_fittings() {
    return parse_fitting_table(example_file(fitting_table_file)).value();
}

}  // namespace kestrune::testing
