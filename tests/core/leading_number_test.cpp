// SPDX-License-Identifier: GPL-3.0-or-later
#include "leading_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "number_text.h"

namespace kestrune {
namespace {

struct ReadingCase {
    const char* name;
    std::string text;
    double expected;
    friend std::ostream& operator<<(std::ostream& out, const ReadingCase& c) {
        return out << c.name;
    }
};

class LeadingNumberReading : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(LeadingNumberReading, ReadsTheLongestLeadingNumber) {
    const ReadingCase& c = GetParam();
    auto result = read_leading_number(c.text);
    ASSERT_TRUE(result.has_value()) << c.text;
    EXPECT_EQ(result.value(), c.expected) << c.text;
    if (c.expected == 0.0) {
        EXPECT_FALSE(std::signbit(result.value())) << "a zero must read as +0: " << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LeadingNumberReading,
    ::testing::Values(
        ReadingCase{"empty", "", 0.0}, ReadingCase{"letters", "abc", 0.0},
        ReadingCase{"plain", "10000", 10000.0}, ReadingCase{"blank_inside", "1 000", 1000.0},
        ReadingCase{"tabs_and_line_feeds", "\t1\n2 3", 123.0},
        ReadingCase{"trailing_junk", "12abc", 12.0},
        ReadingCase{"signed_exponent", " -3.5e2x", -350.0},
        ReadingCase{"upper_exponent", "1E3", 1000.0},
        ReadingCase{"negative_exponent", "25e-1", 2.5},
        ReadingCase{"exponent_blank_inside", "1e 3", 1000.0},
        ReadingCase{"exponent_without_digits", "7e", 7.0},
        ReadingCase{"exponent_sign_only", "7e+", 7.0},
        ReadingCase{"second_point_ends", "1.2.3", 1.2}, ReadingCase{"point_only", ".", 0.0},
        ReadingCase{"sign_only", "-", 0.0}, ReadingCase{"leading_point", "-.5", -0.5},
        ReadingCase{"trailing_point", "4.", 4.0}, ReadingCase{"plus_sign", "+7", 7.0},
        ReadingCase{"double_sign", "--5", 0.0}, ReadingCase{"comma_is_not_a_point", "1,5", 1.0},
        ReadingCase{"minus_zero", "-0", 0.0}, ReadingCase{"hex", "&H1F", 31.0},
        ReadingCase{"hex_lower", "&hff", 255.0}, ReadingCase{"hex_then_junk", "&H1Fz", 31.0},
        ReadingCase{"hex_no_digits", "&H", 0.0},
        ReadingCase{"hex_64_bits", "&HFFFFFFFFFFFFFFFF", 18446744073709551615.0},
        ReadingCase{"octal", "&O17", 15.0}, ReadingCase{"octal_stops_at_8", "&O178", 15.0},
        ReadingCase{"octal_no_digits", "&O8", 0.0},
        ReadingCase{"octal_long", "&O1777777777777777777777", 18446744073709551615.0},
        ReadingCase{"c_hex_is_not_hex", "0x10", 0.0},
        ReadingCase{"full_width_digits", "\xEF\xBC\x91\xEF\xBC\x92", 0.0},
        ReadingCase{"underflow_reads_zero", "1e-999", 0.0},
        ReadingCase{"subnormal_kept", "3e-000000322", 3e-322},
        ReadingCase{"negative_underflow", "-1e-999", 0.0},
        ReadingCase{"many_leading_zeros", std::string(5000, '0') + "12", 12.0},
        ReadingCase{"long_fraction", "0." + std::string(400, '0') + "1e400", 0.1},
        ReadingCase{"nan_is_text", "NaN", 0.0}, ReadingCase{"inf_is_text", "inf", 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LeadingNumberOverflow, TextBeyondThe64BitRangeIsAnOverflow) {
    for (std::string text :
         {std::string("1e999"), std::string("-1e309"), "&H" + std::string(300, 'F'),
          std::string(400, '9'), std::string("0.00001e400")}) {
        auto result = read_leading_number(text);
        ASSERT_FALSE(result.has_value()) << text;
        EXPECT_EQ(result.error(), ArithError::overflow) << text;
    }
}

TEST(LeadingNumberOverflow, LargestFiniteValuesStillRead) {
    EXPECT_EQ(read_leading_number("1.7976931348623157e308").value(), 1.7976931348623157e308);
    EXPECT_EQ(read_leading_number("0e99999").value(), 0.0);
}

TEST(LeadingNumberLocale, PointIsAlwaysAFullStop) {
    // A locale whose decimal separator is a comma must not change the reading.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    // Its name on glibc, and on Windows.
    bool german = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "de-DE"}) {
        german = german || std::setlocale(LC_ALL, name) != nullptr;
    }
    if (!german) {
        GTEST_SKIP() << "no German locale on this machine";
    }
    EXPECT_EQ(read_leading_number("2.5").value(), 2.5);
    EXPECT_EQ(read_leading_number("2,5").value(), 2.0);
    EXPECT_EQ(float_print_form(412.71f), " 412.71 ");
    EXPECT_EQ(float_box_form(0.5f), "0.5");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(WholeNumberReading, AcceptsOnlyTextThatIsOneNumber) {
    EXPECT_EQ(read_whole_number("21.25")->value(), 21.25);
    EXPECT_EQ(read_whole_number("-7")->value(), -7.0);
    EXPECT_EQ(read_whole_number("&HFFFFF")->value(), 1048575.0);
    EXPECT_FALSE(read_whole_number("").has_value());
    EXPECT_FALSE(read_whole_number("25a").has_value());
    EXPECT_FALSE(read_whole_number("--5").has_value());
    EXPECT_FALSE(read_whole_number("abc").has_value());
    auto huge = read_whole_number("1e999");
    ASSERT_TRUE(huge.has_value());
    EXPECT_FALSE(huge->has_value());
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

TEST(UnreadRest, IsWhatFollowsTheNumberFromItsFirstNonBlank) {
    struct Case {
        const char* text;
        const char* rest;
    };
    for (const Case& c : {Case{"35,000", ",000"}, Case{"1,15", ",15"}, Case{"1.2.3", ".3"},
                          Case{"10000 W", "W"}, Case{"10000W", "W"}, Case{"1 000", ""},
                          Case{"1 0 0 0 kW ", "kW "}, Case{"", ""}, Case{"abc", "abc"},
                          Case{"  abc", "abc"}, Case{"&H1FG", "G"}, Case{"1e5e3", "e3"},
                          Case{"12.", ""}, Case{"-.5x", "x"}, Case{"1e", "e"}}) {
        EXPECT_EQ(unread_rest(c.text), c.rest) << c.text;
    }
}

}  // namespace
}  // namespace kestrune
