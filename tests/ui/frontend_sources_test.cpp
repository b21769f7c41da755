// SPDX-License-Identifier: GPL-3.0-or-later
// The front-ends render and forward, nothing else: no text the engineer reads and no colour
// of their own stands in them; both come from the toolkit-free windows code.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace kestrune::testing {
namespace {

struct Finding {
    std::string where;
    std::string line;
};

// The code lines of the front-ends' sources (comments left out) that match.
template <class Match>
std::vector<Finding> scan(Match match) {
    std::vector<Finding> found;
    for (const char* folder : {"qt", "win32"}) {
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::filesystem::path(KESTRUNE_SOURCE_DIR) / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") {
                continue;
            }
            std::ifstream in(entry.path());
            int number = 0;
            for (std::string line; std::getline(in, line);) {
                ++number;
                const std::string code = line.substr(0, line.find("//"));
                if (match(code)) {
                    found.push_back(
                        {entry.path().filename().string() + ":" + std::to_string(number), line});
                }
            }
        }
    }
    return found;
}

std::string listed(const std::vector<Finding>& found) {
    std::string text;
    for (const Finding& f : found) {
        text += f.where + ": " + f.line + "\n";
    }
    return text;
}

TEST(FrontEndSources, HoldNoChineseText) {
    // UTF-8 of the CJK ideographs and full-width forms: a lead byte E3 to E9 or EF.
    const auto found = scan([](const std::string& code) {
        for (std::size_t i = 0; i + 2 < code.size(); ++i) {
            const auto lead = static_cast<unsigned char>(code[i]);
            if ((lead >= 0xE3 && lead <= 0xE9) || lead == 0xEF) {
                return true;
            }
        }
        return false;
    });
    EXPECT_TRUE(found.empty()) << listed(found);
}

TEST(FrontEndSources, HoldNoColourOfTheirOwn) {
    const std::regex colour(
        R"(RGB\(\s*(0x|[0-9])|#[0-9a-fA-F]{6}\b|QColor\(\s*[0-9]|Qt::(red|green|blue|darkRed|darkGreen|gray|darkGray|lightGray)\b)");
    const auto found =
        scan([&colour](const std::string& code) { return std::regex_search(code, colour); });
    EXPECT_TRUE(found.empty()) << listed(found);
}

TEST(FrontEndSources, DecideNoKeyClickColourOrMeasureOfTheSheet) {
    // What a key or a click means (the grid's keys, whole rows), which colour a cell takes
    // and where the window's parts stand: the toolkit-free code decides, once for both.
    const std::regex rule(
        R"(GridKey::|select_rows\(|ctrl_letter\(|read_only_background|sheet_window_layout\.(margin|button|line_height|loops_height)|metrics\.height\(\) *\+|frmsheet_window\.(width|height) */)");
    const auto found =
        scan([&rule](const std::string& code) { return std::regex_search(code, rule); });
    EXPECT_TRUE(found.empty()) << listed(found);
}

}  // namespace
}  // namespace kestrune::testing
