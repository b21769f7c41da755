// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet as the engineer fills it: rows from sizings, lengths, fittings,
// loops, a new DN, undo and redo, and the file that keeps it across a restart.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "chinese_font.h"
#include "design_steps.h"
#include "example_table.h"
#include "file_error.h"
#include "messages.h"
#include "number_text.h"
#include "program_run.h"
#include "sheet_dialogs.h"
#include "sheet_file.h"
#include "sheet_messages.h"

namespace kestrune::testing {
namespace {

// A run on the example table (DN 20 has 21.25 mm) with the shipped coefficient table.
class SheetRun : public ProgramRun {
  public:
    SheetRun() : ProgramRun(example_dn, example_d) {
        std::filesystem::copy_file(std::filesystem::path(KESTRUNE_EXAMPLES) / "fittings.txt",
                                   "fittings.txt");
    }
    // A sizing of the load, with the DN answered.
    void size(std::string_view load, std::string dn) {
        paste_load(load);
        toolkit.answer_input(std::move(dn));
        click(ControlId::cmdok);
    }
    frmsheet& sheet() { return window.sheet(); }
    EditOutcome edit(std::size_t row, SheetColumn column, std::string_view entry) {
        return sheet().edit(row, column, entry, state().pipes);
    }
    std::string cell(std::size_t row, SheetColumn column) { return sheet().cell(row, column); }
};

TEST(CalcSheet, EachSizingAddsItsRowAsLogged) {
    SheetRun run;
    ASSERT_TRUE(run.start());
    run.size("10000", "20");
    run.size("5000", "15");
    ASSERT_EQ(run.sheet().rows(), 2u);
    const std::pair<SheetColumn, const char*> first[] = {{SheetColumn::segment, "1"},
                                                         {SheetColumn::load, "12000"},
                                                         {SheetColumn::flow, "412.71"},
                                                         {SheetColumn::length, "0"},
                                                         {SheetColumn::dn, "20"},
                                                         {SheetColumn::inner_diameter, "21.25"},
                                                         {SheetColumn::velocity, "0.329"},
                                                         {SheetColumn::resistance, "101.17"},
                                                         {SheetColumn::friction_loss, "0.0"},
                                                         {SheetColumn::xi, "0"},
                                                         {SheetColumn::total_loss, "0.0"},
                                                         {SheetColumn::loops, ""}};
    for (const auto& [column, text] : first) {
        EXPECT_EQ(run.cell(0, column), text) << column_layout(column).header;
    }
    EXPECT_EQ(run.cell(1, SheetColumn::segment), "2");
    EXPECT_EQ(run.cell(1, SheetColumn::dn), "15");
    // The log is exactly as before, and the sheet is on the disk.
    EXPECT_EQ(run.log(), header_bytes() + row_bytes(10000, 12000, 412.71f, 20, 0.329f, 101.17f) +
                             file_line(result_values(run.state())));
    EXPECT_EQ(load_sheet(std::string(sheet_file_name)).value().sheet, run.sheet().sheet().data());
}

TEST(CalcSheet, TheWorkedRowFromLengthAndFittings) {
    // 10000 W, margin 1.2, defaults, DN 20: L 12.5 m, 2 × 90° 煨弯 + 1 截止阀 (Σξ 13).
    SheetRun run;
    ASSERT_TRUE(run.start());
    run.size("10000", "20");
    EXPECT_TRUE(run.edit(0, SheetColumn::length, "12.5").accepted);
    EXPECT_TRUE(run.edit(0, SheetColumn::xi, "2×90°煨弯 + 截止阀").accepted);
    EXPECT_EQ(run.cell(0, SheetColumn::friction_loss), "1264.6");
    EXPECT_EQ(run.cell(0, SheetColumn::xi), "13");
    EXPECT_EQ(run.sheet().edit_text(0, SheetColumn::xi), "2×90°煨弯 + 截止阀");
    EXPECT_EQ(run.cell(0, SheetColumn::dynamic_pressure), "53.2");
    EXPECT_EQ(run.cell(0, SheetColumn::local_loss), "691.8");
    EXPECT_EQ(run.cell(0, SheetColumn::total_loss), "1956.4");
    // A number typed for Σξ stands as it is.
    EXPECT_TRUE(run.edit(0, SheetColumn::xi, "3.5").accepted);
    EXPECT_EQ(run.cell(0, SheetColumn::xi), "3.5");
}

TEST(CalcSheet, RefusedEntriesSayWhyAndLeaveTheRowAsItWas) {
    SheetRun run;
    ASSERT_TRUE(run.start());
    run.size("10000", "20");
    ASSERT_TRUE(run.edit(0, SheetColumn::length, "12.5").accepted);
    ASSERT_TRUE(run.edit(0, SheetColumn::xi, "13").accepted);
    const SheetRow before = run.sheet().sheet().data().rows[0];
    const std::string log = run.log();
    struct Case {
        SheetColumn column;
        const char* entry;
        std::string reason;
    };
    const Case cases[] = {
        {SheetColumn::length, "-3",
         "管长“-3”不行：须是不小于 0 的数（m），用半角数字和小数点写，如 12.5。"},
        {SheetColumn::length, "abc",
         "管长“abc”不行：须是不小于 0 的数（m），用半角数字和小数点写，如 12.5。"},
        {SheetColumn::length, "12,5",
         "管长“12,5”不行：须是不小于 0 的数（m），用半角数字和小数点写，如 12.5。"},
        {SheetColumn::xi, "2×蝶阀",
         "局部阻力系数表（工作目录中的 fittings.txt）中没有管件“蝶阀”。"},
        {SheetColumn::xi, "闸阀", "局部阻力系数表中管件“闸阀”没有 DN20 的系数。"},
        // The sheet's own words, not the diameter box's (which asks for 确定 again).
        {SheetColumn::dn, "99",
         "管道表中没有公称直径 99，这一行没有改动。请写管道表中的公称直径：15 20 25 32 40 50 70 "
         "80 100 125 150。"},
        {SheetColumn::dn, "40000",
         "公称直径“40000”超出范围，这一行没有改动。请写管道表中的公称直径：15 20 25 32 40 50 70 "
         "80 100 125 150。"},
    };
    for (const Case& c : cases) {
        const EditOutcome outcome = run.edit(0, c.column, c.entry);
        EXPECT_FALSE(outcome.accepted) << c.entry;
        EXPECT_EQ(outcome.message, c.reason) << c.entry;
        EXPECT_EQ(run.sheet().sheet().data().rows[0], before) << c.entry;
    }
    EXPECT_EQ(run.log(), log);
    // Read-only columns take nothing.
    EXPECT_FALSE(run.edit(0, SheetColumn::velocity, "1").accepted);
    EXPECT_TRUE(run.edit(0, SheetColumn::length, "12.5 m").accepted);
}

TEST(CalcSheet, ANewDnResizesTheRowWithItsOwnFlowAndLogsIt) {
    // State: a row sized at DN 20 with 2 × 90° 煨弯 + 截止阀; then the density changed in the
    // main window. Action: DN 25 typed in the row. Expected: sized again with the row's own
    // density, logged as one more row, no results window; Σξ for DN 25 (2 × 1.0 + 9).
    SheetRun run;
    ASSERT_TRUE(run.start());
    run.size("10000", "20");
    ASSERT_TRUE(run.edit(0, SheetColumn::xi, "2×90°煨弯 + 截止阀").accepted);
    run.toolkit.answer_input("900");
    run.click(ControlId::cmdset1);
    const int results_shown = run.results().times_shown;
    const std::string log = run.log();

    const EditOutcome outcome = run.edit(0, SheetColumn::dn, "25");
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.message, "");
    // By hand, with the row's 983.25 kg/m³ (not the 900 now set): v = 412.71 / (3600 ×
    // 983.25 × π/4 × 0.027²) = 0.204 m/s; R = λ/d × ρv²/2 = 0.0394 / 0.027 × 20.46 = 29.86 Pa/m.
    EXPECT_EQ(run.cell(0, SheetColumn::dn), "25");
    EXPECT_EQ(run.cell(0, SheetColumn::inner_diameter), "27");
    EXPECT_EQ(run.cell(0, SheetColumn::velocity), "0.204");
    EXPECT_EQ(run.cell(0, SheetColumn::resistance), "29.86");
    EXPECT_EQ(run.cell(0, SheetColumn::xi), "11");
    EXPECT_EQ(run.log(), log + row_bytes(10000, 12000, 412.71f, 25, 0.204f, 29.86f));
    EXPECT_EQ(run.results().times_shown, results_shown);

    // A DN for which a fitting has no value: sized all the same, Σξ kept, and said.
    ASSERT_TRUE(run.edit(0, SheetColumn::xi, "闸阀").accepted);
    const EditOutcome narrow = run.edit(0, SheetColumn::dn, "20");
    EXPECT_TRUE(narrow.accepted);
    EXPECT_EQ(narrow.message, "局部阻力系数表中管件“闸阀”没有 DN20 的系数。Σξ 仍为 0.5。");
    EXPECT_EQ(run.cell(0, SheetColumn::xi), "0.5");
    EXPECT_EQ(run.cell(0, SheetColumn::dn), "20");
}

TEST(CalcSheet, LoopsAreBalancedAgainstTheMostUnfavourable) {
    SheetRun run;
    ASSERT_TRUE(run.start());
    for (const char* load : {"10000", "6000", "3000"}) {
        run.size(load, "20");
    }
    ASSERT_TRUE(run.edit(0, SheetColumn::length, "10").accepted);
    ASSERT_TRUE(run.edit(1, SheetColumn::length, "20").accepted);
    ASSERT_TRUE(run.edit(2, SheetColumn::length, "20").accepted);
    ASSERT_TRUE(run.edit(0, SheetColumn::loops, "1 2").accepted);
    ASSERT_TRUE(run.edit(1, SheetColumn::loops, "1").accepted);
    ASSERT_EQ(run.sheet().loops(), 2u);
    EXPECT_EQ(run.sheet().loop_cell(0, LoopColumn::critical), "最不利");
    EXPECT_EQ(run.sheet().loop_cell(0, LoopColumn::segments), "1,2");
    EXPECT_EQ(run.sheet().loop_cell(1, LoopColumn::imbalance), "无独立管段");
    EXPECT_EQ(run.sheet().loop_notes().back(), "管段 3 不属于任何环路。");

    ASSERT_TRUE(run.edit(2, SheetColumn::loops, "2").accepted);
    EXPECT_EQ(run.sheet().loop_notes().size(), 1u);  // the head alone
    // By hand: segment 1 10 m × 101.17 = 1011.7 Pa; segment 2 (247.63 kg/h) 769.2 Pa and
    // segment 3 (123.82 kg/h) 211.0 Pa over 20 m. Loop 1: 1780.9 Pa, the most unfavourable;
    // loop 2: 1222.7 Pa, own segments 769.2 against 211.0: (769.2 − 211.0) / 769.2 = 72.6 %,
    // 558.2 Pa to absorb, Kv = 123.82 / 983.25 / √(558.2 / 100000) = 1.69.
    EXPECT_EQ(run.sheet().loop_cell(0, LoopColumn::total), "1780.9");
    EXPECT_EQ(run.sheet().loop_cell(1, LoopColumn::total), "1222.7");
    EXPECT_EQ(run.sheet().loop_cell(1, LoopColumn::imbalance), "72.6 超限");
    EXPECT_EQ(run.sheet().loop_cell(1, LoopColumn::surplus), "558.2");
    EXPECT_EQ(run.sheet().loop_cell(1, LoopColumn::kv), "1.69");
}

TEST(CalcSheet, UndoAndRedoWalkTheEditsBackAndForth) {
    SheetRun run;
    ASSERT_TRUE(run.start());
    run.size("10000", "20");
    const SheetData sized = run.sheet().sheet().data();
    for (int i = 1; i <= 60; ++i) {
        ASSERT_TRUE(run.edit(0, SheetColumn::length, std::to_string(i)).accepted);
    }
    for (int i = 59; i >= 1; --i) {
        ASSERT_TRUE(run.sheet().undo());
        ASSERT_EQ(run.cell(0, SheetColumn::length), std::to_string(i));
    }
    ASSERT_TRUE(run.sheet().undo());
    EXPECT_EQ(run.sheet().sheet().data(), sized);
    ASSERT_TRUE(run.sheet().redo());
    ASSERT_TRUE(run.sheet().redo());
    EXPECT_EQ(run.cell(0, SheetColumn::length), "2");
    // Each step is on the disk as well.
    EXPECT_EQ(load_sheet(std::string(sheet_file_name)).value().sheet, run.sheet().sheet().data());
    // A new edit ends the redo.
    ASSERT_TRUE(run.edit(0, SheetColumn::note, "立管").accepted);
    EXPECT_FALSE(run.sheet().redo());
}

TEST(CalcSheet, ARestartRestoresTheSheetAndKeepsTheEarlierLogAside) {
    TempWorkingFolder folder;
    write_pipe_table(example_dn, example_d);
    SheetData before;
    std::string earlier_log;
    {
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        ASSERT_TRUE(window.start());
        toolkit.set_typed(ControlId::Text1, "10000");
        window.text_changed(ControlId::Text1);
        for (const char* dn : {"20", "25"}) {
            toolkit.answer_input(dn);
            window.clicked(ControlId::cmdok);
        }
        ASSERT_TRUE(
            window.sheet().edit(1, SheetColumn::length, "7.5", window.state().pipes).accepted);
        ASSERT_TRUE(window.sheet().edit(1, SheetColumn::loops, "1", window.state().pipes).accepted);
        before = window.sheet().sheet().data();
        earlier_log = read_bytes("outdata.txt");
    }
    RecordingToolkit toolkit;
    frmcompute again(toolkit);
    ASSERT_TRUE(again.start());
    EXPECT_EQ(again.sheet().sheet().data(), before);
    EXPECT_EQ(again.sheet().rows(), 2u);
    EXPECT_EQ(read_bytes("outdata.txt"), header_bytes());
    bool kept = false;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        kept = kept || (entry.path().filename().string().rfind("outdata-", 0) == 0 &&
                        read_bytes(entry.path()) == earlier_log);
    }
    EXPECT_TRUE(kept);
}

TEST(CalcSheet, ADamagedSheetIsKeptAsideAndTold) {
    SheetRun run;
    write_bytes(std::string(sheet_file_name), "Kestrune 水力计算表 第 1 版\n不平衡率");
    std::string message;
    run.toolkit.expect_message(&message);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(
        message.rfind(
            "计算表文件“calcsheet.txt”已损坏（第 2 行无法读取），没有被改动，已另存为 calcsheet-",
            0),
        0u)
        << message;
    EXPECT_EQ(run.sheet().rows(), 0u);
    run.size("10000", "20");
    EXPECT_EQ(run.sheet().rows(), 1u);
}

TEST(CalcSheet, ExportsOfferADatedNameInTheWorkingFolderAndTellFailures) {
    SheetRun run;
    ASSERT_TRUE(run.start());
    run.size("10000", "20");
    std::filesystem::path offered;
    run.toolkit.accept_offered_file(&offered);
    EXPECT_TRUE(run.sheet().export_workbook());
    EXPECT_EQ(offered.parent_path(), std::filesystem::current_path());
    const std::string name = path_text(offered.filename());
    EXPECT_EQ(name.rfind("计算表-", 0), 0u) << name;
    EXPECT_EQ(name.size(), std::string("计算表-20261208-0930.xlsx").size()) << name;
    EXPECT_TRUE(std::filesystem::is_regular_file(offered));

    if (chinese_font()) {
        run.toolkit.accept_offered_file(&offered);
        EXPECT_TRUE(run.sheet().export_report());
        EXPECT_EQ(path_text(offered.filename()).rfind("计算书-", 0), 0u);
        EXPECT_EQ(offered.extension(), ".pdf");
        EXPECT_TRUE(std::filesystem::is_regular_file(offered));
    }

    // Cancelled: nothing written, nothing said.
    run.toolkit.save_as(std::nullopt);
    EXPECT_FALSE(run.sheet().export_workbook());

    // A folder in the way: told, and the sheet as it was.
    const SheetData before = run.sheet().sheet().data();
    std::filesystem::create_directory("in-the-way.xlsx");
    std::string message;
    run.toolkit.save_as(std::filesystem::current_path() / "in-the-way.xlsx");
    run.toolkit.expect_message(&message);
    EXPECT_FALSE(run.sheet().export_workbook());
    EXPECT_EQ(message.rfind("无法写出“", 0), 0u) << message;
    EXPECT_EQ(run.sheet().sheet().data(), before);

    // The program's own files are never an export's target: each refused, each as it was.
    for (const char* own : {"calcsheet.txt", "outdata.txt", "fittings.txt", "indata1.txt"}) {
        const std::string bytes = read_bytes(own);
        run.toolkit.save_as(std::filesystem::current_path() / own);
        run.toolkit.expect_message(&message);
        EXPECT_FALSE(run.sheet().export_workbook()) << own;
        EXPECT_EQ(message, export_over_own_file(own));
        EXPECT_EQ(read_bytes(own), bytes) << own;
    }
    // Named another way, the sheet is still the sheet.
    run.toolkit.save_as(std::filesystem::current_path() / "sub" / ".." / "calcsheet.txt");
    run.toolkit.expect_message(&message);
    std::filesystem::create_directory("sub");
    EXPECT_FALSE(run.sheet().export_workbook());
    EXPECT_EQ(message, export_over_own_file("calcsheet.txt"));
}

TEST(CalcSheet, AFittingsTableThatCannotBeReadIsSaidBeforeTheProgramsOwnStandsIn) {
    // A folder where the engineer's fittings.txt should be: never silently passed over.
    ProgramRun run(example_dn, example_d);
    std::filesystem::create_directory("fittings.txt");
    std::string told;
    run.toolkit.expect_message(&told);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(told,
              "局部阻力系数表“fittings.txt”无法读取：有同名的文件夹占用了这个文件名。"
              "本次改用程序自带的系数表，其中没有你自己加的管件。");
    EXPECT_EQ(run.toolkit.still_expected(), 0u);
    run.paste_load("10000");
    run.toolkit.answer_input("20");
    run.click(ControlId::cmdok);
    EXPECT_TRUE(run.window.sheet().edit(0, SheetColumn::xi, "截止阀", run.state().pipes).accepted);
}

TEST(CalcSheet, ExportsAreOfferedUnderNamesThatCarryTheMoment) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = 9;
    when.tm_min = 5;
    EXPECT_EQ(export_name("计算表", ".xlsx", when), "计算表-20261208-0905.xlsx");
    EXPECT_EQ(export_name("计算书", ".pdf", when), "计算书-20261208-0905.pdf");
}

}  // namespace
}  // namespace kestrune::testing
