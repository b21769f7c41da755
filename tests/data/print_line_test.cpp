// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_line.h"

#include <gtest/gtest.h>

#include "cp936.h"
#include "print_statements.h"
#include "worked_sizing.h"

namespace kestrune {
namespace {

TEST(FileLine, WorkedExampleRowPutsSignBlanksOnZoneStarts) {
    const std::string expected = std::string(" 10000 ") + std::string(7, ' ') + " 12000 " +
                                 std::string(7, ' ') + " 412.71 " + std::string(6, ' ') + " 25 " +
                                 std::string(10, ' ') + " .329 " + std::string(8, ' ') +
                                 " 101.17 \r\n";
    const std::string line = file_line(result_values(testing::worked_sizing()));
    EXPECT_EQ(line, expected);
    for (std::size_t column : {1u, 15u, 29u, 43u, 57u, 71u}) {
        EXPECT_EQ(line[column - 1], ' ') << column;
        EXPECT_NE(line[column], ' ') << column;
    }
}

TEST(FileLine, LogHeaderIsExactCodePage936Bytes) {
    const std::string header = file_line(log_header());
    const std::string expected =
        to_cp936("用户负荷") + std::string(6, ' ') + to_cp936("设计负荷") + std::string(6, ' ') +
        to_cp936("设计流量") + std::string(6, ' ') + to_cp936("公称管径") + std::string(6, ' ') +
        " " + to_cp936("流速") + std::string(8, ' ') + " " + to_cp936("比摩阻") + "\r\n";
    EXPECT_EQ(header, expected);
    EXPECT_EQ(header.size(), 78u);
    // Labels start at columns 1, 15, 29, 43, 57 and 70.
    EXPECT_EQ(header.substr(0, 2), "\xD3\xC3");    // 用
    EXPECT_EQ(header.substr(14, 2), "\xC9\xE8");   // 设
    EXPECT_EQ(header.substr(28, 2), "\xC9\xE8");   // 设
    EXPECT_EQ(header.substr(42, 2), "\xB9\xAB");   // 公
    EXPECT_EQ(header.substr(56, 3), " \xC1\xF7");  // blank, 流
    EXPECT_EQ(header.substr(69, 3), " \xB1\xC8");  // blank, 比
}

TEST(FileLine, NumbersAndTextsInTheirWrittenForms) {
    EXPECT_EQ(file_line({float_item(0.0404f, Separator::end_of_line)}), " .0404 \r\n");
    EXPECT_EQ(file_line({float_item(1200.0f, Separator::end_of_line)}), " 1200 \r\n");
    EXPECT_EQ(file_line({int_item(25, Separator::end_of_line)}), " 25 \r\n");
    EXPECT_EQ(file_line({float_item(-3.5f, Separator::end_of_line)}), "-3.5 \r\n");
    EXPECT_EQ(
        file_line({text_item("ab", Separator::semicolon), text_item("cd", Separator::end_of_line)}),
        "abcd\r\n");
}

TEST(FileLine, DiameterListRowAndHeader) {
    EXPECT_EQ(file_line(diameter_list_row({25, 21.25f})),
              " 25 " + std::string(10, ' ') + " 21.25 \r\n");
    EXPECT_EQ(file_line(diameter_list_row({})), " 0 " + std::string(11, ' ') + " 0 \r\n");
    EXPECT_EQ(file_line(diameter_list_header()),
              to_cp936("公称直径") + std::string(6, ' ') + to_cp936("管道内径") + "\r\n");
}

TEST(FileLine, CommaAfterAnItemReachingAZoneStartMovesToTheZoneAfter) {
    // 14 columns end exactly on the start of zone 2: the next item goes to zone 3.
    const std::string fourteen(14, 'x');
    EXPECT_EQ(
        file_line({text_item(fourteen, Separator::comma), text_item("y", Separator::end_of_line)}),
        fourteen + std::string(14, ' ') + "y\r\n");
    // 13 columns end one short: the next item starts on zone 2.
    const std::string thirteen(13, 'x');
    EXPECT_EQ(
        file_line({text_item(thirteen, Separator::comma), text_item("y", Separator::end_of_line)}),
        thirteen + " y\r\n");
    // Past a zone start: the next zone start after the end.
    const std::string twenty(20, 'x');
    EXPECT_EQ(
        file_line({text_item(twenty, Separator::comma), text_item("y", Separator::end_of_line)}),
        twenty + std::string(8, ' ') + "y\r\n");
}

TEST(PlaceItems, WindowMeasureUsesTheSameRule) {
    // A font where every character is 7.5 pixels wide, zones 14 characters apart.
    auto width = [](std::string_view t) { return 7.5 * static_cast<double>(t.size()); };
    auto placed = place_items(results_header(), width, 14 * 7.5);
    ASSERT_EQ(placed.size(), 6u);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_DOUBLE_EQ(placed[i].x, 105.0 * static_cast<double>(i)) << i;
    }
    EXPECT_EQ(placed[4].text, " 流速 ");
}

}  // namespace
}  // namespace kestrune
