// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>

#include "platform_files.h"
#include "temp_folder.h"
#include "worked_sizing.h"

namespace kestrune {
namespace {

using testing::read_bytes;
using testing::TempWorkingFolder;
using testing::write_bytes;

SheetData two_rows() {
    SheetData sheet;
    SheetRow first = sheet_row_of(testing::worked_sizing());
    first.segment = "1";
    first.length = 12.5;
    first.xi_entry = "2×90°煨弯 + 截止阀";
    first.xi = 13;
    first.loops = {"1", "2"};
    first.note = "带\t制表符、换行\n和反斜杠\\的备注";
    SheetRow second = first;
    second.segment = "1a";
    second.length = 0.1;
    second.loops.clear();
    second.note.clear();
    sheet.rows = {first, second};
    sheet.loops = {"1", "2", "3"};
    sheet.limit = 12.5;
    return sheet;
}

TEST(SheetFile, WritesReadableTextThatReadsBackExactly) {
    const SheetData sheet = two_rows();
    const std::string text = sheet_text(sheet);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "Kestrune 水力计算表 第 1 版\n");
    EXPECT_NE(
        text.find(
            "\n不平衡率限值\t12.5\n环路\t1\t2\t3\n管段\t1\t12.5\t2×90°煨弯 + 截止阀\t13\t1 "
            "2\t带\\t制表符、换行\\n和反斜杠\\\\的备注\t10000\t12000\t412.71\t25\t0.329\t101.17\t"
            "21.25\t0.0404\t1.2\t983.25\t95\t70\t0.477\t0.2\n"),
        std::string::npos)
        << text;
    EXPECT_EQ(text.substr(text.rfind("共")), "共\t2\t管段\n");
    auto back = parse_sheet(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back.value(), sheet);
}

TEST(SheetFile, ANetworkIsKeptAsTheSecondVersionAndTheFirstReadsWithoutLoss) {
    SheetData sheet = two_rows();
    sheet.rows[1].upstream = {"1", "1\\b"};
    sheet.rows[1].consumer = 0;
    sheet.rows[1].dn_choice = DnChoice::chosen;
    const std::string text = sheet_text(sheet);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "Kestrune 水力计算表 第 2 版\n");
    // The first version's fields, then 上游, 用户负荷 and whose DN it is.
    EXPECT_NE(text.find("\t0.477\t0.2\t\t10000\t定\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\t0.477\t0.2\t1 1\\\\b\t0\t自动\n"), std::string::npos) << text;
    auto back = parse_sheet(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back.value(), sheet);

    // A first-version file: no 上游, each load its consumer's, each DN the engineer's.
    auto first = parse_sheet(sheet_text(two_rows()));
    ASSERT_TRUE(first.has_value());
    for (const SheetRow& row : first.value().rows) {
        EXPECT_TRUE(row.upstream.empty());
        EXPECT_EQ(row.consumer, row.q_user);
        EXPECT_EQ(row.dn_choice, DnChoice::engineer);
    }
    // A second-version row with a whose-DN word of neither kind is damaged.
    std::string odd = text;
    odd.replace(odd.find("\t自动\n"), 8, "\t也许\n");
    ASSERT_FALSE(parse_sheet(odd).has_value());
    EXPECT_EQ(parse_sheet(odd).error().line, 7u);

    // The entrance's available pressure alone makes a second version.
    SheetData given = two_rows();
    given.available_pressure = 25000;
    const std::string with_pressure = sheet_text(given);
    EXPECT_NE(with_pressure.find(
                  "第 2 版\n不平衡率限值\t12.5\n比摩阻上限\t120\n入口资用压力\t25000\n环路\t"),
              std::string::npos)
        << with_pressure;
    EXPECT_EQ(parse_sheet(with_pressure).value(), given);
    EXPECT_NE(text.find("\n入口资用压力\t\n"), std::string::npos);  // not given: empty
}

TEST(SheetFile, DamagedOrNewerTextIsToldWithWhere) {
    const std::string good = sheet_text(two_rows());
    struct Case {
        const char* name;
        std::string text;
        SheetFault fault;
        std::size_t line;
    };
    const Case cases[] = {
        {"empty", "", SheetFault::damaged, 1},
        {"not_a_sheet", "用户负荷      \r\n", SheetFault::damaged, 1},
        {"cut_in_a_row", good.substr(0, good.size() / 2), SheetFault::damaged, 0},
        {"without_its_end", good.substr(0, good.rfind("共")), SheetFault::damaged, 5},
        {"count_wrong", good.substr(0, good.rfind("共")) + "共\t3\t管段\n", SheetFault::damaged, 6},
        {"number_changed",
         [&] {
             std::string t = good;
             t.replace(t.find("412.71"), 6, "4l2.71");
             return t;
         }(),
         SheetFault::damaged, 4},
        {"newer", "Kestrune 水力计算表 第 3 版\n其他内容\n", SheetFault::newer, 0},
    };
    for (const Case& c : cases) {
        auto parsed = parse_sheet(c.text);
        ASSERT_FALSE(parsed.has_value()) << c.name;
        EXPECT_EQ(parsed.error().fault, c.fault) << c.name;
        if (c.line != 0) {
            EXPECT_EQ(parsed.error().line, c.line) << c.name;
        }
    }
    EXPECT_EQ(parse_sheet("Kestrune 水力计算表 第 3 版\n").error().version, 3);
}

TEST(SheetFile, ADamagedFileIsKeptAsideNeverOverwritten) {
    TempWorkingFolder folder;
    const std::string damaged = sheet_text(two_rows()).substr(0, 100);
    write_bytes(sheet_file_name, damaged);
    auto loaded = load_sheet(std::string(sheet_file_name));
    ASSERT_TRUE(loaded.has_value());
    EXPECT_TRUE(loaded.value().sheet.rows.empty());
    ASSERT_TRUE(loaded.value().fault.has_value());
    ASSERT_TRUE(loaded.value().set_aside.has_value());
    EXPECT_EQ(read_bytes(*loaded.value().set_aside), damaged);
    EXPECT_EQ(loaded.value().set_aside->filename().string().rfind("calcsheet-", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(sheet_file_name));
}

TEST(SheetFile, SavedSheetLoadsBackAndAMissingOneIsEmpty) {
    TempWorkingFolder folder;
    auto none = load_sheet(std::string(sheet_file_name));
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none.value().sheet.rows.empty());
    EXPECT_FALSE(none.value().fault.has_value());
    ASSERT_FALSE(save_sheet(std::string(sheet_file_name), two_rows()).has_value());
    auto loaded = load_sheet(std::string(sheet_file_name));
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded.value().sheet, two_rows());
    EXPECT_FALSE(std::filesystem::exists("calcsheet.txt.new"));
}

TEST(SheetFile, ANoteEditedInAnotherEncodingIsDamageAtItsLine) {
    // 立管 typed into the note by hand in GBK: the sheet is not read as if it were text.
    std::string text = sheet_text(two_rows());
    const std::size_t note = text.find("带");
    ASSERT_NE(note, std::string::npos);
    text.replace(note, std::string("带").size(), "\xC1\xA2\xB9\xDC");
    const auto parsed = parse_sheet(text);
    ASSERT_FALSE(parsed.has_value());
    EXPECT_EQ(parsed.error().fault, SheetFault::damaged);
    EXPECT_EQ(parsed.error().line,
              static_cast<std::size_t>(
                  std::count(text.begin(), text.begin() + static_cast<long>(note), '\n') + 1));
}

TEST(SheetFile, AReadOnlySheetIsToldAndStaysAsItWas) {
    TempWorkingFolder folder;
    const std::filesystem::path file{sheet_file_name};
    write_bytes(file, "mine");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    const auto mode = std::filesystem::status(file).permissions();  // as the system shows it
    const auto error = save_sheet(file, SheetData{});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code, EACCES);
    EXPECT_EQ(read_bytes(file), "mine");
    EXPECT_EQ(std::filesystem::status(file).permissions(), mode);
}

TEST(SheetFile, WhatStandsInThePartnersPlaceIsNamedAsItself) {
    TempWorkingFolder folder;
    const std::filesystem::path file{sheet_file_name};
    std::filesystem::create_directory("calcsheet.txt.new");
    const auto error = save_sheet(file, SheetData{});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->file, "calcsheet.txt.new");
    EXPECT_EQ(error->in_the_way, FileKind::folder);
    EXPECT_TRUE(std::filesystem::is_directory("calcsheet.txt.new"));
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace kestrune
