// SPDX-License-Identifier: GPL-3.0-or-later
// A read-only folder or log, for a user to whom permissions apply: the work runs in a child
// process as "nobody" when the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "child_process.h"
#include "program_run.h"
#include "sheet_dialogs.h"
#include "sheet_file.h"
#include "sheet_messages.h"
#include "worked_sheet.h"

namespace kestrune::testing {
namespace {

// Runs work in a child without privileges; its exit code is 0 when every check held.
int unprivileged(const std::function<int()>& work) {
    ChildLimits limits;
    limits.drop_privileges = true;
    return run_in_child(limits, work);
}

TEST(ReadOnlyFolder, AtStartIsReportedAndSizingStillShows) {
    // State: a folder with the table but no write permission. Action: start, size.
    // Expected: both times told why, the result shown, nothing created.
    ProgramRun run;
    ASSERT_EQ(chmod(run.folder.path().c_str(), 0555), 0);
    const int failed = unprivileged([] {
        std::string at_start, at_sizing;
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        toolkit.expect_message(&at_start);
        int bits = window.start() ? 0 : 1;
        toolkit.set_typed(ControlId::Text1, "10000");
        window.text_changed(ControlId::Text1);
        toolkit.answer_input("25");
        toolkit.expect_message(&at_sizing);
        std::string sheet;
        toolkit.expect_message(&sheet);  // the sheet cannot be saved here either
        window.clicked(ControlId::cmdok);
        bits |= sheet.rfind("无法保存计算表文件", 0) == 0 ? 0 : 64;
        bits |= at_start.find("没有权限（Permission denied）") == std::string::npos ? 2 : 0;
        bits |= at_sizing.find("没有权限（Permission denied）") == std::string::npos ? 4 : 0;
        bits |= toolkit.window(PrintWindowId::frmdisplay).visible ? 0 : 8;
        bits |= std::filesystem::exists("outdata.txt") ? 16 : 0;
        bits |= toolkit.still_expected() != 0 ? 32 : 0;
        bits |= ::testing::Test::HasFailure() ? 128 : 0;
        return bits;
    });
    EXPECT_EQ(failed, 0);
}

TEST(ReadOnlyFolder, ProjectDetailsAndANewProjectAreRefusedAndNothingIsMade) {
    // State: a project folder, and the folder it stands in, without write permission.
    // Action: 工程信息 given, then 新建工程. Expected: each told, nothing written or made,
    // the windows still named after the folder.
    ProgramRun run;
    const std::filesystem::path project = run.folder.path() / "p";
    std::filesystem::create_directory(project);
    std::filesystem::copy_file("indata1.txt", project / "indata1.txt");
    std::filesystem::copy_file("indata2.txt", project / "indata2.txt");
    std::filesystem::current_path(project);
    ASSERT_EQ(chmod(project.c_str(), 0555), 0);
    ASSERT_EQ(chmod(run.folder.path().c_str(), 0555), 0);
    const int failed = unprivileged([&] {
        std::string at_start, details, made;
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        toolkit.expect_message(&at_start);  // the log cannot be made here
        int bits = window.start() ? 0 : 1;
        toolkit.answer_input("三号楼");
        toolkit.answer_input("张工");
        toolkit.expect_message(&details);
        window.project_command(ProjectCommand::details);
        toolkit.answer_input("四号楼");
        toolkit.expect_message(&made);
        window.project_command(ProjectCommand::create);
        bits |= details.rfind("无法保存工程信息", 0) == 0 ? 0 : 2;
        bits |= made.find("没有权限（Permission denied）") == std::string::npos ? 4 : 0;
        bits |= std::filesystem::exists("project.txt") ? 8 : 0;
        bits |= std::filesystem::exists(project.parent_path() / "四号楼") ? 16 : 0;
        bits |= window.sheet().project().name.empty() ? 0 : 32;
        bits |= toolkit.projects() == std::vector<std::string>{"p"} ? 0 : 64;
        bits |= toolkit.still_expected() != 0 || ::testing::Test::HasFailure() ? 128 : 0;
        return bits;
    });
    chmod(run.folder.path().c_str(), 0755);
    chmod(project.c_str(), 0755);
    EXPECT_EQ(failed, 0);
}

TEST(ReadOnlyFolder, ReadOnlyLogIsReportedAndLeftAsItWas) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    const std::string before = run.log();
    ASSERT_EQ(chmod("outdata.txt", 0444), 0);
    const int failed = unprivileged([&run] {
        std::string sheet;
        run.toolkit.answer_input("24");
        std::string message;
        run.toolkit.expect_message(&message);
        run.toolkit.expect_message(&sheet);  // nor can the sheet be saved by this user
        run.click(ControlId::cmdok);
        return message.find("没有权限（Permission denied）") == std::string::npos ||
                       sheet.rfind("无法保存计算表文件", 0) != 0 || ::testing::Test::HasFailure()
                   ? 1
                   : 0;
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(run.log(), before);
}

TEST(ReadOnlyFolder, RowsThatCannotBeKeptAreEmptiedOnlyWhenTheEngineerSays) {
    // State: a read-only folder whose log, writable, holds a row. Action: start, and answer
    // the question each way. Expected: "keep and quit" leaves the log; "empty" empties it.
    for (const bool empty_it : {false, true}) {
        ProgramRun run;
        write_bytes("outdata.txt", header_bytes() + worked_row);
        ASSERT_EQ(chmod("outdata.txt", 0666), 0);
        ASSERT_EQ(chmod(run.folder.path().c_str(), 0555), 0);
        const int failed = unprivileged([empty_it] {
            std::string question;
            RecordingToolkit toolkit;
            frmcompute window(toolkit);
            toolkit.click_button(empty_it ? "清空结果文件" : "保留并退出", &question);
            const bool started = window.start();
            int bits = started == empty_it ? 0 : 1;
            bits |=
                question.rfind("上次运行的结果还在 outdata.txt 中，但无法另存：没有权限", 0) == 0
                    ? 0
                    : 2;
            bits |= toolkit.still_expected() != 0 ? 4 : 0;
            // Enter (and the close box) keep the rows: only a click empties them.
            bits |= toolkit.last_buttons().at(toolkit.last_default()) == "保留并退出" ? 0 : 8;
            bits |= ::testing::Test::HasFailure() ? 16 : 0;
            return bits;
        });
        EXPECT_EQ(failed, 0) << empty_it;
        EXPECT_EQ(run.log(), empty_it ? header_bytes() : header_bytes() + worked_row);
    }
}

TEST(ReadOnlyFolder, AChosenFolderThatCannotTakeTheLogIsRefusedAtOnce) {
    // State: no table here; one in a read-only folder, one in a writable one. Action: choose
    // the read-only one, then the other. Expected: told at once, asked again, started there.
    ProgramRun run(nullptr, nullptr);
    const std::filesystem::path locked = run.folder.path() / "examples";
    const std::filesystem::path mine = run.folder.path() / "mine";
    for (const auto& folder : {locked, mine}) {
        std::filesystem::create_directory(folder);
        write_bytes(folder / "indata1.txt", worked_dn);
        write_bytes(folder / "indata2.txt", worked_d);
    }
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
    ASSERT_EQ(chmod(run.folder.path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(mine.c_str(), 0777), 0);
    const int failed = unprivileged([&locked, &mine] {
        std::string told;
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        toolkit.click_button("选择文件夹…");
        toolkit.choose_folder(locked);
        toolkit.expect_message(&told);
        toolkit.click_button("选择文件夹…");
        toolkit.choose_folder(mine);
        int bits = window.start() ? 0 : 1;
        bits |= told.find("中不能写结果文件 outdata.txt：没有权限（Permission denied）") !=
                        std::string::npos
                    ? 0
                    : 2;
        bits |= std::filesystem::current_path() == mine ? 0 : 4;
        bits |= std::filesystem::exists(locked / "outdata.txt") ? 8 : 0;
        bits |= toolkit.still_expected() != 0 ? 16 : 0;
        return bits;
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(read_bytes(mine / "outdata.txt"), header_bytes());
}

// A sheet of two rows that this user cannot read: another user's, mode 0600.
std::string unreadable_sheet() {
    SheetData data = worked_sheet().data();
    data.rows.resize(2);
    const std::string bytes = sheet_text(data);
    write_bytes(std::string(sheet_file_name), bytes);
    EXPECT_EQ(chmod(std::string(sheet_file_name).c_str(), 0600), 0);
    return bytes;
}

// One sizing of the worked example in a program run as this user.
int size_once(RecordingToolkit& toolkit, frmcompute& window) {
    toolkit.set_typed(ControlId::Text1, "10000");
    window.text_changed(ControlId::Text1);
    toolkit.answer_input("25");
    window.clicked(ControlId::cmdok);
    return 0;
}

TEST(UnreadableSheet, IsSetAsideAndNeverWrittenOver) {
    ProgramRun run;
    const std::string before = unreadable_sheet();
    ASSERT_EQ(chmod(run.folder.path().c_str(), 0777), 0);
    const int failed = unprivileged([] {
        std::string told;
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        toolkit.expect_message(&told);
        int bits = window.start() ? 0 : 1;
        size_once(toolkit, window);
        bits |= told.rfind(
                    "无法读取计算表文件“calcsheet.txt”：没有权限（Permission denied）。"
                    "它没有被改动，已另存为 calcsheet-",
                    0) == 0
                    ? 0
                    : 2;
        bits |= window.sheet().rows() == 1 && !window.sheet().unsaved() ? 0 : 4;
        bits |= toolkit.still_expected() != 0 ? 8 : 0;
        return bits;
    });
    EXPECT_EQ(failed, 0);
    // The two rows are whole under their new name; the new sheet holds the one sizing.
    std::size_t kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        if (entry.path().filename().string().rfind("calcsheet-", 0) == 0) {
            EXPECT_EQ(read_bytes(entry.path()), before);
            ++kept;
        }
    }
    EXPECT_EQ(kept, 1u);
    EXPECT_EQ(load_sheet(std::string(sheet_file_name)).value().sheet.rows.size(), 1u);
}

TEST(UnreadableSheet, ThatCannotBeMovedIsLeftAloneAndQuittingAsksFirst) {
    // Another user's file in a folder with the sticky bit: this user can neither read nor
    // rename it. Expected: told; a sizing saves nothing over it; 退出 asks, staying by
    // default, and ends only when told to.
    ProgramRun run;
    const std::string before = unreadable_sheet();
    ASSERT_EQ(chmod(run.folder.path().c_str(), 01777), 0);
    const int failed = unprivileged([] {
        std::string told, question;
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        toolkit.expect_message(&told);
        int bits = window.start() ? 0 : 1;
        size_once(toolkit, window);
        bits |= told.find("也无法把它另存。") != std::string::npos ? 0 : 2;
        bits |= window.sheet().unsaved() ? 0 : 4;
        bits |= window.grid().message() == sheet_unsaved_note() ? 0 : 8;
        toolkit.click_button(std::string(stay_caption), &question);
        window.clicked(ControlId::Cmdexit);
        bits |= toolkit.ended() ? 16 : 0;
        bits |= question == unsaved_quit_question() ? 0 : 32;
        bits |= toolkit.last_buttons().at(toolkit.last_default()) == stay_caption ? 0 : 64;
        toolkit.click_button(std::string(quit_anyway_caption));
        window.clicked(ControlId::Cmdexit);
        bits |= toolkit.ended() ? 0 : 128;
        bits |= toolkit.still_expected() != 0 ? 256 : 0;
        return bits > 255 ? 255 : bits;
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(read_bytes(std::string(sheet_file_name)), before);
}

}  // namespace
}  // namespace kestrune::testing
