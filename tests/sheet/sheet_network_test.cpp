// SPDX-License-Identifier: GPL-3.0-or-later
// A small two-pipe system typed as rows: its loads summed, its loops found and its pipes chosen
// exactly as the main window would size each summed load.
#include "sheet_network.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "calc_sheet.h"
#include "design_steps.h"
#include "example_files.h"
#include "network_sheet.h"
#include "number_text.h"
#include "pipe_balance.h"
#include "pipe_preview.h"
#include "pipe_table.h"
#include "sheet_cells.h"
#include "sheet_messages.h"
#include "system_head.h"
#include "worked_sheet.h"

namespace kestrune::testing {
namespace {

// The main window's sizing of a load typed as text, with the pipe its list recommends.
design_state main_window_sizing(const std::string& load, const PipeTable& pipes) {
    design_state s;
    s.pipes = pipes;
    EXPECT_FALSE(enter_load(s, load)) << load;
    const auto preview = preview_table(s);
    for (std::size_t k = 0; preview && k < pipe_rows; ++k) {
        if ((*preview)[k] && (*preview)[k]->mark == PreviewMark::suggested) {
            EXPECT_FALSE(size_pipe(s, pipes[k]));
            return s;
        }
    }
    ADD_FAILURE() << "nothing recommended for " << load;
    return s;
}

TEST(SheetNetwork, LoadsAreSummedAndPipesChosenAsTheMainWindowSizesTheSum) {
    const PipeTable pipes = example_pipes();
    SheetData data = small_system();
    EXPECT_TRUE(settle_network(data).empty());
    EXPECT_EQ(data.loops, (std::vector<std::string>{"4", "5", "6", "7"}));
    EXPECT_EQ(data.rows[0].loops, data.loops);
    EXPECT_EQ(data.rows[7].loops, (std::vector<std::string>{"4", "5"}));
    const auto choices = choose_pipes(data, pipes, shipped_fittings());
    EXPECT_EQ(choices.size(), 10u);
    // Sums worked by hand: the mains 6500 W, riser A 3500 W, riser B 3000 W.
    const char* sums[] = {"6500", "3500", "3000", "1500", "2000",
                          "1200", "1800", "3500", "3000", "6500"};
    for (std::size_t i = 0; i < data.rows.size(); ++i) {
        const design_state s = main_window_sizing(sums[i], pipes);
        const SheetRow& row = data.rows[i];
        EXPECT_EQ(row.q_user, s.q_user) << i;
        EXPECT_EQ(row.q_design, s.q_design) << i;
        EXPECT_EQ(row.g_design, s.g_design) << i;
        EXPECT_EQ(row.dn, s.dn) << i;
        EXPECT_EQ(row.d, s.d) << i;
        EXPECT_EQ(row.v, s.v) << i;
        EXPECT_EQ(row.ycxs, s.ycxs) << i;
        EXPECT_EQ(row.r, s.r) << i;
        EXPECT_EQ(row.dn_choice, DnChoice::chosen) << i;
    }
    // 6500 W × 1.2 = 7800 W; 7800 W × 3600 / (4187 × 25 K) = 268.259 kg/h, up to 268.26.
    EXPECT_EQ(float_box_form(data.rows[0].q_design), "7800");
    EXPECT_EQ(float_box_form(data.rows[0].g_design), "268.26");
    // A second run chooses the same and changes nothing.
    SheetData again = data;
    choose_pipes(again, pipes, shipped_fittings());
    EXPECT_EQ(again, data);
}

// Rows as "管段号:上游:用户负荷" and the user load each carries, summed by hand.
struct Drawn {
    const char* name;
    std::vector<std::string> rows;
    std::vector<float> carried;  // W
    std::vector<std::string> loops;
};

TEST(SheetNetwork, EachKindOfSystemCarriesItsConsumersLoadsOnce) {
    const Drawn systems[] = {
        {"two-pipe, two risers of three floors",
         {"1::",      "2:1:",     "3:2:",   "4:3:",      "5:2:1000",  "6:3:1200",   "7:4:1500",
          "8:1:",     "9:8:",     "10:9:",  "11:8:800",  "12:9:900",  "13:10:1100", "14:7:",
          "15:14 6:", "16:15 5:", "17:13:", "18:17 12:", "19:18 11:", "20:16 19:"},
         {6500, 3700, 2700, 1500, 1000, 1200, 1500, 2800, 2000, 1100,
          800,  900,  1100, 1500, 2700, 3700, 1100, 2000, 2800, 6500},
         {"7", "6", "5", "13", "12", "11"}},
        {"reverse return",
         {"1::", "2:1:", "3:2:", "4:1:1000", "5:2:2000", "6:3:3000", "7:4:", "8:7 5:", "9:8 6:"},
         {6000, 5000, 3000, 1000, 2000, 3000, 1000, 3000, 6000},
         {"6", "5", "4"}},
        {"single-pipe series riser",
         {"1::", "2:1:700", "3:2:800", "4:3:900", "5:4:"},
         {2400, 2400, 2400, 2400, 2400},
         {"2+3+4"}},
        {"two returns merging",
         {"1::", "2:1:2500", "3:1:3500", "4:2:", "5:3:", "6:4 5:"},
         {6000, 2500, 3500, 2500, 3500, 6000},
         {"2", "3"}},
    };
    for (const Drawn& system : systems) {
        SheetData data = typed_system(system.rows);
        EXPECT_TRUE(settle_network(data).empty()) << system.name;
        EXPECT_EQ(data.loops, system.loops) << system.name;
        for (std::size_t i = 0; i < data.rows.size(); ++i) {
            EXPECT_EQ(data.rows[i].q_user, system.carried[i]) << system.name << ", row " << i;
            // Design load and flow as the main window forms them for that sum.
            design_state s;
            ASSERT_FALSE(take_load(s, system.carried[i]));
            EXPECT_EQ(data.rows[i].q_design, s.q_design) << system.name << ", row " << i;
            EXPECT_EQ(data.rows[i].g_design, s.g_design) << system.name << ", row " << i;
        }
        // Pipes chosen as the list recommends for each sum, then balanced without passing
        // the most unfavourable loop, whose loss with 10 % more is the head.
        for (SheetRow& row : data.rows) {
            row.length = 5.0;
        }
        choose_pipes(data, example_pipes(), shipped_fittings());
        for (std::size_t i = 0; i < data.rows.size(); ++i) {
            char load[32];
            std::snprintf(load, sizeof load, "%g", static_cast<double>(system.carried[i]));
            EXPECT_EQ(data.rows[i].dn, main_window_sizing(load, example_pipes()).dn)
                << system.name << ", row " << i;
        }
        CalcSheet chosen;
        chosen.reset(data);
        balance_pipes(data, example_pipes(), shipped_fittings());
        CalcSheet balanced;
        balanced.reset(data);
        const LoopReport& before = chosen.report();
        const LoopReport& after = balanced.report();
        ASSERT_TRUE(before.critical && after.critical) << system.name;
        EXPECT_EQ(after.critical, before.critical) << system.name;
        for (const LoopResult& loop : after.loops) {
            EXPECT_LE(loop.total, after.loops[*after.critical].total) << system.name;
        }
        const auto head = system_head(balanced);
        ASSERT_TRUE(head.has_value());
        EXPECT_EQ(head->head, after.loops[*after.critical].total * 1.1) << system.name;
        // One source main, its flow as logged.
        EXPECT_EQ(*head->mass_flow, logged_value(data.rows[0].g_design)) << system.name;
    }
}

TEST(SheetNetwork, AFixedPipeStaysAndTheLargestIsTakenWhereNoneQualifies) {
    const PipeTable pipes = example_pipes();
    SheetData data = small_system();
    data.rows[0].dn = 50;
    data.rows[0].d = pipes[5].d;
    data.rows[0].dn_choice = DnChoice::engineer;
    data.rows[3].consumer = 3.5e6f;  // 3.5 MW: too fast even in DN150
    settle_network(data);
    const auto choices = choose_pipes(data, pipes, shipped_fittings());
    ASSERT_EQ(pipes[5].dn, 50);
    EXPECT_EQ(data.rows[0].dn, 50);  // the engineer's, though far too small
    EXPECT_GT(data.rows[0].v, velocity_limit(50));
    const auto big = std::find_if(choices.begin(), choices.end(),
                                  [](const PipeChoice& c) { return c.row == 3; });
    ASSERT_NE(big, choices.end());
    EXPECT_FALSE(big->within_limits);
    EXPECT_EQ(big->dn_after, 150);
}

TEST(SheetNetwork, ConsumersWithTheirOwnMarginsAddTheirDesignLoads) {
    SheetData data = small_system();
    data.rows[3].k_margin = 1.1f;  // radiator 4: 1500 W × 1.1
    settle_network(data);
    const float q4 = static_cast<float>(static_cast<double>(1.1f) * 1500.0);
    const float q5 = 2400.0f;
    EXPECT_EQ(data.rows[1].q_user, 3500.0f);
    EXPECT_EQ(data.rows[1].q_design, static_cast<float>(static_cast<double>(q4) + q5));
    EXPECT_EQ(data.rows[3].q_design, q4);
}

TEST(SheetNetwork, AFaultHoldsEveryValueAndTheSheetSaysWhy) {
    SheetData data = small_system();
    settle_network(data);
    const SheetData settled = data;
    data.rows[4].consumer = 9000;  // would change riser A and the mains
    data.rows[8].upstream = {"6", "7", "77"};
    EXPECT_TRUE(settle_network(data).empty());
    data.rows[4].consumer = settled.rows[4].consumer;
    data.rows[8].upstream = settled.rows[8].upstream;
    EXPECT_EQ(data, settled);

    data.rows[8].upstream = {"6", "7", "77"};
    CalcSheet sheet;
    sheet.reset(data);
    const auto notes = network_fault_notes(sheet.network(), sheet.data().rows);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "管段 9 的上游 77 不存在。");
    EXPECT_EQ(notes[1], network_held_note);
}

TEST(SheetNetwork, WithoutANetworkARowsOwnConsumerIsItsLoad) {
    CalcSheet worked = worked_sheet();
    SheetData data = worked.data();
    EXPECT_TRUE(settle_network(data).empty());
    EXPECT_EQ(data, worked.data());  // nothing to derive: every row's load is its consumer's
    data.rows[1].consumer = 2000;
    settle_network(data);
    EXPECT_EQ(data.rows[1].q_user, 2000.0f);
    EXPECT_EQ(data.rows[1].q_design, 2400.0f);
    EXPECT_EQ(data.rows[1].loops, worked.data().rows[1].loops);  // typed loops stay
    EXPECT_EQ(data.rows[0], worked.data().rows[0]);
}

TEST(SheetNetwork, BalancingNarrowsTheNearLoopsOwnPipeWithinItsVelocityLimit) {
    const PipeTable pipes = example_pipes();
    SheetData data = near_and_far();
    settle_network(data);
    choose_pipes(data, pipes, shipped_fittings());
    CalcSheet plain;
    plain.reset(data);
    const LoopReport& before = plain.report();
    ASSERT_EQ(before.loops.size(), 2u);
    EXPECT_EQ(before.loops[*before.critical].name, "4");
    ASSERT_TRUE(before.loops[0].flagged);

    // 72 kW (2476.24 kg/h) takes DN40 at 110.22 Pa/m, 36 kW DN32 at 58.13 Pa/m. The near loop
    // has 116.3 Pa of its own against the far loop's 2325.2 + 116.3 + 2325.2 = 4766.7 Pa:
    // 97.6 % out of balance. DN25 and then DN20 (0.987 m/s, within DN20's 1.0 m/s) bring
    // 1721.9 Pa, 63.9 %; DN15 would run at 1.79 m/s, above its 0.8 m/s.
    EXPECT_EQ(data.rows[0].dn, 40);
    EXPECT_EQ(data.rows[1].dn, 32);
    EXPECT_EQ(loop_cell(plain, 0, LoopColumn::imbalance), "97.6 超限");
    const auto changes = balance_pipes(data, pipes, shipped_fittings());
    EXPECT_EQ(pipes_balanced_note(changes, data.rows),
              "平衡管径：管段 2：DN32 → DN20，环路 2 不平衡率 97.6 % → 63.9 %。");
    CalcSheet balanced;
    balanced.reset(data);
    const LoopReport& after = balanced.report();
    EXPECT_EQ(after.loops[*after.critical].name, "4");
    EXPECT_EQ(after.loops[*after.critical].total, before.loops[*before.critical].total);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].row, 1u);  // the near consumer's own segment, and nothing shared
    EXPECT_LT(changes[0].dn_after, changes[0].dn_before);
    EXPECT_LE(data.rows[1].v, velocity_limit(data.rows[1].dn));
    EXPECT_EQ(shown_imbalance(changes[0].imbalance_after),
              shown_imbalance(*after.loops[0].imbalance));
    // What is left stays for the valve: 3044.8 Pa at 1.2592 m³/h, Kv 7.22.
    EXPECT_EQ(loop_cell(balanced, 0, LoopColumn::kv), "7.22");
    for (std::size_t row : {0, 2, 3, 4, 5}) {
        EXPECT_EQ(data.rows[row], plain.data().rows[row]) << row;
    }
    // Balanced again, nothing more can be done.
    SheetData again = data;
    EXPECT_TRUE(balance_pipes(again, pipes, shipped_fittings()).empty());
    EXPECT_EQ(again, data);
}

TEST(SheetNetwork, TheHeadIsTheWorstLoopWithItsAllowanceAndTheEntranceFlowItsSupply) {
    SheetData data = near_and_far();
    settle_network(data);
    choose_pipes(data, example_pipes(), shipped_fittings());
    // Loop 4: 1102.2 + 2325.2 + 116.3 + 2325.2 + 1102.2 = 6971.1 Pa; × 1.1 = 7668.2 Pa,
    // 0.78 m 水柱. Segment 1 leaves the source with 2476.24 kg/h, 2.518 m³/h at 983.25 kg/m³.
    data.available_pressure = 10000;
    CalcSheet sheet;
    sheet.reset(data);
    const auto head = system_head(sheet);
    ASSERT_TRUE(head.has_value());
    EXPECT_EQ(head_lines(*head),
              (std::vector<std::string>{
                  "最不利环路 4 的阻力 6971.1 Pa，附加 10 % 后所需压头 7668.2 Pa = 7.67 kPa = 0.78 "
                  "m 水柱。",
                  "入口流量 2476.24 kg/h = 2.518 m³/h。",
                  // 10000 − 7668.2 = 2331.8 Pa; Kv = 2.518 / √(2331.8 / 100000) = 16.49.
                  "入口资用压力富余 2331.8 Pa，需在入口消除，调节阀 Kv 16.49。",
              }));
    data.available_pressure = 5000;
    sheet.reset(data);
    EXPECT_EQ(head_lines(*system_head(sheet)).back(),
              "入口资用压力不足 2668.2 Pa：须加大管径或提高入口压力。");
}

TEST(SheetNetwork, TheEngineersUpperResistanceDecidesTheChoice) {
    SheetData data = near_and_far();
    data.resistance_limit = 60.0f;  // Pa/m
    settle_network(data);
    choose_pipes(data, example_pipes(), shipped_fittings());
    // 72 kW in DN40 runs at 110.22 Pa/m, above 60: DN50; 36 kW in DN32 at 58.13 stays.
    EXPECT_EQ(data.rows[0].dn, 50);
    EXPECT_LE(data.rows[0].r, 60.0f);
    EXPECT_EQ(data.rows[1].dn, 32);
}

TEST(SheetNetwork, AFixedPipeIsNeverNarrowed) {
    const PipeTable pipes = example_pipes();
    SheetData data = near_and_far();
    settle_network(data);
    choose_pipes(data, pipes, shipped_fittings());
    data.rows[1].dn_choice = DnChoice::engineer;
    const SheetData chosen = data;
    EXPECT_TRUE(balance_pipes(data, pipes, shipped_fittings()).empty());
    EXPECT_EQ(data, chosen);
}

}  // namespace
}  // namespace kestrune::testing
