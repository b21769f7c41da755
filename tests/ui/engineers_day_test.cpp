// SPDX-License-Identifier: GPL-3.0-or-later
// Sizing branch after branch: nothing stale unsaid, nothing lost, the keyboard first.
#include <gtest/gtest.h>

#include <filesystem>

#include "example_table.h"
#include "file_error.h"
#include "messages.h"
#include "parameter_dialogs.h"
#include "program_run.h"
#include "window_placement.h"

namespace kestrune::testing {
namespace {

// The lines of the diameter list as printed while the input box waited.
std::vector<std::string> list_while_asked(ProgramRun& run, const char* answer) {
    std::vector<std::string> lines;
    run.toolkit.answer_input(answer, nullptr, [&run, &lines] {
        for (std::size_t i = 0; i < run.list().lines.size(); ++i) {
            lines.push_back(run.list().line(i));
        }
    });
    run.click(ControlId::cmdok);
    return lines;
}

TEST(StaleValues, ANewMarginIsSaidToWaitForTheNextLoadEntry) {
    // State: 35000 W typed. Action: margin 1.1, then size. Expected: the problem line and the
    // list say the design load still uses 1.2; the log holds the old values as ever; the
    // next load entry makes the note go.
    ProgramRun run(example_dn, example_d);
    ASSERT_TRUE(run.start());
    run.type_load("35000");
    run.type(ControlId::Text4, "1.1");
    const std::string note = stale_design_note(1.2f, 1.1f, 25, 25);
    EXPECT_EQ(run.shown(ControlId::problem_line), note);
    const auto list = list_while_asked(run, "40");
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.back(), note);
    EXPECT_EQ(run.log(),
              header_bytes() + row_bytes(35000, 42000, 1444.48f, 40, run.state().v, run.state().r));
    run.type_load("35000");
    EXPECT_EQ(run.shown(ControlId::problem_line), "");
    EXPECT_EQ(run.shown(ControlId::Text2), "38500");
}

TEST(StaleValues, ANewTemperatureDifferenceAndBothTogetherAreSaid) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.toolkit.answer_input("80");
    run.click(ControlId::cmdset2);
    EXPECT_EQ(run.shown(ControlId::problem_line), "");  // no load entered yet: nothing stale
    run.type_load("10000");
    run.toolkit.answer_input("60");
    run.click(ControlId::cmdset3);
    EXPECT_EQ(run.shown(ControlId::problem_line), stale_design_note(1.2f, 1.2f, 10, 20));
    run.paste(ControlId::Text4, "1.5");
    EXPECT_EQ(run.shown(ControlId::problem_line), stale_design_note(1.2f, 1.5f, 10, 20));
    // Back to the values used: nothing is stale any more.
    run.paste(ControlId::Text4, "1.2");
    run.toolkit.answer_input("70");
    run.click(ControlId::cmdset3);
    EXPECT_EQ(run.shown(ControlId::problem_line), "");
}

TEST(ReadingNotes, TheRestThatHoldsADigitIsSaidAndAUnitIsNot) {
    struct Case {
        ControlId box;
        const char* typed;
        const char* note;
        const char* design_load;
    };
    const Case cases[] = {
        {ControlId::Text1, "35,000", "用户负荷读作 35；“,000”未读入，小数点请用“.”，不用逗号。",
         "42"},
        {ControlId::Text1, "1.2.3", "用户负荷读作 1.2；“.3”未读入。", "1.44"},
        {ControlId::Text1, "１２", "用户负荷读作 0；“１２”未读入。", "0"},
        {ControlId::Text1, "10000 W", "", "12000"},
        {ControlId::Text1, "10 kW", "", "12"},
        {ControlId::Text1, "12,5", "用户负荷读作 12；“,5”未读入，小数点请用“.”，不用逗号。",
         "14.4"},
        {ControlId::Text4, "1,15", "富裕系数读作 1；“,15”未读入，小数点请用“.”，不用逗号。",
         nullptr},
    };
    for (const Case& c : cases) {
        ProgramRun run;
        ASSERT_TRUE(run.start());
        run.paste(c.box, c.typed);
        EXPECT_EQ(run.shown(ControlId::problem_line), c.note) << c.typed;
        if (c.design_load != nullptr) {
            EXPECT_EQ(run.shown(ControlId::Text2), c.design_load) << c.typed;
        } else {
            EXPECT_EQ(run.state().k_margin, 1.0f);
        }
        // The next good entry says nothing more.
        run.paste(c.box, "1.5");
        EXPECT_EQ(run.shown(ControlId::problem_line), "") << c.typed;
    }
}

TEST(NegativeLoad, ListsThePlainTableAndSizesAsBefore) {
    // -5000 W gives no advice; answering DN15 sizes and logs as the program always has.
    ProgramRun run(example_dn, example_d);
    ASSERT_TRUE(run.start());
    run.type_load("-5000");
    std::vector<std::string> lines;
    run.toolkit.answer_input("15", nullptr, [&] {
        for (std::size_t i = 0; i < run.list().lines.size(); ++i) {
            lines.push_back(run.list().line(i));
            EXPECT_EQ(run.list().muted_from[i], nothing_muted);
        }
    });
    run.click(ControlId::cmdok);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "公称直径|管道内径");
    EXPECT_EQ(lines[1], " 15 | 15.75 ");
    EXPECT_EQ(run.log(), header_bytes() + row_bytes(-5000, -6000, -206.35f, 15, -0.299f, 97.4f));
}

TEST(EarlierRuns, ARestartAfterThreeSizingsKeepsTheRows) {
    // State: three sizings logged. Action: start again. Expected: the three rows in a kept
    // file named after the time, a fresh log with its header, and the main window saying so.
    std::string kept_rows;
    TempWorkingFolder folder;
    write_pipe_table(worked_dn, worked_d);
    {
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        ASSERT_TRUE(window.start());
        toolkit.set_typed(ControlId::Text1, "10000");
        window.text_changed(ControlId::Text1);
        for (const char* dn : {"25", "24", "15"}) {
            toolkit.answer_input(dn);
            window.clicked(ControlId::cmdok);
        }
        kept_rows = read_bytes("outdata.txt");
    }
    RecordingToolkit toolkit;
    frmcompute window(toolkit);
    ASSERT_TRUE(window.start());
    EXPECT_EQ(read_bytes("outdata.txt"), header_bytes());
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("outdata-", 0) == 0) {
            kept.push_back(entry.path());
        }
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(read_bytes(kept[0]), kept_rows);
    EXPECT_EQ(std::count(kept_rows.begin(), kept_rows.end(), '\n'), 4);
    EXPECT_EQ(toolkit.text(ControlId::problem_line), earlier_log_kept(kept[0].filename().string()));
    // The first row of the new log ends the note.
    toolkit.set_typed(ControlId::Text1, "10000");
    window.text_changed(ControlId::Text1);
    toolkit.answer_input("25");
    window.clicked(ControlId::cmdok);
    EXPECT_EQ(toolkit.text(ControlId::problem_line), "");
}

TEST(Keyboard, EnterInTheLoadOrMarginBoxStartsTheSizing) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    InputRequest seen;
    run.toolkit.answer_input("25", &seen);
    run.window.enter_pressed(ControlId::Text1);
    EXPECT_EQ(seen.title, diameter_title);
    EXPECT_EQ(run.log(), header_bytes() + worked_row);
    run.toolkit.cancel_input();
    run.window.enter_pressed(ControlId::Text4);
    // Elsewhere Enter is the front-end's: a button presses itself, an output box does nothing.
    run.window.enter_pressed(ControlId::Text2);
    EXPECT_EQ(run.toolkit.still_expected(), 0u);
}

TEST(ParametersInView, EachButtonShowsItsCurrentValueAndTheDialogsStillOfferTheDefaults) {
    ProgramRun run(example_dn, example_d);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.toolkit.tip(ControlId::cmdset1), current_value_tip(983.25f, "kg/m³"));
    EXPECT_EQ(run.toolkit.tip(ControlId::cmdset2), current_value_tip(95, "°C"));
    EXPECT_EQ(run.toolkit.tip(ControlId::cmdset3), current_value_tip(70, "°C"));
    EXPECT_EQ(run.toolkit.tip(ControlId::cmdset4), current_value_tip(0.477f, "mm²/s"));
    run.toolkit.answer_input("977.8");
    run.click(ControlId::cmdset1);
    run.toolkit.answer_input("0.5");
    run.click(ControlId::cmdset4);
    EXPECT_EQ(run.toolkit.tip(ControlId::cmdset1), current_value_tip(977.8f, "kg/m³"));
    EXPECT_EQ(run.toolkit.tip(ControlId::cmdset4), current_value_tip(0.5f, "mm²/s"));
    InputRequest seen;
    run.toolkit.cancel_input(&seen);
    run.click(ControlId::cmdset1);
    EXPECT_EQ(seen.offered, "983.25");
    run.type_load("10000");
    const auto list = list_while_asked(run, "20");
    design_state changed;
    changed.rho = 977.8f;
    changed.nu = 0.5f;
    EXPECT_EQ(list.back(), preview_parameters_note(changed));
}

TEST(ChineseReasons, AFolderInTheWayIsToldAsAFolder) {
    ProgramRun run;
    std::filesystem::create_directory("outdata.txt");
    std::string message;
    run.toolkit.expect_message(&message);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(message.rfind("无法建立结果文件“outdata.txt”：有同名的文件夹占用了这个文件名。", 0),
              0u)
        << message;
}

TEST(FirstStart, TheExampleTableStartsTheProgramInAKestruneFolderOfTheHome) {
    // State: started from the menu in a home folder without a table. Action: use the example
    // table. Expected: home/Kestrune made with the table, the run there, its log there.
    TempWorkingFolder examples;
    write_pipe_table(example_dn, example_d);
    ProgramRun run(nullptr, nullptr);
    RecordingToolkit toolkit;
    frmcompute window(toolkit, {examples.path(), run.folder.path(), {}, {}});
    std::string question;
    toolkit.click_button("使用示例管道表", &question);
    ASSERT_TRUE(window.start());
    EXPECT_NE(question.find("可以使用示例管道表"), std::string::npos);
    EXPECT_EQ(toolkit.last_buttons(),
              (std::vector<std::string>{"使用示例管道表", "选择文件夹…", "退出"}));
    const std::filesystem::path kestrune = run.folder.path() / "Kestrune";
    EXPECT_EQ(std::filesystem::current_path(), kestrune);
    EXPECT_EQ(read_bytes(kestrune / "indata1.txt"), example_dn);
    EXPECT_EQ(read_bytes(kestrune / "outdata.txt"), header_bytes());
    EXPECT_EQ(window.state().pipes[10].dn, 150);
}

TEST(FirstStart, OutsideTheHomeTheExampleTableComesIntoTheWorkingFolder) {
    TempWorkingFolder examples;
    write_pipe_table(example_dn, example_d);
    ProgramRun run(nullptr, nullptr);
    write_bytes("indata1.txt", "15 20");  // one file there already: kept as it is
    RecordingToolkit toolkit;
    frmcompute window(toolkit, {examples.path(), examples.path() / "elsewhere", {}, {}});
    toolkit.click_button("使用示例管道表");
    ASSERT_TRUE(window.start());
    EXPECT_EQ(std::filesystem::current_path(), run.folder.path());
    EXPECT_EQ(read_bytes("indata1.txt"), "15 20");
    EXPECT_EQ(window.state().pipes[1].dn, 20);
    EXPECT_EQ(window.state().pipes[1].d, 21.25f);
}

TEST(FirstStart, WithoutATableBesideTheProgramItsOwnCopyIsOffered) {
    // State: no table in the working folder, none beside the program (started from inside
    // its zip). Action: use the example table. Expected: offered first, with Enter on it; the
    // program's own copy written into the working folder, byte for byte examples/.
    ProgramRun run(nullptr, nullptr);
    run.toolkit.click_button("使用示例管道表");
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.toolkit.last_buttons(),
              (std::vector<std::string>{"使用示例管道表", "选择文件夹…", "退出"}));
    EXPECT_EQ(run.toolkit.last_default(), 0u);
    for (const char* name : {"indata1.txt", "indata2.txt"}) {
        EXPECT_EQ(read_bytes(name), read_bytes(std::filesystem::path(KESTRUNE_EXAMPLES) / name))
            << name;
    }
    EXPECT_EQ(run.state().pipes[1].d, 21.25f);
}

TEST(ListPlacement, BesideTheMainWindowWhereThereIsRoom) {
    const ScreenBox main{300, 100, 717, 510};
    // A wide screen: to the right; no room there: to the left; a tall one: below.
    const ScreenBox right = place_list_window(main, 669, 300, {0, 0, 1920, 1040}, 8);
    EXPECT_EQ(right.left, 300 + 717 + 8);
    EXPECT_EQ(right.top, 100);
    const ScreenBox left =
        place_list_window({1000, 100, 717, 510}, 669, 300, {0, 0, 1920, 1040}, 8);
    EXPECT_EQ(left.left, 1000 - 8 - 669);
    const ScreenBox below = place_list_window({100, 50, 717, 510}, 669, 300, {0, 0, 1024, 1400}, 8);
    EXPECT_EQ(below.top, 50 + 510 + 8);
    EXPECT_EQ(below.left, 100);
}

TEST(ListPlacement, GoesToTheCornerThatCoversLeastWithoutRoom) {
    // 1366 x 768 with a taskbar: the main window centred leaves no room beside it. The list
    // goes to a top corner, above the middle of the main window where the input box stands.
    const ScreenBox area{0, 0, 1366, 728};
    const ScreenBox main{(1366 - 717) / 2, (728 - 510) / 2, 717, 510};
    const ScreenBox list = place_list_window(main, 669, 301, area, 8);
    EXPECT_EQ(list.left, 1366 - 669);  // covers 344 columns of the main window, not 345
    EXPECT_EQ(list.top, 0);
    // A main window nearer the right edge: the list takes the free side of the screen.
    const ScreenBox other = place_list_window({640, 200, 717, 510}, 669, 301, area, 8);
    EXPECT_EQ(other.left, 0);
    EXPECT_EQ(other.top, 0);
    const ScreenBox low = place_list_window({600, 218, 717, 510}, 669, 301, area, 8);
    EXPECT_EQ(low.left, 0);
    EXPECT_EQ(low.top, 0);
    // At 150 %: 911 x 485 logical pixels; larger than what is left, the list still starts on it.
    const ScreenBox small = place_list_window({97, 0, 717, 485}, 669, 301, {0, 0, 911, 485}, 8);
    EXPECT_GE(small.left, 0);
    EXPECT_LE(small.left + small.width, 911);
    EXPECT_GE(small.top, 0);
}

}  // namespace
}  // namespace kestrune::testing
