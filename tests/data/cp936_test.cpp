// SPDX-License-Identifier: GPL-3.0-or-later
#include "cp936.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(CodePage936, ChineseTakesTwoBytesAndAsciiOne) {
    EXPECT_EQ(to_cp936("用户负荷"), "\xD3\xC3\xBB\xA7\xB8\xBA\xBA\xC9");
    EXPECT_EQ(to_cp936(" 12.5 "), " 12.5 ");
    EXPECT_EQ(to_cp936("比摩阻").size(), 6u);
    EXPECT_EQ(to_cp936("：").size(), 2u);
    EXPECT_EQ(to_cp936(""), "");
}

TEST(CodePage936, UnknownCharactersAndBrokenSequencesBecomeQuestionMarks) {
    EXPECT_EQ(to_cp936("a\xF0\x9F\x98\x80z"), "a?z");  // an emoji has no GBK code
    EXPECT_EQ(to_cp936("a\xFFz"), "a?z");
    EXPECT_EQ(to_cp936("a\xE7\x94"), "a?");  // cut short at the end
    // One "?" for each broken part, and what follows it is kept.
    struct Case {
        const char* name;
        const char* utf8;
        const char* cp936;
    };
    for (Case c : {Case{"cut short before a letter", "\xE7\x94z", "?z"},
                   Case{"cut short before Chinese", "\xE7\x94\xE7\x94\xA8", "?\xD3\xC3"},
                   Case{"overlong slash", "\xC0\xAF", "??"},
                   Case{"overlong three bytes", "\xE0\x80\xAF", "???"},
                   Case{"surrogate half", "\xED\xA0\x80", "???"},
                   Case{"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
                   Case{"lone continuation", "\x80\xBF", "??"},
                   Case{"full-width digit", "\xEF\xBC\x91", "\xA3\xB1"}}) {
        EXPECT_EQ(to_cp936(c.utf8), c.cp936) << c.name;
    }
}

TEST(CodePage936, LongTextIsConvertedWhole) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "流速";
    }
    EXPECT_EQ(to_cp936(text).size(), 4000u);
}

}  // namespace
}  // namespace kestrune
