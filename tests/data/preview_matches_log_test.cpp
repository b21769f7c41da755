// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <optional>
#include <random>
#include <string>

#include "design_steps.h"
#include "example_table.h"
#include "pipe_preview.h"
#include "pipe_table.h"
#include "print_line.h"
#include "print_statements.h"

namespace kestrune {
namespace {

using testing::example_d;
using testing::example_dn;

std::string number_text(double value) {
    char buf[64];
    auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

// The log row that the sizing run writes when the engineer answers dn: the lookup, then the
// sizing of the row it finds, then the line of the results log; nullopt when the sizing
// meets a fault and logs nothing.
std::optional<std::string> logged_row(design_state s, std::int16_t dn) {
    auto d = find_inner_diameter(s.pipes, dn);
    EXPECT_TRUE(d.has_value());
    if (size_pipe(s, PipeSize{dn, *d})) {
        return std::nullopt;
    }
    return file_line(result_values(s));
}

// The log row with v and r as the preview shows them.
std::string previewed_row(const design_state& s, std::int16_t dn, const PrintStatement& shown) {
    design_state expected = s;
    expected.dn = dn;
    PrintStatement row = result_values(expected);
    row[4].text = shown.at(preview_first_item).text;
    row[5].text = shown.at(preview_first_item + 1).text;
    return file_line(row);
}

TEST(PreviewLine, KeepsTheTableColumnsAndPutsTheNewOnesInZonesThreeToFive) {
    // Laid out as a file line, one column per code page 936 byte.
    EXPECT_EQ(file_line(diameter_preview_header()),
              std::string("\xB9\xAB\xB3\xC6\xD6\xB1\xBE\xB6      "  // 公称直径 at 1
                          "\xB9\xDC\xB5\xC0\xC4\xDA\xBE\xB6      "  // 管道内径 at 15
                          "\xC1\xF7\xCB\xD9(m/s)     "              // 流速 at 29
                          "\xB1\xC8\xC4\xA6\xD7\xE8(Pa/m)\r\n"));   // 比摩阻 at 43
    const PipeSize dn20{20, 21.25f};
    const std::string plain = file_line(diameter_list_row(dn20));
    EXPECT_EQ(plain, " 20            21.25 \r\n");
    const std::string row =
        file_line(diameter_preview_row(dn20, {0.329f, 101.17f, PreviewMark::suggested}));
    EXPECT_EQ(row, " 20            21.25         .329          101.17       \xCD\xC6\xBC\xF6\r\n");
    EXPECT_EQ(row.substr(0, 20), plain.substr(0, 20));  // the table columns stay as they are
    EXPECT_EQ(file_line(diameter_preview_row(dn20, {1.2f, 2000.5f, PreviewMark::too_fast})),
              " 20            21.25         1.2           2000.5       \xB3\xAC\xCB\xD9\r\n");
    EXPECT_EQ(file_line(diameter_preview_row(dn20, {0.5f, 60.0f, PreviewMark::none})),
              " 20            21.25         .5            60 \r\n");
}

TEST(PreviewLine, NoteNamesBothLimitsAndTheirSource) {
    const PrintStatement note = diameter_preview_note();
    ASSERT_EQ(note.size(), 1u);
    const std::string& text = note[0].text;
    for (const char* part : {"超速", "推荐", "GB 50736-2012", "5.9.13", "0.8", "120 Pa/m"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part;
    }
}

TEST(PreviewMatchesTheLog, ForEveryRowUnderRandomLoadsAndParameters) {
    auto table = parse_pipe_table(example_dn, example_d);
    ASSERT_TRUE(table.has_value());
    std::mt19937 random(20261207);
    auto between = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    int rows_compared = 0;
    int rows_failing = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        design_state s;
        s.pipes = table.value();
        s.k_margin = static_cast<float>(between(1.0, 1.5));
        const auto t_return = static_cast<std::int16_t>(between(30, 80));
        ASSERT_FALSE(s.set_t_return(t_return).has_value());
        ASSERT_FALSE(
            s.set_t_supply(static_cast<std::int16_t>(t_return + between(5, 50))).has_value());
        s.rho = static_cast<float>(between(950.0, 1000.0));
        s.nu = static_cast<float>(between(0.25, 1.5));
        // Loads from 100 W to 2 MW, spread evenly over the decades.
        const std::string load = number_text(std::pow(10.0, between(2.0, 6.3)));
        ASSERT_FALSE(enter_load(s, load).has_value()) << load;

        auto preview = preview_table(s);
        ASSERT_TRUE(preview.has_value()) << load;
        for (std::size_t i = 0; i < s.pipes.size(); ++i) {
            const PipeSize& pipe = s.pipes[i];
            const auto logged = logged_row(s, pipe.dn);
            // A row without a preview is one whose sizing fails (a resistance beyond what
            // the rounding holds, in a pipe far too small).
            ASSERT_EQ((*preview)[i].has_value(), logged.has_value())
                << "load " << load << " DN" << pipe.dn;
            if (!logged) {
                ++rows_failing;
                continue;
            }
            const PrintStatement shown = diameter_preview_row(pipe, *(*preview)[i]);
            EXPECT_EQ(previewed_row(s, pipe.dn, shown), *logged)
                << "load " << load << " DN" << pipe.dn << " rho " << s.rho << " nu " << s.nu
                << " dt " << s.dt;
            ++rows_compared;
        }
    }
    // Nearly all rows are compared; the few failing ones are the smallest pipes.
    EXPECT_GT(rows_compared, 2000 * 10);
    EXPECT_EQ(rows_compared + rows_failing, 2000 * 11);
}

}  // namespace
}  // namespace kestrune
