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
        run_.toolkit.answer_input(std::string(dn), &seen_, [this] { list_now(); });
        run_.click(ControlId::cmdok);
        note_asked();
    }
    void size_refused(std::string_view dn) override {
        std::string message;
        run_.toolkit.answer_input(std::string(dn), &seen_, [this] { list_now(); });
        run_.toolkit.expect_message(&message);
        run_.click(ControlId::cmdok);
        note_asked();
    }
    void cancel_sizing() override {
        run_.toolkit.cancel_input(&seen_);
        run_.click(ControlId::cmdok);
        note_asked();
    }
    void set_parameter(ControlId button, std::string_view answer) override {
        run_.toolkit.answer_input(std::string(answer), &seen_);
        run_.click(button);
        note_asked();
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
    void note_asked() { asked_.push_back(seen_.title + "|" + seen_.prompt + "|" + seen_.offered); }
    void list_now() {
        listed_.clear();
        for (std::size_t i = 0; i < run_.list().lines.size(); ++i) {
            listed_.push_back(run_.list().line(i));
        }
    }

    ProgramRun run_;
    InputRequest seen_;
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
