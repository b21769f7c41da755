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
