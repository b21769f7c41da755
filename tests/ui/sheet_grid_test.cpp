// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet from the keyboard: tables of key presses and what they leave.
#include "sheet_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "chinese_font.h"
#include "example_files.h"
#include "example_table.h"
#include "fitting_drive.h"
#include "messages.h"
#include "program_run.h"
#include "sheet_dialogs.h"
#include "sheet_file.h"
#include "sheet_layout.h"
#include "sheet_messages.h"

namespace kestrune::testing {
namespace {

const std::size_t segment = column_index(SheetColumn::segment),
                  length = column_index(SheetColumn::length), dn = column_index(SheetColumn::dn),
                  xi = column_index(SheetColumn::xi), loops = column_index(SheetColumn::loops),
                  note = column_index(SheetColumn::note);

KeyPress key(GridKey k, bool shift = false, bool ctrl = false) {
    return {k, shift, ctrl, {}};
}
KeyPress typed(std::string text) {
    return {GridKey::typed, false, false, std::move(text)};
}

// Three sizings at DN 20 of the example table, and the grid open on them.
class GridRun : public ProgramRun {
  public:
    GridRun() : ProgramRun(example_dn, example_d) {
        EXPECT_TRUE(start());
        for (const char* load : {"10000", "6000", "3000"}) {
            paste_load(load);
            toolkit.answer_input("20");
            click(ControlId::cmdok);
        }
        click(ControlId::cmdsheet);
    }
    void press(std::initializer_list<KeyPress> keys) {
        for (const KeyPress& k : keys) {
            grid.key(k);
        }
    }
    std::string cell(std::size_t row, std::size_t column) {
        return window.sheet().cell(row, sheet_columns[column].column);
    }
    void paste(std::string text) {
        toolkit.set_clipboard(std::move(text));
        grid.key(key(GridKey::paste, false, true));
    }
    SheetGrid& grid = window.grid();
};

TEST(SheetGrid, OpensOnTheNewestRowsLengthAndMovesLikeASpreadsheet) {
    GridRun run;
    EXPECT_EQ(run.grid.current(), (CellPosition{2, length}));
    struct Step {
        KeyPress press;
        CellPosition at;
    };
    const Step steps[] = {
        {key(GridKey::up), {1, length}},
        {key(GridKey::tab), {1, dn}},
        {key(GridKey::tab, true), {1, length}},
        {key(GridKey::enter), {2, length}},
        {key(GridKey::enter), {2, length}},
        {key(GridKey::enter, true), {1, length}},
        {key(GridKey::home), {1, segment}},
        {key(GridKey::end), {1, note}},
        {key(GridKey::home, false, true), {0, segment}},
        {key(GridKey::end, false, true), {2, note}},
        {key(GridKey::left), {2, loops}},
        {key(GridKey::up, true), {1, loops}},
    };
    for (const Step& step : steps) {
        run.grid.key(step.press);
        EXPECT_EQ(run.grid.current(), step.at) << static_cast<int>(step.press.key);
    }
    EXPECT_EQ(run.grid.anchor(), (CellPosition{2, loops}));  // shift extended the selection
}

TEST(SheetGrid, TypingReplacesEnterCommitsAndF2EditsWhatWasTyped) {
    GridRun run;
    run.press({key(GridKey::up, false), key(GridKey::up), typed("1"), typed("2"), typed(".5"),
               key(GridKey::enter)});
    EXPECT_EQ(run.cell(0, length), "12.5");
    EXPECT_EQ(run.grid.current(), (CellPosition{1, length}));
    EXPECT_FALSE(run.grid.editing());

    // F2 edits what was typed for Σξ, not its sum; Tab commits and moves right.
    run.press({key(GridKey::right, false), key(GridKey::right), key(GridKey::right),
               key(GridKey::right), key(GridKey::right), key(GridKey::right)});
    ASSERT_EQ(run.grid.current(), (CellPosition{1, xi}));
    run.press({typed("2×90°煨弯 + 截止阀"), key(GridKey::tab)});
    EXPECT_EQ(run.cell(1, xi), "13");
    run.press({key(GridKey::tab, true), key(GridKey::edit)});
    EXPECT_EQ(run.grid.edit_text(), "2×90°煨弯 + 截止阀");
    run.press({key(GridKey::escape)});
    // A read-only cell takes no typing.
    run.press({key(GridKey::home), key(GridKey::right), key(GridKey::right), key(GridKey::right)});
    ASSERT_EQ(run.grid.current().column, column_index(SheetColumn::load));
    run.press({typed("5")});
    EXPECT_FALSE(run.grid.editing());
}

TEST(SheetGrid, FittingsAreOfferedAsACodeIsTypedAndTakenByEnterTabOrAClick) {
    GridRun run;
    run.grid.click(2, xi, false);
    run.press({typed("2"), typed("w")});
    ASSERT_EQ(run.grid.offers().size(), 1u);
    EXPECT_EQ(run.grid.offers()[0].label, "90°煨弯  ξ 1.5  wt");
    run.press({typed("t"), typed("+"), typed("截")});
    ASSERT_EQ(run.grid.offers().size(), 2u);  // 截止阀, 斜杆截止阀
    run.press({key(GridKey::down)});
    EXPECT_EQ(run.grid.highlighted_offer(), 1u);
    EXPECT_TRUE(run.grid.editing());  // Down went to the offers, not to the next row
    run.press({key(GridKey::tab)});
    EXPECT_EQ(run.window.sheet().edit_text(2, SheetColumn::xi), "2×90°煨弯+斜杆截止阀");
    EXPECT_EQ(run.cell(2, xi), "6");
    EXPECT_EQ(run.grid.current(), (CellPosition{2, xi + 1}));

    // Escape hides the offers and keeps the entry; the next character brings them back.
    run.grid.click(1, xi, false);
    run.press({typed("j"), key(GridKey::escape)});
    EXPECT_TRUE(run.grid.offers().empty());
    EXPECT_TRUE(run.grid.editing());
    run.press({typed("z")});
    ASSERT_EQ(run.grid.offers().size(), 1u);
    // A click takes one and leaves the entry open for the next fitting.
    run.grid.take_offer(0);
    EXPECT_EQ(run.grid.edit_text(), "截止阀");
    EXPECT_TRUE(run.grid.offers().empty());
    run.press({typed("+"), typed("1"), key(GridKey::enter)});
    EXPECT_EQ(run.cell(1, xi), "11");
    // The cell's tip lists its fittings; other cells have none.
    EXPECT_EQ(run.grid.tip(1, xi), "截止阀 1 × 10 = 10；1；Σξ = 11");
    EXPECT_EQ(run.grid.tip(0, xi), "");
    EXPECT_EQ(run.grid.tip(1, length), "");
    EXPECT_EQ(run.grid.tip(9, xi), "");
    // F2 on what the cell holds offers nothing until something is typed; in other columns
    // nothing is offered.
    run.grid.click(1, xi, false);
    run.press({key(GridKey::edit)});
    EXPECT_TRUE(run.grid.offers().empty());
    run.press({key(GridKey::escape), key(GridKey::left), typed("j")});
    EXPECT_TRUE(run.grid.offers().empty());
}

TEST(SheetGrid, FourteenRowsOfFittingsTakeUnderAHundredKeys) {
    ProgramRun run(example_dn, example_d);
    ASSERT_TRUE(run.start());
    for (std::size_t i = 0; i < fourteen_rows.size(); ++i) {
        run.paste_load("3000");
        run.toolkit.answer_input("20");
        run.click(ControlId::cmdok);
    }
    run.click(ControlId::cmdsheet);
    SheetGrid& grid = run.window.grid();
    // From the newest row's length: to the first row, then along to Σξ.
    std::vector<KeyPress> keys{{GridKey::home, false, true, {}}};
    while (keys.size() <= xi) {
        keys.push_back({GridKey::right, false, false, {}});
    }
    std::size_t pressed = keys.size();
    for (const DrivenXi& row : fourteen_rows) {
        for (const char* c = row.keys; *c != '\0'; ++c) {
            keys.push_back({GridKey::typed, false, false, std::string(1, *c)});
        }
        keys.push_back({GridKey::enter, false, false, {}});
        pressed += keys_for(row);
    }
    for (const KeyPress& k : keys) {
        grid.key(k);
    }
    for (std::size_t r = 0; r < fourteen_rows.size(); ++r) {
        EXPECT_EQ(run.window.sheet().edit_text(r, SheetColumn::xi), fourteen_rows[r].kept) << r;
        EXPECT_EQ(run.window.sheet().cell(r, SheetColumn::xi), fourteen_rows[r].xi) << r;
    }
    EXPECT_LT(pressed, 100u);
}

TEST(SheetGrid, AfterAnExportTheMessageLineNamesTheFileAndOpenHandsItToTheSystem) {
    GridRun run;
    run.press({key(GridKey::open_export)});
    EXPECT_EQ(run.grid.message(), nothing_exported_yet());
    EXPECT_TRUE(run.toolkit.opened().empty());

    std::filesystem::path offered;
    run.toolkit.accept_offered_file(&offered);
    run.press({key(GridKey::export_workbook, false, true)});
    EXPECT_EQ(run.grid.message(), export_written(path_text(offered)));
    run.press({key(GridKey::open_export)});
    EXPECT_EQ(run.toolkit.opened(), std::vector<std::filesystem::path>{offered});

    // A system with no program for the type: said, the file as it was.
    run.toolkit.set_system_opens(false);
    run.press({key(GridKey::open_export)});
    EXPECT_EQ(run.grid.message(), export_not_opened(path_text(offered)));
    EXPECT_TRUE(std::filesystem::is_regular_file(offered));
    // A cancelled export leaves the last one to open.
    run.toolkit.save_as(std::nullopt);
    run.press({key(GridKey::export_workbook, false, true)});
    run.toolkit.set_system_opens(true);
    run.press({key(GridKey::open_export)});
    EXPECT_EQ(run.toolkit.opened().back(), offered);
    EXPECT_EQ(run.toolkit.still_expected(), 0u);
}

TEST(SheetGrid, CtrlPPrintsTheCalculationsPagesOrSaysWhyNot) {
    if (!chinese_font()) {
        GTEST_SKIP() << "no Chinese font here: the 计算书 is refused, as the export tests show";
    }
    GridRun run;
    run.press({key(GridKey::print_report)});
    ASSERT_EQ(run.toolkit.printed().size(), 1u);
    const PaperReport& paper = run.toolkit.printed()[0];
    ASSERT_FALSE(paper.pages.empty());
    EXPECT_EQ(paper.pages[0].marks[0].text, "室内供暖系统水力计算书");
    EXPECT_EQ(run.toolkit.print_titles()[0],
              "计算书 " + path_text(std::filesystem::current_path().filename()));
    EXPECT_EQ(run.grid.message(), report_printed(paper.pages.size()));
    // Refused by the printer, or cancelled in the dialog: said, or nothing said.
    run.toolkit.set_print_outcome(PrintOutcome::failed);
    run.press({key(GridKey::print_report)});
    EXPECT_EQ(run.grid.message(), report_not_printed());
    run.toolkit.set_print_outcome(PrintOutcome::cancelled);
    run.press({key(GridKey::print_report)});
    EXPECT_EQ(run.grid.message(), "");
    EXPECT_EQ(run.toolkit.printed().size(), 3u);
}

TEST(SheetGrid, TheTableOfFittingsIsShownEditedInTheWorkingFolderAndReadAgain) {
    GridRun run;
    ASSERT_FALSE(std::filesystem::exists(fitting_table_file));
    std::string shown;
    run.toolkit.click_button(std::string(edit_fittings_caption), &shown);
    run.press({key(GridKey::fittings)});
    EXPECT_NE(shown.find("局部阻力系数表："), std::string::npos) << shown;
    EXPECT_NE(shown.find("  截止阀  ξ DN15 16、DN20 10、DN25 9、DN32 9、DN40 8、DN50 及以上 7  "
                         "别名 截至阀 jzf\n"),
              std::string::npos)
        << shown;
    // The working folder's own copy of the table in use, handed to the system's editor.
    const std::filesystem::path own = std::filesystem::absolute(fitting_table_file);
    EXPECT_EQ(read_bytes(fitting_table_file), example_file(fitting_table_file));
    EXPECT_EQ(run.toolkit.opened(), std::vector<std::filesystem::path>{own});
    EXPECT_EQ(run.grid.message(), fittings_being_edited(path_text(own)));

    run.grid.click(0, xi, false);
    run.press({typed("jzf"), key(GridKey::enter)});
    run.grid.click(2, xi, false);
    run.press({typed("wt+1"), key(GridKey::enter)});
    ASSERT_EQ(run.cell(0, xi), "10");  // 截止阀 at DN 20, as shipped

    // Edited and read again: the Σξ given by fittings follow the new table in one step, one
    // naming a fitting the table lost keeps its value; the new fitting answers to its code;
    // the copy is not made anew.
    write_bytes(fitting_table_file, "截止阀 | 7 | 手册 | jzf\n蝶阀 | 0.5 | 手册 | df\n");
    run.toolkit.click_button(std::string(reread_fittings_caption));
    run.press({key(GridKey::fittings)});
    EXPECT_EQ(run.grid.message(), fittings_reread(2, {"1"}, {"3"}));
    EXPECT_EQ(run.cell(0, xi), "7");
    EXPECT_EQ(run.cell(2, xi), "2.5");
    run.press({key(GridKey::undo, false, true)});
    EXPECT_EQ(run.cell(0, xi), "10");
    run.press({key(GridKey::redo, false, true)});
    EXPECT_EQ(run.cell(0, xi), "7");
    run.grid.click(1, xi, false);
    run.press({typed("2df+j"), key(GridKey::enter)});
    EXPECT_EQ(run.window.sheet().edit_text(1, SheetColumn::xi), "2×蝶阀+截止阀");
    EXPECT_EQ(run.cell(1, xi), "8");
    run.toolkit.click_button(std::string(close_caption));
    run.press({key(GridKey::fittings)});
    EXPECT_EQ(run.toolkit.opened().size(), 1u);
    EXPECT_EQ(read_bytes(fitting_table_file), "截止阀 | 7 | 手册 | jzf\n蝶阀 | 0.5 | 手册 | df\n");
    EXPECT_EQ(run.toolkit.still_expected(), 0u);
}

TEST(SheetGrid, AFolderWhereTheTableOfFittingsShouldBeIsSaidAndNotOpened) {
    GridRun run;
    std::filesystem::create_directory(fitting_table_file);
    run.toolkit.click_button(std::string(edit_fittings_caption));
    run.press({key(GridKey::fittings)});
    EXPECT_EQ(run.grid.message().rfind("无法编辑“", 0), 0u) << run.grid.message();
    EXPECT_TRUE(run.toolkit.opened().empty());
    EXPECT_TRUE(std::filesystem::is_directory(fitting_table_file));
}

TEST(SheetGrid, DeleteClearsTheEditableCellsUndoAndRedoAndRowsMove) {
    GridRun run;
    run.press({key(GridKey::up), key(GridKey::up), typed("7"), key(GridKey::tab)});
    run.press({key(GridKey::tab, true), key(GridKey::right, true), key(GridKey::right, true),
               key(GridKey::clear)});
    EXPECT_EQ(run.cell(0, length), "0");
    EXPECT_EQ(run.cell(0, dn), "20");  // a pipe stays sized
    run.press({key(GridKey::undo, false, true)});
    EXPECT_EQ(run.cell(0, length), "7");
    run.press({key(GridKey::redo, false, true)});
    EXPECT_EQ(run.cell(0, length), "0");

    run.press({key(GridKey::home), key(GridKey::move_row_down)});
    EXPECT_EQ(run.cell(1, segment), "1");
    EXPECT_EQ(run.grid.current().row, 1u);
    run.press({key(GridKey::move_row_up)});
    EXPECT_EQ(run.cell(0, segment), "1");
}

TEST(SheetGrid, RowsAreDeletedOnlyAfterAQuestionThatNamesThem) {
    GridRun run;
    std::string question;
    run.press({key(GridKey::up, true)});
    run.toolkit.click_button("取消", &question);
    run.press({key(GridKey::delete_rows, false, true)});
    EXPECT_EQ(question, "删除管段 2、3？它们记入结果文件的行不会改动。");
    EXPECT_EQ(run.toolkit.last_buttons().at(run.toolkit.last_default()), "取消");
    EXPECT_EQ(run.window.sheet().rows(), 3u);
    run.toolkit.click_button("删除");
    run.press({key(GridKey::delete_rows, false, true)});
    EXPECT_EQ(run.window.sheet().rows(), 1u);
    EXPECT_EQ(run.grid.current().row, 0u);
}

TEST(SheetGrid, CopiesTabSeparatedWithTheHeaderForWholeRows) {
    GridRun run;
    run.press({key(GridKey::up), key(GridKey::up), key(GridKey::select_rows, true),
               key(GridKey::copy, false, true)});
    const std::string whole = run.toolkit.clipboard();
    EXPECT_EQ(whole.rfind("管段号\t上游\t用户负荷 Q用户\t热负荷 Q\t流量 G\t管长 L\t", 0), 0u)
        << whole;
    EXPECT_NE(whole.find("\r\n\t\tW\tW\tkg/h\tm\t"), std::string::npos);
    EXPECT_NE(whole.find("\r\n1\t\t10000\t12000\t412.71\t0\t20\t21.25\t0.329\t101.17\t"),
              std::string::npos);
    run.grid.open();
    run.press({key(GridKey::up, true), key(GridKey::right, true)});
    EXPECT_EQ(run.grid.copied_text(), "0\t20\r\n0\t20\r\n");
}

TEST(SheetGrid, PastesABlockByTheOneReadingRuleOrRefusesItWhole) {
    GridRun run;
    run.press({key(GridKey::up), key(GridKey::up)});
    // A block longer than the sheet brings its rows, numbered on; one undo takes them back.
    run.paste("1\r\n2\r\n3\r\n4\r\n");
    ASSERT_EQ(run.window.sheet().rows(), 4u);
    EXPECT_EQ(run.cell(3, segment), "4");
    EXPECT_EQ(run.cell(3, length), "4");
    EXPECT_EQ(run.cell(3, dn), "");
    run.press({key(GridKey::undo, false, true)});
    EXPECT_EQ(run.window.sheet().rows(), 3u);
    EXPECT_EQ(run.cell(0, length), "0");
    // One wider than what is left to the right is not pasted.
    run.press({key(GridKey::end), key(GridKey::left)});
    run.paste("a\tb\tc\r\n");
    EXPECT_EQ(run.grid.message(),
              "要粘贴的是 1 行 3 列，从当前格往下只有 3 行、往右只有 2 列，没有粘贴。");
    run.press({key(GridKey::home), key(GridKey::right), key(GridKey::right), key(GridKey::right),
               key(GridKey::right), key(GridKey::right)});
    ASSERT_EQ(run.grid.current().column, length);
    run.paste("12.5\r\n8 m\r\n3,5\r\n");
    // The third value is refused (a comma for a point): nothing of the block stays.
    EXPECT_EQ(run.grid.message(), length_refused("3,5"));
    EXPECT_EQ(run.cell(0, length), "0");
    run.paste("12.5\r\n8 m\r\n3.5");
    EXPECT_EQ(run.grid.message(), "");
    EXPECT_EQ(run.cell(0, length), "12.5");
    EXPECT_EQ(run.cell(1, length), "8");
    EXPECT_EQ(run.cell(2, length), "3.5");
    run.press({key(GridKey::right), key(GridKey::right)});
    run.paste("1");
    EXPECT_EQ(run.grid.message(), "“内径 d”一列由程序计算，不能粘贴，没有粘贴。");
}

TEST(SheetGrid, ARefusedPasteAfterAnUnchangedFirstValueLeavesTheEarlierEditInPlace) {
    GridRun run;
    run.press({key(GridKey::up), typed("9.1"), key(GridKey::enter)});
    ASSERT_EQ(run.cell(1, length), "9.1");
    // Row 1's length already reads 0: the block's first value changes nothing.
    run.press({key(GridKey::up), key(GridKey::up)});
    run.paste("0\r\n-1\r\n");
    EXPECT_EQ(run.grid.message(), length_refused("-1"));
    EXPECT_EQ(run.cell(0, length), "0");
    EXPECT_EQ(run.cell(1, length), "9.1");
}

TEST(SheetGrid, ARefusedBlockChangesNeitherTheSheetNorItsFileNorTheLog) {
    GridRun run;
    for (int more = 0; more < 72; ++more) {
        run.paste_load("4000");
        run.toolkit.answer_input("20");
        run.click(ControlId::cmdok);
    }
    ASSERT_EQ(run.window.sheet().rows(), 75u);
    const std::string sheet_before = read_bytes(std::string(sheet_file_name));
    const std::string log_before = run.log();
    const SheetData data_before = run.window.sheet().sheet().data();
    // 75 rows of a length and a DN, 150 cells: every DN but the last would re-size its row.
    std::string block;
    for (int row = 0; row < 75; ++row) {
        block += std::to_string(row) + ".5\t" + (row < 74 ? "25" : "-1") + "\r\n";
    }
    run.press({key(GridKey::home, false, true)});
    while (run.grid.current().column < length) {
        run.press({key(GridKey::right)});
    }
    run.paste(block);
    EXPECT_EQ(run.grid.message(),
              dn_refused("-1", DiameterRefusal{true, -1}, run.window.state().pipes));
    EXPECT_EQ(run.window.sheet().sheet().data(), data_before);
    EXPECT_EQ(read_bytes(std::string(sheet_file_name)), sheet_before);
    EXPECT_EQ(run.log(), log_before);
}

TEST(SheetGrid, OneUndoTakesBackAWholePasteAndAWholeDelete) {
    GridRun run;
    run.press({key(GridKey::up), key(GridKey::up)});
    run.paste("1.5\r\n2.5\r\n3.5\r\n");
    ASSERT_EQ(run.grid.message(), "");
    const std::string log_before = run.log();
    run.paste("1\t25\r\n2\t25\r\n3\t25\r\n");
    EXPECT_EQ(run.cell(2, dn), "25");
    // The re-sizings taken are logged, once each.
    const std::string log_after = run.log();
    EXPECT_EQ(std::count(log_after.begin(), log_after.end(), '\n') -
                  std::count(log_before.begin(), log_before.end(), '\n'),
              3);
    run.press({key(GridKey::undo, false, true)});
    for (std::size_t row = 0; row < 3; ++row) {
        EXPECT_EQ(run.cell(row, dn), "20");
    }
    EXPECT_EQ(run.cell(0, length), "1.5");
    EXPECT_EQ(run.cell(2, length), "3.5");
    run.press({key(GridKey::right, true), key(GridKey::down, true), key(GridKey::down, true),
               key(GridKey::clear)});
    EXPECT_EQ(run.cell(0, length), "0");
    EXPECT_EQ(run.cell(2, length), "0");
    run.press({key(GridKey::undo, false, true)});
    EXPECT_EQ(run.cell(0, length), "1.5");
    EXPECT_EQ(run.cell(1, length), "2.5");
    EXPECT_EQ(run.cell(2, length), "3.5");
}

}  // namespace
}  // namespace kestrune::testing
