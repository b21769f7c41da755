// SPDX-License-Identifier: GPL-3.0-or-later
#include "number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace kestrune {
namespace {

struct TextCase {
    const char* name;
    float value;
    const char* print;
    const char* box;
    friend std::ostream& operator<<(std::ostream& out, const TextCase& c) { return out << c.name; }
};

class FloatText : public ::testing::TestWithParam<TextCase> {};

TEST_P(FloatText, PrintAndBoxFormsAgree) {
    const TextCase& c = GetParam();
    EXPECT_EQ(float_print_form(c.value), c.print);
    EXPECT_EQ(float_box_form(c.value), c.box);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FloatText,
    ::testing::Values(TextCase{"flow", 412.71f, " 412.71 ", "412.71"},
                      TextCase{"velocity", 0.329f, " .329 ", "0.329"},
                      TextCase{"friction_factor", 0.0404f, " .0404 ", "0.0404"},
                      TextCase{"resistance", 101.17f, " 101.17 ", "101.17"},
                      TextCase{"whole", 12000.0f, " 12000 ", "12000"},
                      TextCase{"whole_small", 1200.0f, " 1200 ", "1200"},
                      TextCase{"margin", 1.2f, " 1.2 ", "1.2"},
                      TextCase{"first_key_flow", 0.05f, " .05 ", "0.05"},
                      TextCase{"zero", 0.0f, " 0 ", "0"}, TextCase{"minus_zero", -0.0f, " 0 ", "0"},
                      TextCase{"negative", -3.5f, "-3.5 ", "-3.5"},
                      TextCase{"negative_below_one", -0.5f, "-.5 ", "-0.5"},
                      TextCase{"seven_digits", 123456.75f, " 123456.8 ", "123456.8"},
                      TextCase{"largest_plain", 9999999.0f, " 9999999 ", "9999999"},
                      TextCase{"exponent_large", 12345678.0f, " 1.234568E+07 ", "1.234568E+07"},
                      TextCase{"exponent_whole", 1e8f, " 1E+08 ", "1E+08"},
                      TextCase{"largest_float", FLT_MAX, " 3.402823E+38 ", "3.402823E+38"},
                      TextCase{"smallest_plain", 0.0001f, " .0001 ", "0.0001"},
                      TextCase{"exponent_small", 0.00001f, " 1E-05 ", "1E-05"},
                      TextCase{"exponent_negative", -1.5e-7f, "-1.5E-07 ", "-1.5E-07"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IntegerText, SignPositionDigitsAndOneBlank) {
    EXPECT_EQ(int_print_form(25), " 25 ");
    EXPECT_EQ(int_print_form(0), " 0 ");
    EXPECT_EQ(int_print_form(-3), "-3 ");
    EXPECT_EQ(int_print_form(-32768), "-32768 ");
    EXPECT_EQ(int_print_form(32767), " 32767 ");
}

}  // namespace
}  // namespace kestrune
