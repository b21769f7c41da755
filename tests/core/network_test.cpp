// SPDX-License-Identifier: GPL-3.0-or-later
// Networks drawn by hand: each given as its rows (管段号, 上游, whether it serves a consumer),
// with the loops and faults found for it worked out on paper.
#include "network.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kestrune::testing {
namespace {

struct Row {
    std::string name;
    std::string upstream;  // names separated by blanks
    bool consumer = false;
};

// The rows as the finder takes them; the lists live as long as the struct.
struct Drawn {
    explicit Drawn(const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            std::istringstream names(row.upstream);
            auto& list = upstream.emplace_back();
            for (std::string name; names >> name;) {
                list.push_back(name);
            }
        }
        for (std::size_t i = 0; i < rows.size(); ++i) {
            segments.push_back({rows[i].name, &upstream[i], rows[i].consumer});
        }
    }
    std::vector<std::vector<std::string>> upstream;
    std::vector<NetworkSegment> segments;
};

// A loop as "name: 1 → 2 → 5".
std::vector<std::string> loops_of(const Network& net, const std::vector<Row>& rows) {
    std::vector<std::string> out;
    for (const NetworkLoop& loop : net.loops) {
        std::string text = loop.name + ":";
        for (std::size_t i = 0; i < loop.path.size(); ++i) {
            text += (i == 0 ? " " : " → ") + rows[loop.path[i]].name;
        }
        out.push_back(text);
    }
    return out;
}

// What a row carries, as its consumers' names.
std::string carried(const Network& net, const std::vector<Row>& rows, std::size_t row) {
    std::string out;
    for (std::size_t c : net.carried[row]) {
        out += (out.empty() ? "" : " ") + rows[c].name;
    }
    return out;
}

Network found(const std::vector<Row>& rows) {
    Drawn drawn(rows);
    return find_network(drawn.segments);
}

// Two-pipe, two risers of three floors; the returns merge floor by floor and at the end.
const std::vector<Row> two_pipe{
    {"1", ""},                                               // supply main
    {"2", "1"},        {"3", "2"},        {"4", "3"},        // riser A, floors 1 to 3
    {"5", "2", true},  {"6", "3", true},  {"7", "4", true},  // its radiators
    {"8", "1"},        {"9", "8"},        {"10", "9"},       // riser B
    {"11", "8", true}, {"12", "9", true}, {"13", "10", true},
    {"14", "7"},       {"15", "14 6"},    {"16", "15 5"},   // riser A's return
    {"17", "13"},      {"18", "17 12"},   {"19", "18 11"},  // riser B's return
    {"20", "16 19"},                                        // return main
};

TEST(Network, TwoPipeRisersGiveOneLoopPerRadiatorThroughSupplyAndReturn) {
    const Network net = found(two_pipe);
    EXPECT_TRUE(net.faults.empty());
    EXPECT_EQ(loops_of(net, two_pipe), (std::vector<std::string>{
                                           "7: 1 → 2 → 3 → 4 → 7 → 14 → 15 → 16 → 20",
                                           "6: 1 → 2 → 3 → 6 → 15 → 16 → 20",
                                           "5: 1 → 2 → 5 → 16 → 20",
                                           "13: 1 → 8 → 9 → 10 → 13 → 17 → 18 → 19 → 20",
                                           "12: 1 → 8 → 9 → 12 → 18 → 19 → 20",
                                           "11: 1 → 8 → 11 → 19 → 20",
                                       }));
    // Each segment carries the radiators beyond it, and the mains carry all six once.
    EXPECT_EQ(carried(net, two_pipe, 0), "7 6 5 13 12 11");
    EXPECT_EQ(carried(net, two_pipe, 2), "7 6");
    EXPECT_EQ(carried(net, two_pipe, 14), "7 6");  // 15: floors 3 and 2 of riser A
    EXPECT_EQ(carried(net, two_pipe, 19), "7 6 5 13 12 11");
    EXPECT_EQ(net.loops_through[1], (std::vector<std::size_t>{0, 1, 2}));
}

TEST(Network, ReverseReturnGivesPathsOfTheSameSegmentCount) {
    // 同程式: the first consumer fed is the last one returned.
    const std::vector<Row> rows{
        {"1", ""},        {"2", "1"}, {"3", "2"},   {"4", "1", true}, {"5", "2", true},
        {"6", "3", true}, {"7", "4"}, {"8", "7 5"}, {"9", "8 6"},
    };
    const Network net = found(rows);
    EXPECT_TRUE(net.faults.empty());
    EXPECT_EQ(loops_of(net, rows), (std::vector<std::string>{
                                       "6: 1 → 2 → 3 → 6 → 9",
                                       "5: 1 → 2 → 5 → 8 → 9",
                                       "4: 1 → 4 → 7 → 8 → 9",
                                   }));
    EXPECT_EQ(carried(net, rows, 7), "5 4");  // 8 returns the first two
}

TEST(Network, ASinglePipeRiserIsOneLoopThroughEveryRadiator) {
    const std::vector<Row> rows{
        {"1", ""}, {"2", "1", true}, {"3", "2", true}, {"4", "3", true}, {"5", "4"},
    };
    const Network net = found(rows);
    EXPECT_TRUE(net.faults.empty());
    EXPECT_EQ(loops_of(net, rows), (std::vector<std::string>{"2+3+4: 1 → 2 → 3 → 4 → 5"}));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        EXPECT_EQ(carried(net, rows, row), "2 3 4") << row;
    }
}

TEST(Network, LoopNamesStayAsRowsAreAddedElsewhere) {
    std::vector<Row> rows{{"1", ""}, {"2", "1", true}, {"3", "1", true}, {"4", "2 3"}};
    const auto before = loops_of(found(rows), rows);
    EXPECT_EQ(before, (std::vector<std::string>{"2: 1 → 2 → 4", "3: 1 → 3 → 4"}));
    rows.insert(rows.begin(), {"9", "1", true});  // a new radiator, typed above the others
    rows.push_back({"10", "9"});
    rows[4].upstream = "2 3 10";
    const auto after = loops_of(found(rows), rows);
    // The loops come in the rows' order; the old ones keep their names and paths.
    EXPECT_EQ(after,
              (std::vector<std::string>{"9: 1 → 9 → 10 → 4", "2: 1 → 2 → 4", "3: 1 → 3 → 4"}));
}

struct FaultCase {
    const char* name;
    std::vector<Row> rows;
    NetworkFaultKind kind;
    std::vector<std::size_t> segments;  // rows named by the first fault of that kind
    std::string unknown;
    std::size_t loops;  // still found
};

TEST(Network, EachFaultIsSaidWithItsSegmentsAndNothingIsCountedTwice) {
    const FaultCase cases[] = {
        {"unknown upstream",
         {{"1", ""}, {"2", "9", true}, {"3", "1", true}},
         NetworkFaultKind::unknown_upstream,
         {1},
         "9",
         1},
        {"the consumer beyond it has no path",
         {{"1", ""}, {"2", "9", true}, {"3", "1", true}},
         NetworkFaultKind::no_path,
         {1},
         "",
         1},
        {"cycle",
         {{"1", ""}, {"2", "1 3"}, {"3", "2"}, {"4", "3", true}, {"5", "1", true}},
         NetworkFaultKind::cycle,
         {1, 2},
         "",
         1},
        {"what lies below a cycle is on no path",
         {{"1", ""}, {"2", "1 3"}, {"3", "2"}, {"4", "3", true}, {"5", "1", true}},
         NetworkFaultKind::no_path,
         {3},
         "",
         1},
        {"a loop without a consumer",
         {{"1", ""}, {"2", "1", true}, {"3", "1"}},
         NetworkFaultKind::no_consumer,
         {0, 2},
         "",
         1},
        {"a ring main reaches the consumer twice",
         {{"1", ""}, {"2", "1"}, {"3", "1"}, {"4", "2 3", true}},
         NetworkFaultKind::several_paths,
         {3},
         "",
         2},
        {"a consumer whose return splits",
         {{"1", "", true}, {"2", "1"}, {"3", "1"}},
         NetworkFaultKind::several_paths,
         {0},
         "",
         2},
        {"a 管段号 used twice",
         {{"1", ""}, {"2", "1", true}, {"2", "1", true}, {"3", "2"}},
         NetworkFaultKind::duplicate_segment,
         {1, 2},
         "",
         2},
        {"a self-reference is a cycle", {{"1", "1", true}}, NetworkFaultKind::cycle, {0}, "", 0},
    };
    for (const FaultCase& c : cases) {
        const Network net = found(c.rows);
        const auto fault = std::find_if(net.faults.begin(), net.faults.end(),
                                        [&](const NetworkFault& f) { return f.kind == c.kind; });
        ASSERT_NE(fault, net.faults.end()) << c.name;
        EXPECT_EQ(fault->segments, c.segments) << c.name;
        EXPECT_EQ(fault->name, c.unknown) << c.name;
        EXPECT_EQ(net.loops.size(), c.loops) << c.name;
    }
}

TEST(Network, MoreThanTenThousandPathsAreSaidNotListed) {
    // Fourteen pairs of parallel segments one after another: 2^14 = 16 384 paths.
    std::vector<Row> rows{{"0", ""}};
    std::string previous = "0";
    for (int stage = 1; stage <= 14; ++stage) {
        const std::string a = "a" + std::to_string(stage), b = "b" + std::to_string(stage),
                          m = "m" + std::to_string(stage);
        rows.push_back({a, previous});
        rows.push_back({b, previous});
        rows.push_back({m, a + " " + b, stage == 14});
        previous = m;
    }
    const Network net = found(rows);
    EXPECT_TRUE(net.loops.empty());
    ASSERT_FALSE(net.faults.empty());
    EXPECT_EQ(net.faults.back().kind, NetworkFaultKind::too_many_paths);

    rows.resize(1 + 3 * 13);  // 8 192 paths: listed, and each reaches m13 twice over
    rows.back().consumer = true;
    const Network fewer = found(rows);
    EXPECT_EQ(fewer.loops.size(), 8192u);
}

}  // namespace
}  // namespace kestrune::testing
