// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipe_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "example_table.h"
#include "temp_folder.h"

namespace kestrune {
namespace {

using testing::example_d;
using testing::example_dn;

using testing::TempWorkingFolder;
using testing::write_bytes;

TEST(PipeTableParsing, ElevenValuesEachFillAllRows) {
    auto table = parse_pipe_table(example_dn, example_d);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table.value()[0].dn, 15);
    EXPECT_EQ(table.value()[0].d, 15.75f);
    EXPECT_EQ(table.value()[1].dn, 20);
    EXPECT_EQ(table.value()[1].d, 21.25f);
    EXPECT_EQ(table.value()[10].dn, 150);
    EXPECT_EQ(table.value()[10].d, 156.0f);
}

TEST(PipeTableParsing, ShortFirstFileLeavesItsRowsZero) {
    auto table = parse_pipe_table("15,20,25,32,40,50,70,80", example_d);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table.value()[7].dn, 80);
    for (std::size_t row : {8u, 9u, 10u}) {
        EXPECT_EQ(table.value()[row].dn, 0);
    }
    EXPECT_EQ(table.value()[10].d, 156.0f);
}

TEST(PipeTableParsing, SeparatorsLineEndsBlankLinesAndMarks) {
    struct Case {
        const char* name;
        std::string contents;
    };
    for (const Case& c : {Case{"commas_and_blanks", "15, 20 ,25\t32"},
                          Case{"lf_only", "15\n20\n25\n32\n"}, Case{"cr_only", "15\r20\r25\r32"},
                          Case{"blank_lines", "\r\n\r\n15\r\n\r\n20\r\n25\r\n   \r\n32\r\n\r\n"},
                          Case{"byte_order_mark",
                               "\xEF\xBB\xBF"
                               "15\r\n20\r\n25\r\n32"},
                          Case{"comma_at_line_end", "15,\r\n20,\r\n25,32,"},
                          Case{"signs_exponents_hex", "+15 2e1 &H19 &O40"}}) {
        auto table = parse_pipe_table(c.contents, "");
        ASSERT_TRUE(table.has_value()) << c.name;
        EXPECT_EQ(table.value()[0].dn, 15) << c.name;
        EXPECT_EQ(table.value()[1].dn, 20) << c.name;
        EXPECT_EQ(table.value()[2].dn, 25) << c.name;
        EXPECT_EQ(table.value()[3].dn, 32) << c.name;
        EXPECT_EQ(table.value()[4].dn, 0) << c.name;
    }
}

TEST(PipeTableParsing, EmptyFilesLeaveTheirColumnsZero) {
    auto table = parse_pipe_table("", "\r\n");
    ASSERT_TRUE(table.has_value());
    for (const PipeSize& row : table.value()) {
        EXPECT_EQ(row.dn, 0);
        EXPECT_EQ(row.d, 0.0f);
    }
}

TEST(PipeTableParsing, NominalDiametersRoundHalvesToEven) {
    auto table = parse_pipe_table("24.5 25.5", "");
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table.value()[0].dn, 24);
    EXPECT_EQ(table.value()[1].dn, 26);
}

struct BadTable {
    const char* name;
    std::string nominal;
    std::string inner;
    TableFault fault;
    const char* file;
    std::size_t position;
    std::string field_text;
    std::size_t field_count;
    friend std::ostream& operator<<(std::ostream& out, const BadTable& c) { return out << c.name; }
};

class PipeTableFaults : public ::testing::TestWithParam<BadTable> {};

TEST_P(PipeTableFaults, NameTheFileAndTheField) {
    const BadTable& c = GetParam();
    auto table = parse_pipe_table(c.nominal, c.inner);
    ASSERT_FALSE(table.has_value());
    const TableError& e = table.error();
    EXPECT_EQ(e.fault, c.fault);
    EXPECT_EQ(e.file, c.file);
    EXPECT_EQ(e.position, c.position);
    EXPECT_EQ(e.field_text, c.field_text);
    EXPECT_EQ(e.field_count, c.field_count);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PipeTableFaults,
    ::testing::Values(
        BadTable{"twelve_nominal", "1 2 3 4 5 6 7 8 9 10 11 12", "", TableFault::too_many_fields,
                 "indata1.txt", 0, "", 12},
        BadTable{"twelve_inner", example_dn, "1,2,3,4,5,6,7,8,9,10,11,12,13",
                 TableFault::too_many_fields, "indata2.txt", 0, "", 13},
        BadTable{"letters", "15\r\n2O\r\n", "", TableFault::not_a_number, "indata1.txt", 2, "2O",
                 0},
        BadTable{"double_sign", "--5", "", TableFault::not_a_number, "indata1.txt", 1, "--5", 0},
        BadTable{"binary", std::string("15 \x01\x02\xFF", 6), "", TableFault::not_a_number,
                 "indata1.txt", 2, std::string("\x01\x02\xFF", 3), 0},
        BadTable{"nominal_beyond_16_bits", "15 32768", "", TableFault::out_of_range, "indata1.txt",
                 2, "32768", 0},
        BadTable{"hex_beyond_16_bits", "&HFFFFF", "", TableFault::out_of_range, "indata1.txt", 1,
                 "&HFFFFF", 0},
        BadTable{"inner_beyond_float", "", "1 1e39", TableFault::out_of_range, "indata2.txt", 2,
                 "1e39", 0},
        BadTable{"inner_beyond_double", "", "1e999", TableFault::out_of_range, "indata2.txt", 1,
                 "1e999", 0},
        BadTable{"empty_between_commas", "15,,20", "", TableFault::empty_field, "indata1.txt", 2,
                 "", 0},
        BadTable{"leading_comma", ",15", "", TableFault::empty_field, "indata1.txt", 1, "", 0},
        BadTable{"empty_field_past_eleven", "1 2 3 4 5 6 7 8 9 10 11 12,,13", "",
                 TableFault::too_many_fields, "indata1.txt", 0, "", 13},
        BadTable{"long_junk_is_cut", std::string(100, 'x'), "", TableFault::not_a_number,
                 "indata1.txt", 1, std::string(40, 'x') + "...", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PipeTableParsing, HugeFilesAreCountedNotStored) {
    std::string many;
    for (int i = 0; i < 200000; ++i) {
        many += "15 ";
    }
    auto table = parse_pipe_table(many, "");
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(table.error().fault, TableFault::too_many_fields);
    EXPECT_EQ(table.error().field_count, 200000u);

    auto digits = parse_pipe_table("", std::string(10'000'000, '7'));
    ASSERT_FALSE(digits.has_value());
    EXPECT_EQ(digits.error().fault, TableFault::out_of_range);
}

TEST(PipeTableLookup, LastMatchingRowWins) {
    PipeTable pipes{};
    pipes[2] = {25, 27.0f};
    pipes[7] = {25, 21.25f};
    pipes[4] = {40, 41.0f};
    EXPECT_EQ(find_inner_diameter(pipes, 25), 21.25f);
    EXPECT_EQ(find_inner_diameter(pipes, 40), 41.0f);
    EXPECT_FALSE(find_inner_diameter(pipes, 65).has_value());
    // Unfilled rows have dn 0, so a choice of 0 finds the last of them.
    pipes[10] = {0, 9.0f};
    EXPECT_EQ(find_inner_diameter(pipes, 0), 9.0f);
}

TEST(PipeTableFiles, LoadsBothFilesFromTheWorkingFolder) {
    TempWorkingFolder folder;
    write_bytes("indata1.txt", example_dn);
    write_bytes("indata2.txt", example_d);
    auto table = load_pipe_table();
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(find_inner_diameter(table.value(), 25), 27.0f);
}

TEST(PipeTableFiles, MissingOrUnreadableFilesAreNamed) {
    TempWorkingFolder folder;
    auto missing = load_pipe_table();
    ASSERT_FALSE(missing.has_value());
    EXPECT_EQ(missing.error().fault, TableFault::missing_file);
    EXPECT_EQ(missing.error().file, "indata1.txt");
    EXPECT_FALSE(missing.error().reason.empty());

    write_bytes("indata1.txt", example_dn);
    EXPECT_EQ(load_pipe_table().error().file, "indata2.txt");

    std::filesystem::create_directory("indata2.txt");
    auto folder_error = load_pipe_table();
    ASSERT_FALSE(folder_error.has_value());
    EXPECT_EQ(folder_error.error().fault, TableFault::unreadable);
    EXPECT_EQ(folder_error.error().file, "indata2.txt");
}

TEST(PipeTableFiles, HostileFilesLoadOrGiveTheirNamedErrorQuickly) {
    struct Case {
        const char* name;
        std::string contents;
        std::optional<TableFault> fault;  // nullopt: loads
    };
    const Case cases[] = {
        {"empty", "", std::nullopt},
        // Within the size limit: read, and judged by what they hold.
        {"sixty_kilobytes_of_blanks_around_a_number", std::string(60'000, ' ') + "15\r\n",
         std::nullopt},
        {"sixty_kilobytes_of_digits", std::string(60'000, '7'), TableFault::out_of_range},
        {"twenty_thousand_fields",
         [] {
             std::string s;
             for (int i = 0; i < 20'000; ++i) {
                 s += "15 ";
             }
             return s;
         }(),
         TableFault::too_many_fields},
        // Beyond it: refused by their size alone.
        {"thirty_megabytes_of_blanks", std::string(30'000'000, ' '), TableFault::too_large},
        {"thirty_megabytes_of_junk", std::string(30'000'000, 'x'), TableFault::too_large},
        // UTF-16, with its byte-order mark or without, of either byte order.
        {"utf16_little_endian",
         std::string("\xFF\xFE"
                     "1\0"
                     "5\0\r\0\n\0",
                     10),
         TableFault::utf16},
        {"utf16_big_endian",
         std::string("\xFE\xFF\0"
                     "1\0"
                     "5",
                     6),
         TableFault::utf16},
        {"utf16_without_mark",
         std::string("1\0"
                     "5\0",
                     4),
         TableFault::utf16},
        {"utf16_blank_first",
         std::string("\0 \0"
                     "1",
                     4),
         TableFault::utf16},
        {"binary", std::string("\x00\x01\x02\xFE\xFF", 5), TableFault::not_a_number},
        {"nul_after_number", std::string("15\x00", 3), TableFault::not_a_number},
        {"cr_only", "15\r20\r25", std::nullopt},
        {"byte_order_mark",
         "\xEF\xBB\xBF"
         "15\r\n",
         std::nullopt},
    };
    for (const Case& c : cases) {
        TempWorkingFolder folder;
        write_bytes("indata1.txt", c.contents);
        write_bytes("indata2.txt", example_d);
        const auto started = std::chrono::steady_clock::now();
        auto table = load_pipe_table();
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_LT(took, std::chrono::seconds(5)) << c.name;
        ASSERT_EQ(table.has_value(), !c.fault.has_value()) << c.name;
        if (c.fault) {
            EXPECT_EQ(table.error().fault, *c.fault) << c.name;
            EXPECT_EQ(table.error().file, "indata1.txt") << c.name;
            EXPECT_LE(table.error().field_text.size(), 43u) << c.name;
        }
    }
}

TEST(PipeTableFiles, FilesBeyondTheSizeLimitAreRefused) {
    TempWorkingFolder folder;
    write_bytes("indata1.txt", std::string(largest_table_file + 1, ' '));
    write_bytes("indata2.txt", "");
    auto table = load_pipe_table();
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(table.error().fault, TableFault::too_large);
}

}  // namespace
}  // namespace kestrune
