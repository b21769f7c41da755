// SPDX-License-Identifier: GPL-3.0-or-later
// What a typed entry becomes in a cell, by the one reading rule of the load box.
#include "sheet_entry.h"

#include <gtest/gtest.h>

#include <optional>

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
