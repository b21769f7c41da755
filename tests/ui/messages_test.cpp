// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <utility>

#include "sheet_dialogs.h"
#include "sheet_messages.h"

namespace kestrune {
namespace {

TEST(FileReasons, AreToldInChineseWithTheSystemsWordsAfter) {
    struct Case {
        int code;
        const char* words;
    };
    for (const Case& c :
         {Case{EACCES, "没有权限"}, Case{EPERM, "没有权限"}, Case{EROFS, "磁盘或文件夹是只读的"},
          Case{ENOSPC, "磁盘已满或文件太大"}, Case{EFBIG, "磁盘已满或文件太大"},
          Case{ENOENT, "找不到该文件或文件夹"}, Case{EISDIR, "有同名的文件夹占用了这个文件名"},
          Case{EBUSY, "文件正被另一个程序使用"}, Case{EIO, "系统报告错误"}}) {
        const FileError error = file_error("outdata.txt", c.code);
        EXPECT_EQ(
            log_append_problem(error),
            "无法把本次结果写入“outdata.txt”：" + std::string(c.words) + "（" +
                system_reason(c.code) +
                "）。\n文件保持原样，本次结果只显示在结果窗口中。请解决此问题后再计算一次本管段。")
            << c.code;
    }
    // Without the system's words, the Chinese ones stand alone.
    const std::string expected = "无法建立结果文件“outdata.txt”：磁盘已满或文件太大。";
    EXPECT_EQ(log_recreate_problem(FileError{"outdata.txt", "", ENOSPC}, "D:\\设计")
                  .substr(0, expected.size()),
              expected);
}

TEST(FileReasons, WhatStandsInPlaceOfAFileIsNamed) {
    struct Case {
        FileKind kind;
        const char* words;
    };
    for (const Case& c :
         {Case{FileKind::folder, "有同名的文件夹占用了这个文件名"},
          Case{FileKind::link, "这里是一个符号链接，不是普通文件；程序不经链接读写文件"},
          Case{FileKind::fifo, "这里是一个命名管道（FIFO），不是普通文件"},
          Case{FileKind::device, "这里是一个设备，不是普通文件"},
          Case{FileKind::socket, "这里是一个套接字，不是普通文件"}}) {
        const std::string expected =
            "无法建立结果文件“outdata.txt”：" + std::string(c.words) + "。";
        EXPECT_EQ(log_recreate_problem(not_a_file("outdata.txt", c.kind), "/work")
                      .substr(0, expected.size()),
                  expected);
    }
    TableError table;
    table.fault = TableFault::unreadable;
    table.file = "indata1.txt";
    table.in_the_way = FileKind::fifo;
    const std::string fifo =
        "无法读取管道表文件“indata1.txt”：这里是一个命名管道（FIFO），不是普通文件。";
    EXPECT_EQ(table_problem(table, "/work").substr(0, fifo.size()), fifo);
    table.fault = TableFault::utf16;
    const std::string utf16 =
        "无法读取管道表文件“indata1.txt”：文件是 UTF-16 编码，请另存为 ANSI 或 UTF-8。";
    EXPECT_EQ(table_problem(table, "/work").substr(0, utf16.size()), utf16);
}

TEST(FileReasons, AFailedAppendSaysWhatTheFileHolds) {
    FileError flush = file_error("outdata.txt", EIO, FileStep::flush);
    EXPECT_EQ(
        log_append_problem(flush),
        "本次结果写入“outdata.txt”后无法存到磁盘上（同步失败）：系统报告错误（" +
            system_reason(EIO) +
            "）。\n文件保持原样，本次结果只显示在结果窗口中。请解决此问题后再计算一次本管段。");
    flush.unchanged = false;
    const std::string changed = log_append_problem(flush);
    EXPECT_NE(changed.find("撤回没有成功，文件已经变了：本次结果可能已全部或部分写入。"),
              std::string::npos);
    EXPECT_EQ(changed.find("文件保持原样"), std::string::npos);

    FileError header = file_error("outdata.txt", 0);
    header.step = FileStep::header;
    EXPECT_EQ(log_append_problem(header).rfind("结果文件“outdata.txt”的开头不是表头行", 0), 0u);
    const std::string flushed =
        log_recreate_problem(file_error("outdata.txt", EIO, FileStep::flush), "/w");
    EXPECT_EQ(flushed.rfind("结果文件“outdata.txt”的表头写出后无法存到磁盘上（同步失败）", 0), 0u);
    EXPECT_NE(flushed.find("结果文件没有建立。"), std::string::npos);
}

TEST(EngineersWords, EachNoteAndRefusalReadsAsWritten) {
    design_state changed;
    changed.rho = 977.8f;
    changed.nu = 0.5f;
    const std::pair<std::string, std::string_view> cases[] = {
        {stale_design_note(1.2f, 1.1f, 25, 25),
         "设计负荷仍按富裕系数 1.2 计算，新值 1.1 待改动用户负荷后生效。"},
        {stale_design_note(1.2f, 1.2f, 10, 20),
         "设计流量仍按温差 10 K 计算，新值 20 K 待改动用户负荷后生效。"},
        {stale_design_note(1.2f, 1.5f, 10, 20),
         "设计负荷和流量仍按富裕系数 1.2、温差 10 K 计算，新值 1.5、20 K 待改动用户负荷后生效。"},
        {stale_design_note(1.2f, 1.2f, 25, 25), ""},
        {current_value_tip(983.25f, "kg/m³"), "当前：983.25 kg/m³"},
        {current_value_tip(0.5f, "mm²/s"), "当前：0.5 mm²/s"},
        {preview_parameters_note(changed),
         "按密度 977.8 kg/m³、供水 95 °C、回水 70 °C、粘滞系数 0.5 mm²/s 计算"},
        {earlier_log_kept("outdata-20261208-0930.txt"),
         "上次运行的结果已另存为 outdata-20261208-0930.txt。"},
        {diameter_not_in_table(65),
         "管道表中没有公称直径 65。本次计算已取消，请再点“确定”，从列表中选择一个公称直径。"},
        {diameter_out_of_range("40000"),
         "公称直径“40000”超出范围（须在 -32768 到 32767 之间）。本次计算已取消，"
         "请再点“确定”重新选择。"},
        {load_blocks_sizing("负荷是负数。"),
         "负荷输入有误：负荷是负数。\n请先改正用户负荷，再点“确定”。"},
        {fitting_table_problem({3, "?", true, std::nullopt}, "fittings.txt"),
         "局部阻力系数表“fittings.txt”第 3 行不是 UTF-8 文本（也许存成了 GBK）。请用 UTF-8 "
         "另存该文件。本次改用程序自带的系数表，其中没有你自己加的管件。"},
        {fitting_table_doubts({{7, 3, "截止阀", false}, {9, 9, "闸阀", true}}, "fittings.txt"),
         "局部阻力系数表“fittings.txt”中：第 7 行“截止阀”与第 3 行重名，用第 3 行的值；"
         "第 9 行“闸阀”的 DN 范围有重叠，用先写的值。"},
        {export_over_own_file("calcsheet.txt"),
         "“calcsheet.txt”是 Kestrune 在工作文件夹中自己使用的文件，导出的文件不能替换它，"
         "没有写出。请换一个文件名再导出。"},
        {sheet_unsaved_note(), "计算表的改动没有保存到 calcsheet.txt。可用“导出 Excel”另存一份。"},
        {unsaved_quit_question(),
         "计算表最近的改动没有保存到 calcsheet.txt。现在退出，这些改动就没有了。\n"
         "可以先不退出，用计算表的“导出 Excel”另存一份。"},
        {entry_not_taken_question("管长“-1”不行。"),
         "计算表中正在输入的内容还没有记入：管长“-1”不行。\n放弃这个输入，还是回到计算表改正？"},
        {lock_in_the_way("/home/设计"),
         "文件夹 /home/设计 中的 kestrune.lock 不是本程序能锁定的普通文件（可能是符号链接、"
         "文件夹，或属于别的用户）。\n没有这把锁，就不能保证只有一个 Kestrune 写这个文件夹；"
         "本次启动没有改动任何文件，现在退出。请删除它后再启动。"},
        {length_refused("5,5"),
         "管长“5,5”不行：须是不小于 0 的数（m），用半角数字和小数点写，如 12.5。"},
    };
    for (const auto& [said, written] : cases) {
        EXPECT_EQ(said, written);
    }
}

}  // namespace
}  // namespace kestrune
