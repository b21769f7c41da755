// SPDX-License-Identifier: GPL-3.0-or-later
// A small two-pipe system typed into an empty sheet from the keyboard: its rows added with
// Ctrl+Enter, its network in 上游 and 用户负荷, its pipes chosen with Ctrl+D.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "example_table.h"
#include "pipe_preview.h"
#include "program_run.h"
#include "sheet_file.h"
#include "sheet_grid.h"
#include "sheet_messages.h"

namespace kestrune::testing {
namespace {

KeyPress key(GridKey k, bool shift = false, bool ctrl = false) {
    return {k, shift, ctrl, {}};
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The program on the example pipe table, its sheet open and empty.
struct SheetRun : ProgramRun {
    SheetRun() : ProgramRun(example_dn, example_d) {
        EXPECT_TRUE(start());
        click(ControlId::cmdsheet);
    }
};

// Supply main 1, risers 2 and 3, radiators 4 to 7, their returns 8 and 9, return main 10:
// 上游 and 用户负荷 of each, and the load each carries, summed by hand.
struct TypedRow {
    const char* upstream;
    const char* consumer;
    const char* carried;  // W
};
const TypedRow small_system[] = {
    {"", "", "6500"},      {"1", "", "3500"},     {"1", "", "3000"},     {"2", "1500", "1500"},
    {"2", "2000", "2000"}, {"3", "1200", "1200"}, {"3", "1800", "1800"}, {"4 5", "", "3500"},
    {"6 7", "", "3000"},   {"8 9", "", "6500"},
};

// The whole list pasted in one Ctrl+V from 上游 on, as an engineer pastes it from a spreadsheet.
void paste_small_system(SheetRun& run) {
    SheetGrid& grid = run.window.grid();
    std::string block;
    for (const TypedRow& row : small_system) {
        block += std::string(row.upstream) + "\t" + row.consumer + "\r\n";
    }
    grid.key(key(GridKey::home));
    grid.key(key(GridKey::right));
    run.toolkit.set_clipboard(block);
    grid.key(key(GridKey::paste, false, true));
}

// What the main window logs for a load typed there and the DN its list recommends (推荐).
std::vector<std::string> main_window_logs() {
    ProgramRun run(example_dn, example_d);
    EXPECT_TRUE(run.start());
    for (const TypedRow& row : small_system) {
        run.paste_load(row.carried);
        const auto preview = preview_table(run.state());
        std::string dn;
        for (std::size_t k = 0; preview && k < pipe_rows; ++k) {
            if ((*preview)[k] && (*preview)[k]->mark == PreviewMark::suggested) {
                dn = std::to_string(run.state().pipes[k].dn);
            }
        }
        run.toolkit.answer_input(dn);
        run.click(ControlId::cmdok);
    }
    return lines_of(run.log());
}

TEST(SheetNetworkDrive, ASystemTypedFromTheKeyboardIsSizedAsTheMainWindowSizesEachSum) {
    const std::vector<std::string> expected = main_window_logs();
    ASSERT_EQ(expected.size(), 1 + std::size(small_system));  // the header, then the rows

    SheetRun run;
    SheetGrid& grid = run.window.grid();
    const auto type = [&](const std::string& text) {
        if (!text.empty()) {
            grid.key({GridKey::typed, false, false, text});
        }
    };
    grid.key(key(GridKey::enter, false, true));  // the first row, in an empty sheet
    grid.key(key(GridKey::home));
    grid.key(key(GridKey::right));  // 上游
    for (std::size_t i = 0; i < std::size(small_system); ++i) {
        type(small_system[i].upstream);
        grid.key(key(GridKey::tab));
        type(small_system[i].consumer);
        if (i + 1 < std::size(small_system)) {
            grid.key(key(GridKey::enter, false, true));  // commits, and a row below
            grid.key(key(GridKey::tab, true));
        } else {
            grid.key(key(GridKey::enter));
        }
    }
    const frmsheet& sheet = run.window.sheet();
    ASSERT_EQ(sheet.rows(), std::size(small_system));
    EXPECT_EQ(sheet.cell(9, SheetColumn::segment), "10");
    EXPECT_EQ(sheet.cell(9, SheetColumn::upstream), "8 9");
    EXPECT_EQ(run.log(), header_bytes());  // flows, but no pipe yet: nothing sized or logged
    EXPECT_EQ(sheet.cell(0, SheetColumn::load), "7800");
    EXPECT_EQ(sheet.cell(0, SheetColumn::loops), "4 5 6 7");
    EXPECT_EQ(sheet.cell(7, SheetColumn::loops), "4 5");

    // The loops are found, not typed.
    grid.key(key(GridKey::end));
    grid.key(key(GridKey::left));
    grid.key({GridKey::typed, false, false, "9"});
    EXPECT_FALSE(grid.editing());

    grid.key(key(GridKey::choose_pipes, false, true));
    EXPECT_EQ(grid.message(),
              pipes_chosen_note(std::vector<PipeChoice>(10, PipeChoice{0, 0, 1, true}),
                                sheet.sheet().data().rows));
    EXPECT_EQ(lines_of(run.log()), expected);
    // Nothing left to choose: nothing logged again; one undo takes the whole choice back.
    grid.key(key(GridKey::choose_pipes, false, true));
    EXPECT_EQ(lines_of(run.log()), expected);
    grid.key(key(GridKey::undo, false, true));
    EXPECT_EQ(sheet.cell(0, SheetColumn::dn), "");
    EXPECT_EQ(sheet.cell(0, SheetColumn::load), "7800");
}

TEST(SheetNetworkDrive, ARadiatorChangedReSizesAndLogsEverySegmentItsWaterPasses) {
    SheetRun run;
    SheetGrid& grid = run.window.grid();
    paste_small_system(run);  // into the empty sheet
    ASSERT_EQ(run.window.sheet().rows(), 10u);
    grid.key(key(GridKey::choose_pipes, false, true));
    const std::size_t logged = lines_of(run.log()).size();
    ASSERT_EQ(logged, 11u);

    // Radiator 4 (row 4) from 1500 W to 2500 W: it, riser 2, return 8 and both mains.
    const frmsheet& sheet = run.window.sheet();
    grid.click(3, column_index(SheetColumn::consumer), false);
    grid.key({GridKey::typed, false, false, "2500"});
    grid.key(key(GridKey::enter));
    EXPECT_EQ(sheet.cell(0, SheetColumn::load), "9000");
    const auto log = lines_of(run.log());
    ASSERT_EQ(log.size(), logged + 5);
    // In row order: main 1, riser 2, radiator 4, return 8, return main 10.
    // Its user load and design load lead each row.
    const char* loads[] = {"7500 9000", "4500 5400", "2500 3000", "4500 5400", "7500 9000"};
    for (std::size_t i = 0; i < 5; ++i) {
        std::istringstream fields(log[logged + i]);
        std::string user, design;
        fields >> user >> design;
        EXPECT_EQ(user + " " + design, loads[i]) << log[logged + i];
    }
}

TEST(SheetNetworkDrive, TheSketchHasRoomOnlyForANetworkAndMarksTheCurrentRow) {
    SheetRun run;
    SheetGrid& grid = run.window.grid();
    EXPECT_FALSE(grid.sketch().room);
    EXPECT_EQ(grid.sketch().current, std::nullopt);
    grid.key(key(GridKey::enter, false, true));
    EXPECT_FALSE(grid.sketch().room);  // a row, but no 上游 yet
    EXPECT_EQ(grid.sketch().sketch.note, no_sketch_note);
    paste_small_system(run);
    grid.click(6, column_index(SheetColumn::length), false);
    const SketchShown shown = grid.sketch();
    EXPECT_TRUE(shown.room);
    EXPECT_EQ(shown.current, 6u);
    EXPECT_TRUE(shown.sketch.note.empty());
    EXPECT_EQ(shown.sketch.segments.size(), 10u);
}

TEST(SheetNetworkDrive, TheLimitsAreAskedUntilTakenAndKeptWithTheSheet) {
    SheetRun run;
    SheetGrid& grid = run.window.grid();
    std::string told;
    run.toolkit.answer_input("0");
    run.toolkit.expect_message(&told);
    run.toolkit.answer_input("80 Pa/m");
    grid.key(key(GridKey::set_resistance_limit));
    EXPECT_EQ(told, resistance_limit_refused("0"));
    EXPECT_EQ(run.window.sheet().sheet().data().resistance_limit, 80.0f);
    run.toolkit.answer_input("25000");
    grid.key(key(GridKey::set_available_pressure));
    EXPECT_EQ(run.window.sheet().sheet().data().available_pressure, 25000.0);
    const std::string file = read_bytes(std::string(sheet_file_name));
    EXPECT_NE(file.find("比摩阻上限\t80\n入口资用压力\t25000\n"), std::string::npos) << file;
    run.toolkit.answer_input(" ");  // blank: not given
    grid.key(key(GridKey::set_available_pressure));
    EXPECT_FALSE(run.window.sheet().sheet().data().available_pressure.has_value());
    grid.key(key(GridKey::undo, false, true));
    EXPECT_EQ(run.window.sheet().sheet().data().available_pressure, 25000.0);
}

TEST(SheetNetworkDrive, AFaultIsSaidAtOnceAndNoPipeIsChosenWhileItStands) {
    SheetRun run;
    SheetGrid& grid = run.window.grid();
    grid.key(key(GridKey::enter, false, true));
    grid.key(key(GridKey::home));
    grid.key(key(GridKey::right));
    run.toolkit.set_clipboard("\t\r\n1\t2000\r\n2 12\t\r\n");  // 12 is not there
    grid.key(key(GridKey::paste, false, true));
    const frmsheet& sheet = run.window.sheet();
    ASSERT_EQ(sheet.rows(), 3u);
    const auto faults = network_fault_notes(sheet.sheet().network(), sheet.sheet().data().rows);
    ASSERT_EQ(faults.front(), "管段 3 的上游 12 不存在。");
    EXPECT_EQ(grid.message(), faults.front() + " " + std::string(network_held_note));
    EXPECT_EQ(sheet.cell(1, SheetColumn::load), "0");  // nothing derived
    grid.key(key(GridKey::choose_pipes, false, true));
    EXPECT_EQ(grid.message(),
              faults.front() + std::string(network_held_note) + std::string(network_first_note));
    EXPECT_EQ(sheet.cell(1, SheetColumn::dn), "");
    EXPECT_EQ(run.log(), header_bytes());

    // Mended, the loads follow at once.
    grid.click(2, column_index(SheetColumn::upstream), false);
    grid.key({GridKey::typed, false, false, "2"});
    grid.key(key(GridKey::enter));
    EXPECT_EQ(grid.message(), "");
    EXPECT_EQ(sheet.cell(0, SheetColumn::load), "2400");
}

}  // namespace
}  // namespace kestrune::testing
