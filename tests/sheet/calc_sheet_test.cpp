// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet as a document, with no window and no file: its steps, and what its cells and
// its loop summary say.
#include "calc_sheet.h"

#include <gtest/gtest.h>

#include "sheet_cells.h"
#include "sheet_messages.h"
#include "sheet_network.h"
#include "worked_sheet.h"

namespace kestrune::testing {
namespace {

TEST(CalcSheetModel, ChangesToSeveralRowsAreOneStepAndUnchangedRowsNone) {
    CalcSheet sheet = worked_sheet();
    const SheetData before = sheet.data();
    SheetRow first = before.rows[0];
    SheetRow third = before.rows[2];
    third.length = 9.5;
    third.loops = {"2", "新"};
    // The first row is given as it already is: no part of the step.
    ASSERT_TRUE(sheet.change_rows({{0, first}, {2, third}}));
    EXPECT_EQ(sheet.data().rows[2].length, 9.5);
    EXPECT_EQ(sheet.data().loops, (std::vector<std::string>{"1", "2", "新"}));
    EXPECT_FALSE(sheet.change_rows({{0, first}, {2, third}}));
    ASSERT_TRUE(sheet.undo());
    EXPECT_EQ(sheet.data(), before);
    EXPECT_FALSE(sheet.undo());  // reset leaves no history before it
    ASSERT_TRUE(sheet.redo());
    EXPECT_EQ(sheet.data().rows[2].length, 9.5);
}

TEST(CalcSheetModel, LossesAreSummedFromTheLoggedDecimalsNotTheSingleTails) {
    // R logged as 96.23 Pa/m over 306.3 m: 29475.249 Pa, shown 29475.2. The single 96.23 is
    // 96.2300033..., whose R·L, 29475.25003, would show 29475.3.
    SheetRow row = typed_row({}, 0);
    row.segment = "1";
    row.r = 96.23f;
    row.v = 0.5f;
    row.length = 306.3;
    row.loops = {"1"};
    SheetData data;
    data.rows = {row};
    data.loops = {"1"};
    CalcSheet calc;
    calc.reset(data);
    EXPECT_EQ(cell_text(calc, 0, SheetColumn::friction_loss), "29475.2");
    EXPECT_EQ(cell_text(calc, 0, SheetColumn::total_loss), "29475.2");
    EXPECT_EQ(loop_cell(calc, 0, LoopColumn::total), "29475.2");
}

TEST(CalcSheetModel, TheLoopSummarySaysWhatEachLoopIs) {
    // The worked sheet: loop 1 (segments 1 and 2) is the most unfavourable; loop 2 (1 and 3)
    // out of balance; 空 known and carried by no segment; 3's only segment shared with 1.
    SheetData data = worked_sheet().data();
    data.loops.push_back("空");
    data.rows[0].loops.push_back("3");
    CalcSheet sheet;
    sheet.reset(data);
    const auto row = [&](std::size_t loop) {
        std::vector<std::string> cells;
        for (const LoopColumnLayout& column : loop_columns) {
            cells.push_back(loop_cell(sheet, loop, column.column));
        }
        return cells;
    };
    // By hand: R 101.168 Pa/m and ρv²/2 53.2 Pa in every row. Segment 2: 30 × 101.168 +
    // 2 × 53.2 = 3141.5 Pa; segment 3: 8 × 101.168 + 106.4 = 915.8 Pa. Loop 1: 1956.4 +
    // 3141.5 = 5097.9 Pa; loop 2's imbalance (3141.5 − 915.8) / 3141.5 = 70.8 %.
    using Cells = std::vector<std::string>;
    EXPECT_EQ(row(0), (Cells{"1", "1,2", "5097.9", "最不利", "", "", ""}));
    EXPECT_EQ(row(1)[0], "2");
    EXPECT_EQ(row(1)[4], "70.8 超限");
    EXPECT_EQ(row(2), (Cells{"空", "", std::string(no_segments_note), "", "", "", ""}));
    EXPECT_EQ(row(3), (Cells{"3", "1", "1956.4", "", std::string(no_own_segments_note), "", ""}));
    // Under it, the head: 5097.9 Pa × 1.1 = 5607.69 Pa; 5607.7 / 9806.65 = 0.57 m 水柱. Without
    // a network the entrance's flow is not known.
    EXPECT_EQ(loop_notes(sheet), (Cells{"最不利环路 1 的阻力 5097.9 Pa，附加 10 % 后所需压头 "
                                        "5607.7 Pa = 5.61 kPa = 0.57 m 水柱。"}));
    EXPECT_EQ(loop_summary_title(sheet), loop_summary_heading("15"));
}

}  // namespace
}  // namespace kestrune::testing
