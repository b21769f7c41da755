// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "arith_error.h"
#include "design_state.h"
#include "window_layout.h"

namespace kestrune {

// The four buttons of Frame1 and the input box each opens, described once: the handler asks
// and stores by it, the buttons' tips show by it, and the tests read it.
enum class ParameterRange {
    positive,     // a 32-bit float above 0
    temperature,  // a 16-bit whole number, whose difference to the other one fits too
};

struct ParameterDialog {
    ControlId button;
    std::string_view prompt;
    std::string_view title;
    std::string_view quantity;  // how messages name it
    std::string_view unit;      // of the value, as its button's tip shows it
    ParameterRange range;
    float design_state::*value = nullptr;               // positive: the field
    std::int16_t design_state::*temperature = nullptr;  // temperature: the field
    std::optional<ArithError> (design_state::*set_temperature)(std::int16_t) = nullptr;
};

// clang-format off
inline constexpr std::array<ParameterDialog, 4> parameter_dialogs{{
    {ControlId::cmdset1, "请你输入需要的密度：", "密度更改！", "密度", "kg/m³",
     ParameterRange::positive, &design_state::rho, nullptr, nullptr},
    {ControlId::cmdset2, "请你输入新的供水温度：", "供水温度更改！", "供水温度", "°C",
     ParameterRange::temperature, nullptr, &design_state::t_supply, &design_state::set_t_supply},
    {ControlId::cmdset3, "请你输入新的回水温度：", "回水温度更改！", "回水温度", "°C",
     ParameterRange::temperature, nullptr, &design_state::t_return, &design_state::set_t_return},
    {ControlId::cmdset4, "请你输入新的粘滞系数：", "粘滞系数更改！", "粘滞系数", "mm²/s",
     ParameterRange::positive, &design_state::nu, nullptr, nullptr},
}};
// clang-format on

// The parameter's value in a record, as a float.
float parameter_value(const ParameterDialog& dialog, const design_state& s);
// The answer the box offers: always the factory value of the record, whatever is stored now.
std::string offered_answer(const ParameterDialog& dialog);

// The sizing run's question for the nominal diameter.
inline constexpr std::string_view diameter_prompt = "请你输入合适的公称直径:";
inline constexpr std::string_view diameter_title = "输入公称直径！";
inline constexpr std::string_view diameter_offered = "15";

}  // namespace kestrune
