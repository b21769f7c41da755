// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "file_error.h"
#include "folder_lock.h"
#include "messages.h"
#include "platform_files.h"
#include "program_run.h"

namespace kestrune::testing {
namespace {

TEST(Startup, MissingTableIsNamedAndNoLogIsTouched) {
    // State: only indata1.txt, and a log from an earlier run. Action: start, then quit at
    // the question. Expected: the question names indata2.txt and the folder; start-up
    // refused; the old log kept.
    ProgramRun run(worked_dn, nullptr);
    write_bytes("outdata.txt", "earlier rows");
    std::string question;
    run.toolkit.click_button("退出", &question);
    EXPECT_FALSE(run.start());
    EXPECT_EQ(question,
              "在文件夹 " + path_text(run.folder.path()) +
                  " 中找不到管道表文件“indata2.txt”。\n"
                  "管道表由 indata1.txt（公称直径）和 indata2.txt（管道内径）两个文件组成。"
                  "可以使用示例管道表（标准焊接钢管 DN15～DN150，复制到工作目录），或选择"
                  "存放这两个文件的文件夹（结果文件 outdata.txt 也将写在那里），或者退出。");
    EXPECT_EQ(read_bytes("outdata.txt"), "earlier rows");
}

TEST(Startup, ChosenFolderBecomesTheWorkingFolder) {
    // State: started in an empty folder; the table lies in a sub-folder. Action: cancel the
    // chooser once, choose a folder without a table, then the right one. Expected: asked
    // again each time; the log is made in the chosen folder only, and sizings log there.
    ProgramRun run(nullptr, nullptr);
    const std::filesystem::path empty = run.folder.path() / "empty";
    const std::filesystem::path tables = run.folder.path() / u8"设计";
    std::filesystem::create_directory(empty);
    std::filesystem::create_directory(tables);
    write_bytes(tables / "indata1.txt", worked_dn);
    write_bytes(tables / "indata2.txt", worked_d);
    std::string title;
    run.toolkit.click_button("选择文件夹…");
    run.toolkit.choose_folder(std::nullopt, &title);
    run.toolkit.click_button("选择文件夹…");
    run.toolkit.choose_folder(empty);
    run.toolkit.click_button("选择文件夹…");
    run.toolkit.choose_folder(tables);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(title, "选择含有管道表的文件夹");
    EXPECT_EQ(std::filesystem::current_path(), tables);
    EXPECT_FALSE(std::filesystem::exists(run.folder.path() / "outdata.txt"));
    EXPECT_FALSE(std::filesystem::exists(empty / "outdata.txt"));
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    EXPECT_EQ(read_bytes(tables / "outdata.txt"), header_bytes() + worked_row);
}

TEST(Startup, BadTablesAreExplainedBeforeTheLogIsTouched) {
    struct Case {
        const char* dn;
        const char* d;
        const char* expected;
    };
    for (const Case& c : {
             Case{"1 2 3 4 5 6 7 8 9 10 11 12", "1",
                  "管道表文件“indata1.txt”有 12 个数值，最多只能有 11 个。"},
             Case{"15 abc", "1", "管道表文件“indata1.txt”的第 2 个数值“abc”不是数。"},
             Case{"15 99999", "1",
                  "管道表文件“indata1.txt”的第 2 个数值“99999”超出范围（公称直径须在 -32768 "
                  "到 32767 之间，内径须是单精度数）。"},
             Case{"15,,20", "1",
                  "管道表文件“indata1.txt”的第 2 个数值是空的（两个逗号之间没有数）。"},
             Case{"15 \xB9\xDC", "1", "管道表文件“indata1.txt”的第 2 个数值“??”不是数。"},
         }) {
        ProgramRun run(c.dn, c.d);
        std::string message;
        Severity severity = Severity::warning;
        run.toolkit.expect_message(&message, &severity);
        EXPECT_FALSE(run.start());
        EXPECT_EQ(message, std::string(c.expected) + "\n工作目录：" + path_text(run.folder.path()) +
                               "\n请改正后重新启动程序。");
        EXPECT_EQ(severity, Severity::critical);
        EXPECT_FALSE(std::filesystem::exists("outdata.txt"));
    }
}

TEST(Startup, StartingTwiceInARowLeavesTheHeaderOnlyAndKeepsNothing) {
    TempWorkingFolder folder;
    write_pipe_table(worked_dn, worked_d);
    for (int start = 0; start < 2; ++start) {
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        ASSERT_TRUE(window.start());
        EXPECT_EQ(toolkit.text(ControlId::problem_line), "");
    }
    EXPECT_EQ(read_bytes("outdata.txt"), header_bytes());
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        EXPECT_NE(entry.path().filename().string().rfind("outdata-", 0), 0u);
    }
}

TEST(Startup, ASecondStartInTheFolderTouchesNothingAndBringsTheFirstForward) {
    // State: a program running in the folder, one row logged. Action: start a second one
    // there. Expected: told, the first one's window brought forward by its token, the second
    // one ends; the log, its row and the sheet as they were, nothing kept aside.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    const std::string log = run.log();
    const std::string sheet = read_bytes("calcsheet.txt");

    RecordingToolkit second_toolkit;
    frmcompute second(second_toolkit);
    std::string message;
    Severity severity = Severity::warning;
    second_toolkit.expect_message(&message, &severity);
    EXPECT_FALSE(second.start());
    EXPECT_EQ(message.rfind("Kestrune 已经在文件夹 ", 0), 0u) << message;
    EXPECT_NE(message.find("本次启动没有改动任何文件"), std::string::npos);
    EXPECT_EQ(severity, Severity::information);
    EXPECT_EQ(second_toolkit.brought_to_front(), std::vector<std::string>{"recording toolkit"});
    EXPECT_EQ(run.log(), log);
    EXPECT_EQ(read_bytes("calcsheet.txt"), sheet);
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        EXPECT_NE(entry.path().filename().string().rfind("outdata-", 0), 0u);
    }
}

#ifndef _WIN32
TEST(Startup, ALockFileThatCannotBeLockedRefusesTheStartTouchingNothing) {
    // A link where the lock file should be: a second program could write here unseen.
    ProgramRun run;
    write_bytes("elsewhere", "");
    std::filesystem::create_symlink("elsewhere", std::string(folder_lock_name));
    std::string message;
    run.toolkit.expect_message(&message);
    EXPECT_FALSE(run.start());
    EXPECT_EQ(message, lock_in_the_way(path_text(std::filesystem::current_path())));
    EXPECT_FALSE(std::filesystem::exists("outdata.txt"));
    EXPECT_FALSE(std::filesystem::exists("calcsheet.txt"));
}
#endif

}  // namespace
}  // namespace kestrune::testing
