// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scenarios of an engineer's actions and what each should leave, played alike against the
// recording toolkit, the Qt front-end and the Win32 front-end through a thin driver each, so
// that the three agree on what the windows do. Framework-neutral: a play gives the
// differences found, each suite asserts there are none.

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "expected_log.h"
#include "window_layout.h"

namespace kestrune::testing {

// The engineer's hands, in each toolkit's own way.
class ConformanceDriver {
  public:
    virtual ~ConformanceDriver() = default;
    virtual void type_load(std::string_view digits) = 0;  // typed key by key
    virtual void size(std::string_view dn) = 0;           // 确定, then the DN answered
    virtual void size_refused(std::string_view dn) = 0;   // the same, a message expected
    virtual void cancel_sizing() = 0;                     // 确定, then 取消
    virtual void set_parameter(ControlId button, std::string_view answer) = 0;
    virtual void click(ControlId button) = 0;
    virtual void results_gesture(Gesture gesture) = 0;  // on the results window
    virtual void close_main() = 0;                      // the main window's close box
    virtual std::string shown(ControlId control) = 0;
    virtual std::string tip(ControlId control) = 0;
    // The control that has the focus and its selected text: "Text1:10000"; empty when none.
    virtual std::string focus() = 0;
    virtual bool results_visible() = 0;
    virtual bool list_visible() = 0;
    virtual bool ended() = 0;  // the windows gone and the event loop told to end
    // Each input box shown so far, "title|prompt|offered"; the list's lines, items joined by
    // "|", as they stood while the last diameter was asked for. The drivers note them.
    const std::vector<std::string>& asked() const { return asked_; }
    const std::vector<std::string>& listed() const { return listed_; }
    virtual std::vector<std::string> results() = 0;  // items joined by "|"
    virtual std::string log() = 0;

  protected:
    std::vector<std::string> asked_;
    std::vector<std::string> listed_;
};

struct Action {
    enum Kind {
        type_load,
        size,
        size_refused,
        cancel_sizing,
        set_parameter,
        click,
        on_results,
        close
    } kind;
    std::string text;
    ControlId button = ControlId::cmdset1;
    Gesture gesture = Gesture::escape;  // on_results
};

struct Scenario {
    const char* name;
    std::vector<Action> actions;
    std::vector<std::pair<ControlId, std::string>> boxes;  // texts the boxes show at the end
    bool results_visible;
    std::vector<std::string> results;  // what the results window shows, when visible
    std::string log;
    std::vector<std::pair<ControlId, std::string>> tips = {};  // tips the controls show
    std::string focus = {};                                    // when not empty
    bool ended = false;
    std::vector<std::string> asked = {};                           // when not empty
    std::vector<std::pair<std::size_t, std::string>> listed = {};  // lines by number
};

inline const std::vector<Scenario>& conformance_scenarios() {
    static const std::vector<Scenario> scenarios{
        {"worked_example",
         {{Action::type_load, "10000"}, {Action::size, "25"}},
         {{ControlId::Text2, "12000"}, {ControlId::Text3, "412.71"}, {ControlId::problem_line, ""}},
         true,
         {"用户负荷|设计负荷|设计流量|公称管径| 流速 | 比摩阻",
          " 10000 | 12000 | 412.71 | 25 | .329 | 101.17 "},
         header_bytes() + worked_row,
         {},
         {},
         false,
         {"输入公称直径！|请你输入合适的公称直径:|15"},
         {{0, "公称直径|管道内径|流速(m/s)|比摩阻(Pa/m)"},
          {3, " 25 | 21.25 | .329 | 101.17 |推荐"}}},
        {"results_put_away_then_sized_again",
         {{Action::type_load, "10000"},
          {Action::size, "25"},
          {Action::on_results, ""},
          {Action::size, "25"}},
         {{ControlId::Text3, "412.71"}},
         true,
         {"用户负荷|设计负荷|设计流量|公称管径| 流速 | 比摩阻",
          " 10000 | 12000 | 412.71 | 25 | .329 | 101.17 "},
         header_bytes() + worked_row + worked_row},
        {"esc_puts_the_results_away_and_the_next_load_is_typed_over_the_last",
         {{Action::type_load, "10000"}, {Action::size, "25"}, {Action::on_results, ""}},
         {{ControlId::Text2, "12000"}},
         false,
         {},
         header_bytes() + worked_row,
         {},
         "Text1:10000"},
        {"a_double_click_and_the_close_box_put_the_results_away",
         {{Action::type_load, "10000"},
          {Action::size, "25"},
          {Action::on_results, "", ControlId::cmdset1, Gesture::double_click},
          {Action::size, "25"},
          {Action::on_results, "", ControlId::cmdset1, Gesture::close_box}},
         {{ControlId::Text3, "412.71"}},
         false,
         {},
         header_bytes() + worked_row + worked_row},
        {"cancel_sizes_nothing",
         {{Action::type_load, "10000"}, {Action::cancel_sizing, ""}},
         {{ControlId::Text2, "12000"}},
         false,
         {},
         header_bytes()},
        {"the_close_box_ends_the_program_and_leaves_the_log",
         {{Action::type_load, "10000"}, {Action::size, "25"}, {Action::close, ""}},
         {},
         false,
         {},
         header_bytes() + worked_row,
         {},
         {},
         true},
        {"exit_ends_the_program_and_leaves_the_log",
         {{Action::type_load, "10000"},
          {Action::size, "25"},
          {Action::click, "", ControlId::Cmdexit}},
         {},
         false,
         {},
         header_bytes() + worked_row,
         {},
         {},
         true},
        {"each_parameter_button_asks_with_its_own_title_and_value",
         {{Action::set_parameter, "983.25", ControlId::cmdset1},
          {Action::set_parameter, "95", ControlId::cmdset2},
          {Action::set_parameter, "70", ControlId::cmdset3},
          {Action::set_parameter, "0.477", ControlId::cmdset4}},
         {},
         false,
         {},
         header_bytes(),
         {},
         {},
         false,
         {"密度更改！|请你输入需要的密度：|983.25", "供水温度更改！|请你输入新的供水温度：|95",
          "回水温度更改！|请你输入新的回水温度：|70",
          "粘滞系数更改！|请你输入新的粘滞系数：|0.477"}},
        {"the_parameter_buttons_tell_their_current_values",
         {{Action::set_parameter, "977.8", ControlId::cmdset1}},
         {},
         false,
         {},
         header_bytes(),
         {{ControlId::cmdset1, "当前：977.8 kg/m³"},
          {ControlId::cmdset3, "当前：70 °C"},
          {ControlId::cmdset4, "当前：0.477 mm²/s"}}},
        {"a_diameter_not_in_the_table_logs_nothing",
         {{Action::type_load, "10000"}, {Action::size_refused, "65"}},
         {{ControlId::Text2, "12000"}},
         false,
         {},
         header_bytes()},
        {"a_new_supply_temperature_changes_the_flow_at_the_next_load",
         {{Action::set_parameter, "90", ControlId::cmdset2}, {Action::type_load, "10000"}},
         {{ControlId::Text2, "12000"}, {ControlId::Text3, "515.89"}},
         false,
         {},
         header_bytes()},
    };
    return scenarios;
}

// Plays a scenario; the differences from what it expects, none when the toolkit agrees.
inline std::vector<std::string> play(ConformanceDriver& driver, const Scenario& scenario) {
    for (const Action& action : scenario.actions) {
        switch (action.kind) {
            case Action::type_load:
                driver.type_load(action.text);
                break;
            case Action::size:
                driver.size(action.text);
                break;
            case Action::size_refused:
                driver.size_refused(action.text);
                break;
            case Action::cancel_sizing:
                driver.cancel_sizing();
                break;
            case Action::set_parameter:
                driver.set_parameter(action.button, action.text);
                break;
            case Action::click:
                driver.click(action.button);
                break;
            case Action::on_results:
                driver.results_gesture(action.gesture);
                break;
            case Action::close:
                driver.close_main();
                break;
        }
    }
    std::vector<std::string> differences;
    const auto differ = [&](const std::string& what, const std::string& got,
                            const std::string& want) {
        if (got != want) {
            differences.push_back(std::string(scenario.name) + ": " + what + " is \"" + got +
                                  "\", not \"" + want + "\"");
        }
    };
    for (const auto& [control, text] : scenario.boxes) {
        differ(std::string(control_spec(control).name), driver.shown(control), text);
    }
    for (const auto& [control, text] : scenario.tips) {
        differ(std::string(control_spec(control).name) + " tip", driver.tip(control), text);
    }
    if (!scenario.focus.empty()) {
        differ("focus", driver.focus(), scenario.focus);
    }
    if (!scenario.asked.empty()) {
        const auto& asked = driver.asked();
        for (std::size_t i = 0; i < std::max(asked.size(), scenario.asked.size()); ++i) {
            differ("input box " + std::to_string(i), i < asked.size() ? asked[i] : "",
                   i < scenario.asked.size() ? scenario.asked[i] : "");
        }
    }
    const auto& listed = driver.listed();
    for (const auto& [line, text] : scenario.listed) {
        differ("list line " + std::to_string(line), line < listed.size() ? listed[line] : "", text);
    }
    const auto yes = [](bool b) { return std::string(b ? "yes" : "no"); };
    differ("results visible", yes(driver.results_visible()), yes(scenario.results_visible));
    differ("list visible", yes(driver.list_visible()), "no");
    differ("ended", yes(driver.ended()), yes(scenario.ended));
    if (scenario.results_visible) {
        const auto lines = driver.results();
        for (std::size_t i = 0; i < scenario.results.size(); ++i) {
            differ("results line " + std::to_string(i), i < lines.size() ? lines[i] : "",
                   scenario.results[i]);
        }
    }
    differ("log", driver.log(), scenario.log);
    return differences;
}

}  // namespace kestrune::testing
