// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance scenarios against the Win32 front-end under Wine: characters into the real
// edit controls, the real input box answered, the real print windows read.
#include "conformance.h"

#include <gtest/gtest.h>

#include "win32_program.h"

namespace kestrune::testing {
namespace {

class Win32Driver : public ConformanceDriver {
  public:
    Win32Driver() { EXPECT_TRUE(run_.start()); }
    void type_load(std::string_view digits) override {
        SetWindowTextW(run_.control(ControlId::Text1), L"");
        run_.type(ControlId::Text1, wide_text(digits).c_str());
    }
    void size(std::string_view dn) override {
        run_.watch.answer(wide_text(dn));
        run_.click(ControlId::cmdok);
    }
    void size_refused(std::string_view dn) override {
        run_.watch.answer(wide_text(dn));
        run_.watch.press(L"确定");
        run_.click(ControlId::cmdok);
    }
    void set_parameter(ControlId button, std::string_view answer) override {
        run_.watch.answer(wide_text(answer));
        run_.click(button);
    }
    void put_results_away() override {
        SendMessageW(run_.results().handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
    std::string shown(ControlId control) override { return run_.shown(control); }
    bool results_visible() override { return IsWindowVisible(run_.results().handle()) != FALSE; }
    std::vector<std::string> results() override {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < run_.results().lines().size(); ++i) {
            lines.push_back(run_.printed(run_.results(), i));
        }
        return lines;
    }
    std::string log() override { return run_.log(); }

  private:
    Win32Program run_;
};

TEST(Conformance, TheWin32FrontEndPlaysEveryScenario) {
    for (const Scenario& scenario : conformance_scenarios()) {
        Win32Driver driver;
        const auto differences = play(driver, scenario);
        EXPECT_TRUE(differences.empty()) << differences.front();
    }
}

}  // namespace
}  // namespace kestrune::testing
