// SPDX-License-Identifier: GPL-3.0-or-later
// The 计算书's font: the first of the system's Chinese fonts it has, in a fixed order.
#include "chinese_font.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "temp_folder.h"

namespace kestrune {
namespace {

// Windows's order, whatever system the test runs on.
constexpr std::array<FontChoice, 5> windows_order{{
    {"simsun.ttc", "宋体 SimSun"},
    {"simhei.ttf", "黑体 SimHei"},
    {"msyh.ttc", "微软雅黑 Microsoft YaHei"},
    {"deng.ttf", "等线 DengXian"},
    {"simkai.ttf", "楷体 KaiTi"},
}};

TEST(ChineseFont, TheFirstFontTheSystemHasIsTakenInTheirOrder) {
    testing::TempWorkingFolder folder;
    EXPECT_FALSE(first_font(".", windows_order));  // none: the export refuses
    struct Step {
        const char* added;
        const char* taken;
    };
    // An English Windows: KaiTi, then DengXian and YaHei; a Chinese one adds SimHei and SimSun.
    for (const Step& step :
         {Step{"simkai.ttf", "楷体 KaiTi"}, Step{"deng.ttf", "等线 DengXian"},
          Step{"msyh.ttc", "微软雅黑 Microsoft YaHei"}, Step{"simhei.ttf", "黑体 SimHei"},
          Step{"simsun.ttc", "宋体 SimSun"}}) {
        testing::write_bytes(step.added, "font");
        const auto font = first_font(".", windows_order);
        ASSERT_TRUE(font) << step.added;
        EXPECT_EQ(font->name, step.taken);
        EXPECT_EQ(font->file.filename(), std::filesystem::path(step.added));
    }
    // A folder under a font's name is no font.
    std::filesystem::remove("simsun.ttc");
    std::filesystem::create_directory("simsun.ttc");
    EXPECT_EQ(first_font(".", windows_order)->name, "黑体 SimHei");
}

}  // namespace
}  // namespace kestrune
