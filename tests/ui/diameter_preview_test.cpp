// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "example_table.h"
#include "number_text.h"
#include "program_run.h"

namespace kestrune::testing {
namespace {

// The diameter list as printed while the input box waited.
struct ListSeen {
    std::vector<std::string> lines;
    std::vector<std::vector<bool>> muted;
};

// Clicks OK and answers dn, capturing the list meanwhile; a message that must follow (the
// sizing refused) is expected too.
ListSeen size_with(ProgramRun& run, const std::string& dn, bool refused = false) {
    ListSeen seen;
    run.toolkit.answer_input(dn, nullptr, [&run, &seen] {
        for (std::size_t i = 0; i < run.list().lines.size(); ++i) {
            seen.lines.push_back(run.list().line(i));
            seen.muted.push_back(run.list().muted(i));
        }
    });
    if (refused) {
        run.toolkit.expect_message();
    }
    run.click(ControlId::cmdok);
    return seen;
}

// The items of a printed line.
std::vector<std::string> items(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
        out.push_back(line.substr(start, bar - start));
    }
    out.push_back(line.substr(start));
    return out;
}

// The last line of the results log.
std::string last_row(const std::string& log) {
    const std::size_t end = log.size() - 2;  // before the final CR LF
    return log.substr(log.rfind("\r\n", end - 1) + 2);
}

TEST(DiameterPreview, WithoutALoadTheListIsThePlainTable) {
    // State: nothing typed, or a load that reads as 0 W. Expected: the two-column table, no
    // note, nothing muted; the sizing is then refused for want of a load.
    for (const char* load : {"", "abc"}) {
        ProgramRun run(example_dn, example_d);
        ASSERT_TRUE(run.start());
        run.type_load(load);
        const ListSeen seen = size_with(run, "25", true);
        ASSERT_EQ(seen.lines.size(), 12u);
        EXPECT_EQ(seen.lines[0], "公称直径|管道内径");
        EXPECT_EQ(seen.lines[2], " 20 | 21.25 ");
        EXPECT_EQ(seen.lines[11], " 150 | 156 ");
        for (const auto& line : seen.muted) {
            EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](bool m) { return m; }));
        }
    }
}

TEST(DiameterPreview, TenKilowattsShowTheWorkedNumbersBesideDN20AsSuggested) {
    // State: 10000 W with the example table. Action: OK, answer 20. Expected: v and r beside
    // DN20 with "推荐", muted new columns, the note below, and the same numbers logged.
    ProgramRun run(example_dn, example_d);
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    const ListSeen seen = size_with(run, "20");
    ASSERT_EQ(seen.lines.size(), 14u);
    EXPECT_EQ(seen.lines[0], "公称直径|管道内径|流速(m/s)|比摩阻(Pa/m)");
    EXPECT_EQ(seen.lines[2], " 20 | 21.25 | .329 | 101.17 |推荐");
    EXPECT_EQ(seen.lines[12],
              "超速：流速超过 GB 50736-2012 表 5.9.13 的限值（0.8～2 m/s）；推荐：不超速、"
              "比摩阻≤120 Pa/m 的最小管径");
    EXPECT_EQ(seen.muted[2], (std::vector<bool>{false, false, true, true, true}));
    EXPECT_EQ(seen.muted[0], (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(seen.muted[12], std::vector<bool>{true});
    EXPECT_EQ(seen.lines[13],
              "按密度 983.25 kg/m³、供水 95 °C、回水 70 °C、粘滞系数 0.477 mm²/s 计算");
    EXPECT_EQ(seen.muted[13], std::vector<bool>{true});
    EXPECT_EQ(run.log(), header_bytes() + row_bytes(10000, 12000, 412.71f, 20, 0.329f, 101.17f));
    EXPECT_EQ(std::count_if(seen.lines.begin() + 1, seen.lines.begin() + 12,
                            [](const std::string& l) { return l.find("推荐") != l.npos; }),
              1);
}

TEST(DiameterPreview, EveryRowShowsWhatSizingItThenLogs) {
    ProgramRun run(example_dn, example_d);
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    for (std::size_t row = 0; row < pipe_rows; ++row) {
        const std::int16_t dn = run.state().pipes[row].dn;
        const ListSeen seen = size_with(run, std::to_string(dn));
        const auto shown = items(seen.lines.at(row + 1));
        ASSERT_GE(shown.size(), 4u);
        const design_state& s = run.state();
        EXPECT_EQ(s.dn, dn);
        EXPECT_EQ(shown[2], float_print_form(s.v));
        EXPECT_EQ(shown[3], float_print_form(s.r));
        EXPECT_EQ(last_row(run.log()), row_bytes(10000, 12000, 412.71f, dn, s.v, s.r));
    }
}

TEST(DiameterPreview, MarksStandWhereTheLimitsPutThem) {
    // State: 35000 W. Expected: DN15 and DN20 too fast, DN32 suggested, no other marks.
    ProgramRun run(example_dn, example_d);
    ASSERT_TRUE(run.start());
    run.type_load("35000");
    const ListSeen seen = size_with(run, "32");
    EXPECT_EQ(items(seen.lines[1]).back(), "超速");
    EXPECT_EQ(items(seen.lines[2]).back(), "超速");
    EXPECT_EQ(items(seen.lines[4]).back(), "推荐");
    for (std::size_t line : {3u, 5u, 6u, 7u, 8u, 9u, 10u, 11u}) {
        EXPECT_EQ(items(seen.lines[line]).size(), 4u) << line;
    }
}

TEST(DiameterPreview, ShadowedAndUnsizableRowsShowTheirTableColumnsOnly) {
    // The worked table: 15, 24, 25, 26, 27 (inner diameter 0), then unfilled rows; with DN 25
    // doubled at the end only the last 25 shows a preview.
    ProgramRun run("15\r\n24\r\n25\r\n26\r\n27\r\n25\r\n",
                   "15.75\r\n20\r\n21.25\r\n22\r\n0\r\n27\r\n");
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    const ListSeen seen = size_with(run, "25");
    EXPECT_EQ(seen.lines[3], " 25 | 21.25 ");
    EXPECT_EQ(seen.lines[5], " 27 | 0 ");
    EXPECT_EQ(seen.lines[6].rfind(" 25 | 27 | ", 0), 0u);
    EXPECT_EQ(seen.lines[7], " 0 | 0 ");
    EXPECT_EQ(items(seen.lines[6])[2], float_print_form(run.state().v));
    EXPECT_EQ(run.state().d, 27.0f);
}

TEST(DiameterPreview, FollowsChangedParametersAndRandomLoads) {
    // State: density, temperatures and viscosity changed through their dialogs, random loads
    // and margin factors. Expected: every previewed row equals what sizing it logs.
    ProgramRun run(example_dn, example_d);
    ASSERT_TRUE(run.start());
    std::mt19937 random(7);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int trial = 0; trial < 20; ++trial) {
        run.toolkit.answer_input(std::to_string(pick(960, 999)) + ".5");
        run.click(ControlId::cmdset1);
        run.toolkit.answer_input(std::to_string(pick(80, 110)));
        run.click(ControlId::cmdset2);
        run.toolkit.answer_input(std::to_string(pick(50, 75)));
        run.click(ControlId::cmdset3);
        run.toolkit.answer_input("0." + std::to_string(pick(25, 60)));
        run.click(ControlId::cmdset4);
        run.paste(ControlId::Text4, "1." + std::to_string(pick(0, 30)));
        run.type_load(std::to_string(pick(2000, 80000)));

        const std::size_t row = static_cast<std::size_t>(pick(0, 10));
        const std::int16_t dn = run.state().pipes[row].dn;
        const ListSeen seen = size_with(run, std::to_string(dn));
        const auto shown = items(seen.lines.at(row + 1));
        ASSERT_GE(shown.size(), 4u);
        const design_state& s = run.state();
        EXPECT_EQ(last_row(run.log()), row_bytes(s.q_user, s.q_design, s.g_design, dn, s.v, s.r));
        EXPECT_EQ(shown[2], float_print_form(s.v));
        EXPECT_EQ(shown[3], float_print_form(s.r));
    }
}

}  // namespace
}  // namespace kestrune::testing
