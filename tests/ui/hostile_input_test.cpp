// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program_run.h"

namespace kestrune::testing {
namespace {

TEST(HostileInput, StrangeLoadsNeverShowANonFiniteNumber) {
    // Action: paste each text into the load box. Expected: either a finite number in both
    // boxes or the problem line, never "inf" or "nan", never a dialog.
    struct Case {
        std::string load;
        const char* design_load;  // nullptr: refused inline
    };
    const Case cases[] = {
        {std::string(1 << 20, '9'), nullptr},
        {std::string(1 << 20, 'x'), "0"},
        {"1e39", nullptr},
        {"-1e39", nullptr},
        {"1e308", nullptr},
        {"-0", "0"},
        {"NaN", "0"},
        {"inf", "0"},
        {"1e-50", "0"},
        {"3e38", nullptr},  // fits q_user, but 1.2 times it does not
        {"1e30", nullptr},  // fits, but its flow overflows the rounding
    };
    ProgramRun run;
    ASSERT_TRUE(run.start());
    for (const Case& c : cases) {
        run.paste_load(c.load);
        const std::string shown = run.shown(ControlId::Text2) + run.shown(ControlId::Text3);
        const std::string name = c.load.substr(0, 20);
        EXPECT_EQ(shown.find("nf"), std::string::npos) << name;
        EXPECT_EQ(shown.find("an"), std::string::npos) << name;
        if (c.design_load == nullptr) {
            EXPECT_NE(run.shown(ControlId::problem_line), "") << name;
            EXPECT_EQ(run.shown(ControlId::Text2), "") << name;
        } else {
            EXPECT_EQ(run.shown(ControlId::problem_line), "") << name;
            EXPECT_EQ(run.shown(ControlId::Text2), c.design_load) << name;
        }
    }
}

TEST(HostileInput, StrangeDiameterAnswersAreRefusedInAFewWords) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.paste_load("10000");
    for (const std::string& answer :
         {std::string(1 << 20, '7'), std::string("1e39"), std::string("-0"), std::string("NaN"),
          std::string("inf"), std::string("&HFFFFF")}) {
        const std::string message = run.refused_sizing(answer);
        EXPECT_FALSE(message.empty()) << answer.substr(0, 20);
        EXPECT_LT(message.size(), 400u);
        EXPECT_FALSE(run.list().visible);
    }
    EXPECT_EQ(run.log(), header_bytes());
}

TEST(HostileInput, LongAnswersAreQuotedWholeCharactersOnly) {
    // A pasted line of Chinese characters is quoted to 40 characters, none cut in two.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    std::string answer;
    for (int i = 0; i < 100; ++i) {
        answer += "管";
    }
    const std::string message = run.refused_sizing("1e9" + answer);
    EXPECT_NE(message.find("“1e9" + answer.substr(0, 37 * 3) + "”"), std::string::npos);
}

TEST(HostileInput, LogReplacedByAFolderBetweenSizingsIsReported) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.paste_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    std::filesystem::remove("outdata.txt");
    std::filesystem::create_directory("outdata.txt");
    const std::string message = run.refused_sizing("24");
    EXPECT_EQ(message.rfind("无法把本次结果写入“outdata.txt”：", 0), 0u) << message;
    EXPECT_EQ(run.results().lines.at(1).at(3).text, " 24 ");
}

}  // namespace
}  // namespace kestrune::testing
