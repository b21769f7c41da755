// SPDX-License-Identifier: GPL-3.0-or-later
// Where the engineer's hands are and what the eyes read: the list answering the DN box, the
// preview's tones, and help.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages.h"
#include "print_colours.h"
#include "program_run.h"

namespace kestrune::testing {
namespace {

TEST(PrintWindows, TheResultsGoAwayByEachGestureTheListByNone) {
    for (Gesture gesture : {Gesture::double_click, Gesture::escape, Gesture::close_box}) {
        ProgramRun run;
        ASSERT_TRUE(run.start());
        run.type_load("10000");
        bool list_stayed = false;
        run.toolkit.answer_input("25", nullptr, [&run, &list_stayed, gesture] {
            run.window.print_window_gesture(PrintWindowId::frmchoose, gesture);
            list_stayed = run.list().visible;
        });
        run.click(ControlId::cmdok);
        EXPECT_TRUE(list_stayed) << static_cast<int>(gesture);
        ASSERT_TRUE(run.results().visible);
        run.window.print_window_gesture(PrintWindowId::frmdisplay, gesture);
        EXPECT_FALSE(run.results().visible) << static_cast<int>(gesture);
    }
}

TEST(DiameterList, AClickOffersTheRowsDnAndADoubleClickAnswersWithIt) {
    // State: the DN input box waits. Action: click the row of DN 24, then double-click the
    // row of DN 26. Expected: 24 offered to the box, then 26 offered and answered: sized.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("15", nullptr, [&run] {
        run.window.list_clicked(0, false);  // the header: nothing
        run.window.list_clicked(2, false);
        run.window.list_clicked(4, true);
        run.window.list_clicked(40, true);  // below the rows: nothing
    });
    run.click(ControlId::cmdok);
    EXPECT_EQ(run.toolkit.offers(), (std::vector<std::string>{"24", "26"}));
    EXPECT_EQ(run.state().dn, 26);
    // Without a box waiting, a click on the list offers nothing.
    run.window.list_clicked(2, false);
    EXPECT_EQ(run.toolkit.offers().size(), 2u);
}

TEST(DiameterList, TheMarksHaveTheirOwnTonesAndKeepTheirWords) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    std::vector<Tone> seen;
    for (const char* load : {"10000", "30000"}) {
        run.paste_load(load);
        std::vector<Tone> tones;
        std::vector<std::string> lines;
        run.toolkit.answer_input("25", nullptr, [&run, &tones, &lines] {
            tones = run.list().last_item_tone;
            for (std::size_t i = 0; i < run.list().lines.size(); ++i) {
                lines.push_back(run.list().line(i));
            }
        });
        run.click(ControlId::cmdok);
        ASSERT_GE(tones.size(), 6u);
        for (std::size_t i = 1; i <= 5; ++i) {
            const bool suggested = lines[i].find("推荐") != std::string::npos;
            const bool too_fast = lines[i].find("超速") != std::string::npos;
            EXPECT_EQ(tones[i], suggested  ? Tone::suggested
                                : too_fast ? Tone::too_fast
                                           : Tone::plain)
                << lines[i];
        }
        seen.insert(seen.end(), tones.begin(), tones.end());
    }
    EXPECT_NE(std::find(seen.begin(), seen.end(), Tone::suggested), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), Tone::too_fast), seen.end());
}

TEST(PrintColours, EveryToneReadsAtLeastFourAndAHalfToOneOnItsBackground) {
    struct Ground {
        const char* name;
        Rgb text;
        Rgb background;
    };
    for (const Ground& g : {Ground{"white", {0, 0, 0}, {255, 255, 255}},
                            Ground{"wine_grey", {0, 0, 0}, {245, 245, 245}},
                            Ground{"classic_grey", {0, 0, 0}, {212, 208, 200}},
                            Ground{"dark", {238, 238, 238}, {30, 30, 30}}}) {
        // The sheet's read-only cells draw the same tones on a shaded ground.
        const Rgb shaded = read_only_background(g.text, g.background);
        EXPECT_NE(shaded, g.background) << g.name;
        for (Tone tone :
             {Tone::plain, Tone::muted, Tone::suggested, Tone::too_fast, Tone::critical}) {
            for (Rgb ground : {g.background, shaded}) {
                EXPECT_GE(contrast_ratio(tone_colour(tone, g.text, ground), ground), least_contrast)
                    << g.name << " " << static_cast<int>(tone);
            }
        }
        // Told apart from the plain text and from each other; the preview as easy to read as
        // body text at level AAA.
        const Rgb muted = tone_colour(Tone::muted, g.text, g.background);
        EXPECT_NE(muted, g.text) << g.name;
        EXPECT_GE(contrast_ratio(muted, g.background), muted_contrast) << g.name;
        EXPECT_NE(tone_colour(Tone::suggested, g.text, g.background),
                  tone_colour(Tone::too_fast, g.text, g.background))
            << g.name;
        EXPECT_NE(tone_colour(Tone::critical, g.text, g.background),
                  tone_colour(Tone::too_fast, g.text, g.background))
            << g.name;
    }
    // The faint grey that was used: 166 on 245 reads 2.4 to 1.
    EXPECT_LT(contrast_ratio({166, 166, 166}, {245, 245, 245}), 2.5);
    EXPECT_NEAR(contrast_ratio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
}

TEST(Help, F1TellsWhatTheProgramDoesWhereAndWhichVersion) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    std::string help;
    Severity severity = Severity::warning;
    run.toolkit.expect_message(&help, &severity);
    run.window.help_requested();
    EXPECT_EQ(severity, Severity::information);
    EXPECT_EQ(help.rfind("Kestrune " + std::string(program_version()) + "：", 0), 0u) << help;
    EXPECT_NE(help.find("工作目录：" + run.folder.path().string()), std::string::npos) << help;
    for (const char* word : {"indata1.txt", "outdata.txt", "calcsheet.txt", "F1", "Enter", "Esc",
                             "GPL-3.0-or-later"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
}

TEST(Help, F1InTheSheetTellsItsKeysTheSyntaxTheFittingsWithTheirAliasesAndTheLoops) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    std::string help;
    run.toolkit.expect_message(&help);
    run.window.help_requested(true);
    for (const char* words : {
             "撤销 Ctrl+Z",
             "限值…（并联环路不平衡率限值）",
             "复制 Ctrl+C",
             "F2",
             "2×90°煨弯+截止阀",
             "2wt+jzf",
             "fittings.txt",
             "  90°煨弯  ξ DN15 1.5、DN20 1.5、DN25 1、DN32 1、DN40 0.5、DN50 及以上 0.5  "
             "别名 90度煨弯 煨弯 弯头 wb wt\n",
             "  闸阀  ξ DN25 及以上 0.5  别名 zf\n",
             "  散热器  ξ 2  别名 srq\n",
             "最不利环路",
             "15 %",
         }) {
        EXPECT_NE(help.find(words), std::string::npos) << words;
    }
    EXPECT_EQ(help.find("indata1.txt"), std::string::npos);  // not the main window's
}

}  // namespace
}  // namespace kestrune::testing
