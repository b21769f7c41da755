// SPDX-License-Identifier: GPL-3.0-or-later
// What a typed entry becomes in a cell, by the one reading rule of the load box.
#include "sheet_entry.h"

#include <gtest/gtest.h>

#include <optional>

#include "sheet_messages.h"
#include "worked_sheet.h"

namespace kestrune::testing {
namespace {

TEST(SheetEntry, ALengthReadsAsTheLoadBoxReadsANumber) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"12.5", 12.5},
        {"12.5 m", 12.5},
        {" 1 000 ", 1000.0},
        {"", 0.0},
        {"1.5E1", 15.0},
        {"&H10", 16.0},
        {"3,5", std::nullopt},
        {"12 ５", std::nullopt},  // a full-width digit is a second number, as in the load box
        {"１２，５", std::nullopt},
        {"4。5", std::nullopt},
        {"5,5", std::nullopt},
        {"-1", std::nullopt},
        {"m", std::nullopt},
        {"1E400", std::nullopt},
    };
    for (const auto& [entry, expected] : cases) {
        EXPECT_EQ(non_negative(entry), expected) << entry;
    }
}

TEST(SheetEntry, LoopNamesSeparateAtBlanksAndCommasOfEitherWidth) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(loop_names("1 2"), (Names{"1", "2"}));
    EXPECT_EQ(loop_names("1,2，3、4\u30005\t6"), (Names{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(loop_names("  a  A "), (Names{"a", "A"}));
    EXPECT_EQ(loop_names(""), Names{});
}

}  // namespace
}  // namespace kestrune::testing

namespace kestrune {
namespace {

TEST(XiInParts, EachFittingIsListedWithItsCountAndXiAtTheRowsDn) {
    const FittingTable table = testing::shipped_fittings();
    struct Case {
        const char* entry;
        std::int16_t dn;
        double sum;
        const char* said;
    };
    for (const Case& c : {
             Case{"2×90°煨弯 + 截止阀", 20, 13, "90°煨弯 2 × 1.5 = 3；截止阀 1 × 10 = 10；Σξ = 13"},
             Case{"1.5*散热器＋2", 15, 5, "散热器 1.5 × 2 = 3；2；Σξ = 5"},
             Case{"3", 50, 3, "3；Σξ = 3"},
             Case{"蝶阀", 20, 0.5, "蝶阀；Σξ = 0.5"},  // no longer in the table: as written
         }) {
        EXPECT_EQ(xi_in_parts(c.entry, table, c.dn, c.sum), c.said) << c.entry;
    }
}

}  // namespace
}  // namespace kestrune
