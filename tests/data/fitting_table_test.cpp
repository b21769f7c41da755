// SPDX-License-Identifier: GPL-3.0-or-later
#include "fitting_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "example_files.h"
#include "platform_files.h"
#include "temp_folder.h"

namespace kestrune {
namespace {

// The table shipped beside the example pipe table.
FittingTable shipped() {
    auto table = load_fitting_table(std::filesystem::path(KESTRUNE_EXAMPLES));
    EXPECT_TRUE(table.has_value());
    return table ? table.value() : FittingTable{};
}

TEST(FittingTable, TheShippedTableHoldsTheTextbookValues) {
    const FittingTable table = shipped();
    struct Case {
        const char* entry;
        std::int16_t dn;
        double xi;
    };
    for (const Case& c :
         {Case{"散热器", 20, 2.0},   Case{"突然扩大", 20, 1.0}, Case{"突然缩小", 20, 0.5},
          Case{"直流三通", 20, 1.0}, Case{"旁流三通", 20, 1.5}, Case{"合流三通", 20, 3.0},
          Case{"分流三通", 20, 3.0}, Case{"直流四通", 20, 2.0}, Case{"分流四通", 20, 3.0},
          Case{"截止阀", 15, 16},    Case{"截止阀", 20, 10},    Case{"截止阀", 25, 9},
          Case{"截止阀", 32, 9},     Case{"截止阀", 40, 8},     Case{"截止阀", 50, 7},
          Case{"截止阀", 150, 7},    Case{"斜杆截止阀", 15, 3}, Case{"斜杆截止阀", 32, 2.5},
          Case{"斜杆截止阀", 65, 2}, Case{"闸阀", 25, 0.5},     Case{"闸阀", 100, 0.5},
          Case{"90°煨弯", 20, 1.5},  Case{"90° 煨弯", 32, 1.0}, Case{"90°煨弯", 40, 0.5},
          Case{"乙字弯", 25, 1.0},   Case{"括弯", 15, 3},       Case{"括弯", 80, 2}}) {
        auto xi = evaluate_xi(c.entry, table, c.dn);
        ASSERT_TRUE(xi.has_value()) << c.entry << " DN" << c.dn;
        EXPECT_DOUBLE_EQ(xi.value(), c.xi) << c.entry << " DN" << c.dn;
    }
}

TEST(FittingTable, EntriesAddCountsOfFittingsAndNumbers) {
    const FittingTable table = shipped();
    struct Case {
        const char* entry;
        double xi;
    };
    for (const Case& c :
         {Case{"13", 13}, Case{"", 0}, Case{"  ", 0}, Case{"2×90°煨弯 + 截止阀", 13},
          Case{"2*90° 煨弯+1 截止阀", 13}, Case{"2x乙字弯＋1.5", 4.5}, Case{"截止阀+散热器", 12},
          Case{"3 散热器", 6}, Case{"0.5+0.25", 0.75}, Case{"1 000", 1000}}) {
        auto xi = evaluate_xi(c.entry, table, 20);
        ASSERT_TRUE(xi.has_value()) << c.entry;
        EXPECT_DOUBLE_EQ(xi.value(), c.xi) << c.entry;
    }
}

TEST(FittingTable, UnknownNamesAndSizesOutsideTheRangesAreSaid) {
    const FittingTable table = shipped();
    struct Case {
        const char* entry;
        std::int16_t dn;
        XiFault fault;
        const char* name;
    };
    for (const Case& c :
         {Case{"蝶阀", 20, XiFault::unknown_fitting, "蝶阀"},
          Case{"2×蝶阀+散热器", 20, XiFault::unknown_fitting, "蝶阀"},
          Case{"闸阀", 20, XiFault::dn_outside, "闸阀"}, Case{"-2", 20, XiFault::negative, "-2"},
          Case{"散热器++截止阀", 20, XiFault::not_a_number, "散热器++截止阀"}}) {
        auto xi = evaluate_xi(c.entry, table, c.dn);
        ASSERT_FALSE(xi.has_value()) << c.entry;
        EXPECT_EQ(xi.error().fault, c.fault) << c.entry;
        EXPECT_EQ(xi.error().name, c.name) << c.entry;
    }
}

TEST(FittingTable, ABadLineIsNamed) {
    auto table = parse_fitting_table("# 注释\n散热器 | 2.0 | 出处\n截止阀 | DN15=16 | 出处\n");
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(table.error().line, 3u);
    EXPECT_EQ(table.error().text, "截止阀 | DN15=16 | 出处");
    EXPECT_TRUE(
        parse_fitting_table("\xEF\xBB\xBF散热器 | 2 |\r\n闸阀|DN25-40:0.5 DN50+:0.4").has_value());
}

TEST(FittingTable, ALineNotInUtf8IsNamedAsSuch) {
    // 截止阀 saved as GBK by an editor: never taken as a name no entry matches.
    const auto table = parse_fitting_table(
        "# 名称 | 系数 | 出处\n闸阀 | 0.5 | 手册\n"
        "\xBD\xD8\xD6\xB9\xB7\xA7 | 9 | 手册\n");
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(table.error().line, 3u);
    EXPECT_TRUE(table.error().not_utf8);
    EXPECT_FALSE(parse_fitting_table("x | y\n").error().not_utf8);
}

TEST(FittingTable, ANameGivenTwiceAndOverlappingRangesAreNamedWithTheirLines) {
    const auto table = parse_fitting_table(
        "截止阀 | 9 | 手册\n闸阀 | DN15-25:0.5 DN20:0.3\n"
        "# 注\n截 止阀 | 7 | 另一本\n");
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table.value().doubts.size(), 2u);
    const FittingDoubt& overlap = table.value().doubts[0];
    EXPECT_EQ(overlap.line, 2u);
    EXPECT_TRUE(overlap.overlap);
    const FittingDoubt& twice = table.value().doubts[1];
    EXPECT_EQ(twice.line, 4u);
    EXPECT_EQ(twice.first_line, 1u);
    EXPECT_FALSE(twice.overlap);
    EXPECT_EQ(table.value().find("截止阀")->ranges.at(0).xi, 9.0);  // the first still wins
    EXPECT_TRUE(parse_fitting_table("闸阀 | DN15-20:0.5 DN25+:0.3\n").value().doubts.empty());
}

TEST(FittingTable, AliasesAndShortCodesCountAsTheFittingAndAreKeptByName) {
    const FittingTable table = shipped();
    struct Case {
        const char* entry;
        std::int16_t dn;
        double xi;
        const char* kept;
    };
    for (const Case& c : {
             Case{"2wt+jzf", 20, 13, "2×90°煨弯+截止阀"},
             Case{"2 WT ＋ Jzf", 20, 13, "2×90°煨弯+截止阀"},
             Case{"弯头+90度煨弯+煨弯", 32, 3, "90°煨弯+90°煨弯+90°煨弯"},
             Case{"截至阀", 15, 16, "截止阀"},
             Case{"2xgjzf", 15, 6, "2×斜杆截止阀"},  // the x is the code's, not a times sign
             Case{"1.5*srq+2", 20, 5, "1.5×散热器+2"},
             Case{"2×90°煨弯 + 截止阀", 20, 13, "2×90°煨弯 + 截止阀"},  // no alias: as typed
             Case{"13", 20, 13, "13"},
         }) {
        auto xi = evaluate_xi(c.entry, table, c.dn);
        ASSERT_TRUE(xi.has_value()) << c.entry;
        EXPECT_DOUBLE_EQ(xi.value(), c.xi) << c.entry;
        const std::string kept = xi_entry_in_full(c.entry, table);
        EXPECT_EQ(kept, c.kept);
        EXPECT_DOUBLE_EQ(evaluate_xi(kept, table, c.dn).value(), c.xi) << kept;
    }
}

TEST(FittingTable, AnAliasAlreadyTakenIsNamedAndANameOutranksAnyAlias) {
    const auto table = parse_fitting_table(
        "闸阀 | 0.5 | 手册 | zf fm\n截止阀 | 9 | 手册 | 闸阀、jzf，FM\nzf | 4\n");
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table.value().doubts.size(), 2u);
    for (const FittingDoubt& doubt : table.value().doubts) {
        EXPECT_TRUE(doubt.alias);
        EXPECT_EQ(doubt.line, 2u);
        EXPECT_EQ(doubt.first_line, 1u);
    }
    EXPECT_EQ(table.value().doubts[1].name, "FM");
    EXPECT_EQ(table.value().find("jzf")->name, "截止阀");
    EXPECT_EQ(table.value().find("闸阀")->name, "闸阀");
    EXPECT_EQ(table.value().find("fm")->name, "闸阀");
    EXPECT_EQ(table.value().find("zf")->name, "zf");  // a fitting's own name comes first
}

TEST(FittingTable, ATableWrittenWithoutAliasesAnswersToTheShippedOnes) {
    testing::TempWorkingFolder folder;
    testing::write_bytes(fitting_table_file,
                         "截止阀 | 7 | 手册\nwt | 5 | 自己的\n90°煨弯 | 1 | 手册\n");
    auto table = load_fitting_table(".");
    ASSERT_TRUE(table.has_value());
    EXPECT_DOUBLE_EQ(evaluate_xi("jzf+截至阀", table.value(), 20).value(), 14.0);
    EXPECT_DOUBLE_EQ(evaluate_xi("wt+弯头", table.value(), 20).value(), 6.0);  // its own wt
    EXPECT_EQ(evaluate_xi("srq", table.value(), 20).error().fault, XiFault::unknown_fitting);
}

TEST(FittingTable, AMissingFileGivesAnEmptyTableAndAFolderInItsPlaceIsSaid) {
    testing::TempWorkingFolder folder;
    auto table = load_fitting_table(".");
    ASSERT_TRUE(table.has_value());
    EXPECT_TRUE(table.value().fittings.empty());
    EXPECT_EQ(evaluate_xi("散热器", table.value(), 20).error().fault, XiFault::unknown_fitting);
    // A folder in its place is there, yet no table: said, not taken as none.
    std::filesystem::create_directory(fitting_table_file);
    table = load_fitting_table(".");
    ASSERT_FALSE(table.has_value());
    ASSERT_TRUE(table.error().file.has_value());
    EXPECT_EQ(table.error().file->in_the_way, FileKind::folder);
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

TEST(ExampleFiles, TheProgramsOwnCopiesAreTheShippedFilesByteForByte) {
    for (const char* name : {"indata1.txt", "indata2.txt", "fittings.txt"}) {
        EXPECT_EQ(example_file(name),
                  testing::read_bytes(std::filesystem::path(KESTRUNE_EXAMPLES) / name))
            << name;
    }
    EXPECT_TRUE(example_file("outdata.txt").empty());
    EXPECT_TRUE(parse_fitting_table(example_file(fitting_table_file)).has_value());
}

}  // namespace
}  // namespace kestrune
