// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance scenarios against the recording toolkit.
#include "conformance.h"

#include <gtest/gtest.h>

#include "program_run.h"

namespace kestrune::testing {
namespace {

class RecordingDriver : public ConformanceDriver {
  public:
    RecordingDriver() { EXPECT_TRUE(run_.start()); }
    void type_load(std::string_view digits) override { run_.type_load(digits); }
    void size(std::string_view dn) override {
        run_.toolkit.answer_input(std::string(dn));
        run_.click(ControlId::cmdok);
    }
    void size_refused(std::string_view dn) override { run_.refused_sizing(std::string(dn)); }
    void cancel_sizing() override {
        run_.toolkit.cancel_input();
        run_.click(ControlId::cmdok);
    }
    void set_parameter(ControlId button, std::string_view answer) override {
        run_.toolkit.answer_input(std::string(answer));
        run_.click(button);
    }
    void click(ControlId button) override { run_.click(button); }
    void results_gesture(Gesture gesture) override {
        run_.window.print_window_gesture(PrintWindowId::frmdisplay, gesture);
    }
    void close_main() override { run_.window.close_box(); }
    std::string shown(ControlId control) override { return run_.shown(control); }
    std::string tip(ControlId control) override { return run_.toolkit.tip(control); }
    std::string focus() override {
        const auto focused = run_.toolkit.focused();
        if (!focused) {
            return {};
        }
        return std::string(control_spec(focused->first).name) + ":" +
               (focused->second ? run_.shown(focused->first) : std::string());
    }
    bool results_visible() override { return run_.results().visible; }
    bool list_visible() override { return run_.list().visible; }
    bool ended() override { return run_.toolkit.ended(); }
    std::vector<std::string> results() override {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < run_.results().lines.size(); ++i) {
            lines.push_back(run_.results().line(i));
        }
        return lines;
    }
    std::string log() override { return run_.log(); }

  private:
    ProgramRun run_;
};

TEST(Conformance, TheRecordingToolkitPlaysEveryScenario) {
    for (const Scenario& scenario : conformance_scenarios()) {
        RecordingDriver driver;
        const auto differences = play(driver, scenario);
        EXPECT_TRUE(differences.empty()) << differences.front();
    }
}

}  // namespace
}  // namespace kestrune::testing
