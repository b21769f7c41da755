// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "messages.h"
#include "platform_files.h"
#include "program_run.h"

namespace kestrune::testing {
namespace {

TEST(SizingRun, TheWorkedExamplesValuesLineIsItsLogRow) {
    // What the windows show of it: the conformance scenarios. Here: the results window's
    // values are the logged row, statement for statement, and λ is kept as computed.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    ASSERT_EQ(run.results().lines.size(), 2u);
    EXPECT_EQ(file_line(run.results().lines[1]), worked_row);
    EXPECT_EQ(run.state().ycxs, 0.0404f);
}

TEST(SizingRun, DiameterAnswerRoundsHalvesToEven) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25.5");
    run.click(ControlId::cmdok);
    EXPECT_EQ(run.state().dn, 26);
    run.toolkit.answer_input("24.5");
    run.click(ControlId::cmdok);
    EXPECT_EQ(run.state().dn, 24);
    EXPECT_EQ(run.state().d, 20.0f);
}

TEST(SizingRun, TwoIdenticalRunsLogTwoRowsAndShowTheLastOnly) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    run.click(ControlId::cmdok);
    EXPECT_EQ(run.log(), header_bytes() + worked_row + worked_row);
    EXPECT_EQ(run.results().lines.size(), 2u);
}

TEST(SizingRun, DismissedResultsStayHiddenUntilTheNextRun) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    run.window.print_window_gesture(PrintWindowId::frmdisplay, Gesture::double_click);
    EXPECT_FALSE(run.results().visible);
    // Ready for the next branch: the load box has the focus, its text selected.
    EXPECT_EQ(run.toolkit.focused(), std::make_pair(ControlId::Text1, true));
    run.toolkit.answer_input("15");
    run.click(ControlId::cmdok);
    EXPECT_TRUE(run.results().visible);
    ASSERT_EQ(run.results().lines.size(), 2u);
    EXPECT_EQ(run.results().lines[1][3].text, " 15 ");
}

TEST(SizingRun, DiameterNotInTheTableIsRefusedAndNeverReusesTheOldOne) {
    // State: one good run with 25. Action: answer 65. Expected: a message naming 65, the
    // list gone, no new row, the results window still showing the 25 result.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    const std::string message = run.refused_sizing("65");
    EXPECT_EQ(message, diameter_not_in_table(65));
    EXPECT_FALSE(run.list().visible);
    EXPECT_EQ(run.log(), header_bytes() + worked_row);
    EXPECT_EQ(run.state().dn, 25);
    EXPECT_EQ(run.results().line(1), worked_values);
}

TEST(SizingRun, DiameterBeyond16BitsIsRefusedBeforeAnythingIsLookedUp) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    for (const char* answer : {"40000", "-32769", "1e39", "1e999", "&HFFFFF"}) {
        const std::string message = run.refused_sizing(answer);
        EXPECT_EQ(message, diameter_out_of_range(answer)) << answer;
        EXPECT_FALSE(run.list().visible);
    }
    const std::string message = run.refused_sizing("40000");
    EXPECT_EQ(message, diameter_out_of_range("40000"));
    EXPECT_EQ(run.log(), header_bytes());
}

TEST(SizingRun, SizingWithoutALoadIsExplainedAndNothingLogged) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    const std::string message = run.refused_sizing("25");
    EXPECT_EQ(message,
              "还没有输入用户负荷（设计流量为 0），无法计算。请先输入用户负荷。\n"
              "本次计算没有记入结果文件。");
    EXPECT_EQ(run.log(), header_bytes());
    EXPECT_FALSE(run.results().visible);
}

TEST(SizingRun, NegativeLoadAndZeroInnerDiameterAreExplained) {
    // State: a good result on screen. Action: a negative load, then DN 27 whose inner
    // diameter is 0. Expected: both explained, no rows, the last result kept on screen.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);

    run.type_load("-100");
    const std::string negative = run.refused_sizing("25");
    EXPECT_NE(negative.find("负数"), std::string::npos);

    run.type_load("10000");
    const std::string zero = run.refused_sizing("27");
    EXPECT_NE(zero.find("公称直径 27 的管道内径为 0"), std::string::npos);

    EXPECT_EQ(run.log(), header_bytes() + worked_row);
    EXPECT_EQ(run.results().line(1), worked_values);
}

TEST(SizingRun, LoadEntryInErrorShowsInlineAndBlocksSizing) {
    // State: supply temperature set equal to the return one. Action: type a load, click OK.
    // Expected: no dialog while typing, the problem under the boxes, OK refuses at once.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.toolkit.answer_input("70");
    run.click(ControlId::cmdset2);
    ASSERT_EQ(run.state().dt, 0);
    run.type_load("1200");
    const std::string problem =
        "供水温度等于回水温度（温差为 0），无法计算流量。请更改供水或回水温度。";
    EXPECT_EQ(run.shown(ControlId::problem_line), problem);
    EXPECT_EQ(run.shown(ControlId::Text3), "");

    std::string refusal;
    run.toolkit.expect_message(&refusal);
    run.click(ControlId::cmdok);
    EXPECT_EQ(refusal, load_blocks_sizing(problem));
    EXPECT_EQ(run.list().times_shown, 0);
    EXPECT_EQ(run.log(), header_bytes());

    run.type_load("1e39");  // beyond the 32-bit range: refused inline as well
    EXPECT_EQ(run.shown(ControlId::problem_line), "用户负荷数值太大，无法计算。");
}

TEST(SizingRun, LogThatCannotBeWrittenIsReportedAndTheResultStillShows) {
    // State: "outdata.txt" is a folder. Expected: told at start-up and at the sizing, where
    // the log is tried again header first, with the reason; the result still shows.
    ProgramRun run;
    std::filesystem::create_directory("outdata.txt");
    std::string at_start;
    run.toolkit.expect_message(&at_start);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(at_start.rfind("无法建立结果文件“outdata.txt”：", 0), 0u) << at_start;
    run.type_load("10000");
    const std::string at_sizing = run.refused_sizing("25");
    EXPECT_EQ(at_sizing.rfind("无法建立结果文件“outdata.txt”：", 0), 0u) << at_sizing;
    EXPECT_TRUE(run.results().visible);
    EXPECT_EQ(run.results().line(1), worked_values);
}

TEST(SizingRun, DeletedLogIsCreatedAgainHeaderFirst) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    std::filesystem::remove("outdata.txt");
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    EXPECT_EQ(run.log(), header_bytes() + worked_row);
}

TEST(SizingRun, ALogThatCouldNotBeMadeAtTheStartIsMadeHeaderFirstAtTheSizing) {
    // State: a disk that fails to sync the new header once. Action: start, then size twice.
    // Expected: told at start as a failed flush, with no log left; the first sizing makes
    // the header, then logs its row, and says nothing; the second adds its row.
    ProgramRun run;
    std::string at_start;
    run.toolkit.expect_message(&at_start);
    injected_failures().flush = EIO;
    ASSERT_TRUE(run.start());
    EXPECT_EQ(at_start.rfind("结果文件“outdata.txt”的表头写出后无法存到磁盘上（同步失败）", 0), 0u)
        << at_start;
    EXPECT_FALSE(std::filesystem::exists("outdata.txt"));
    run.type_load("10000");
    for (int i = 0; i < 2; ++i) {
        run.toolkit.answer_input("25");
        run.click(ControlId::cmdok);
    }
    EXPECT_EQ(run.log(), header_bytes() + worked_row + worked_row);
}

TEST(SizingRun, ThousandsOfSizingsLogExactlyOneRowEach) {
    // Action: 2000 sizings with changing loads and diameters, every tenth one refused (a
    // diameter not in the table). Expected: the header, then exactly one row per sizing that
    // went through, in order, each as the results window showed it.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    std::string expected = header_bytes();
    const char* diameters[] = {"15", "24", "25", "26"};
    for (int i = 0; i < 2000; ++i) {
        run.paste_load(std::to_string(1000 + 37 * i));
        if (i % 10 == 9) {
            run.toolkit.answer_input("99");
            run.toolkit.expect_message();
            run.click(ControlId::cmdok);
            continue;
        }
        run.toolkit.answer_input(diameters[i % 4]);
        run.click(ControlId::cmdok);
        expected += file_line(run.results().lines.at(1));
    }
    EXPECT_EQ(run.log(), expected);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 1 + 1800);
}

}  // namespace
}  // namespace kestrune::testing
