// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance scenarios against the recording toolkit.
#include <gtest/gtest.h>

#include "program_run.h"
#include "scenarios.h"
#include "sheet_cells.h"

namespace kestrune::testing {
namespace {

class RecordingDriver : public ConformanceDriver {
  public:
    RecordingDriver() { EXPECT_TRUE(run_.start()); }
    void type_load(std::string_view digits) override { run_.type_load(digits); }
    void size(std::string_view dn, std::optional<Gesture> on_list) override {
        run_.toolkit.answer_input(std::string(dn), &seen_, [this, on_list] {
            if (on_list) {
                run_.window.print_window_gesture(PrintWindowId::frmchoose, *on_list);
            }
            list_now();
        });
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
    void gesture(PrintWindowId window, Gesture gesture) override {
        run_.window.print_window_gesture(window, gesture);
    }
    void close_main() override { run_.window.close_box(); }
    void sheet_press(const KeyStroke& stroke) override {
        if (auto key = grid_key(stroke)) {
            run_.window.grid().key(*key);
        }
    }

    void sheet_row_number(std::size_t row, bool shift) override {
        run_.window.grid().row_header_click(row, shift);
    }
    void close_sheet() override { sheet_closed_ = run_.window.grid().closing(); }
    void answer_question(std::string_view caption) override {
        run_.toolkit.click_button(std::string(caption));
    }

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
    std::vector<std::string> results() override { return lines(run_.results()); }
    std::string log() override { return run_.log(); }
    bool sheet_visible() override { return run_.toolkit.sheet_shown() > 0 && !sheet_closed_; }
    std::string sheet_cell(std::size_t row, std::size_t column) override {
        return shown_cell(run_.window.sheet().sheet(), row, column).text;
    }
    std::optional<std::string> sheet_editor() override {
        const SheetGrid& grid = run_.window.grid();
        return grid.editing() ? std::optional(grid.edit_text()) : std::nullopt;
    }
    std::string sheet_message() override { return run_.window.grid().message(); }
    int sheet_scrolled() override { return 0; }  // it draws nothing to scroll
    frmcompute& handlers() override { return run_.window; }
    WindowToolkit& toolkit() override { return run_.toolkit; }

  private:
    static std::vector<std::string> lines(const PrintedWindow& window) {
        std::vector<std::string> joined;
        for (std::size_t i = 0; i < window.lines.size(); ++i) {
            joined.push_back(window.line(i));
        }
        return joined;
    }
    void note_asked() { asked_.push_back(seen_.title + "|" + seen_.prompt + "|" + seen_.offered); }
    void list_now() { note_list(lines(run_.list()), run_.list().visible); }

    ProgramRun run_;
    InputRequest seen_;
    bool sheet_closed_ = false;
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
