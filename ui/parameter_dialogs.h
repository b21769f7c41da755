// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "window_layout.h"

namespace kestrune {

// The four buttons of Frame1 and the input box each opens. The answer offered is always the
// factory value, whatever is stored now.
struct ParameterDialog {
    ControlId button;
    std::string_view prompt;
    std::string_view title;
    std::string_view offered;
    std::string_view quantity;  // how messages name it
    std::string_view unit;      // of the value, as its button's tip shows it
};

inline constexpr std::array<ParameterDialog, 4> parameter_dialogs{{
    {ControlId::cmdset1, "请你输入需要的密度：", "密度更改！", "983.25", "密度", "kg/m³"},
    {ControlId::cmdset2, "请你输入新的供水温度：", "供水温度更改！", "95", "供水温度", "°C"},
    {ControlId::cmdset3, "请你输入新的回水温度：", "回水温度更改！", "70", "回水温度", "°C"},
    {ControlId::cmdset4, "请你输入新的粘滞系数：", "粘滞系数更改！", "0.477", "粘滞系数", "mm²/s"},
}};

// The sizing run's question for the nominal diameter.
inline constexpr std::string_view diameter_prompt = "请你输入合适的公称直径:";
inline constexpr std::string_view diameter_title = "输入公称直径！";
inline constexpr std::string_view diameter_offered = "15";

}  // namespace kestrune
