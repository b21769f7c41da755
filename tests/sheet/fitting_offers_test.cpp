// SPDX-License-Identifier: GPL-3.0-or-later
// While a Σξ entry is typed, the fittings its last part begins are offered with their ξ at
// the row's DN, and taking one writes its name into the entry.
#include "fitting_offers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "worked_sheet.h"

namespace kestrune {
namespace {

TEST(FittingOffers, AShortCodeOffersItsFittingsWithTheirXiAtTheRowsDn) {
    const FittingTable table = testing::shipped_fittings();
    struct Case {
        const char* entry;
        std::int16_t dn;
        std::vector<std::string> labels;
        const char* first_taken;
    };
    for (const Case& c : {
             Case{"wt", 20, {"90°煨弯  ξ 1.5  wt"}, "90°煨弯"},
             Case{"2jz", 15, {"截止阀  ξ 16  jzf"}, "2×截止阀"},
             Case{"散热器 + 截止",
                  32,
                  {"截止阀  ξ 9  jzf", "斜杆截止阀  ξ 2.5  xgjzf"},
                  "散热器 + 截止阀"},
             Case{"wt＋Z",
                  20,
                  {"直流三通  ξ 1  zlst", "直流四通  ξ 2  zlsit", "闸阀  ξ —  zf"},
                  "wt＋直流三通"},
             Case{"90°", 40, {"90°煨弯  ξ 0.5  wt"}, "90°煨弯"},
             Case{"2 x 散热", 20, {"散热器  ξ 2  srq"}, "2×散热器"},
             Case{"2x", 32, {"斜杆截止阀  ξ 2.5  xgjzf"}, "2×斜杆截止阀"},  // a code's x
             Case{"2*j", 32, {"截止阀  ξ 9  jzf"}, "2×截止阀"},
         }) {
        const std::vector<FittingOffer> offers = fitting_offers(c.entry, table, c.dn);
        std::vector<std::string> labels;
        for (const FittingOffer& offer : offers) {
            labels.push_back(offer.label);
        }
        EXPECT_EQ(labels, c.labels) << c.entry;
        ASSERT_FALSE(offers.empty()) << c.entry;
        EXPECT_EQ(offers.front().taken, c.first_taken);
    }
}

TEST(FittingOffers, NumbersAndAnEmptyPartOfferNothing) {
    const FittingTable table = testing::shipped_fittings();
    for (const char* entry : {"", "13", "90", "散热器+", "2×", "1.5e3", "蝶阀"}) {
        EXPECT_TRUE(fitting_offers(entry, table, 20).empty()) << entry;
    }
}

}  // namespace
}  // namespace kestrune
