// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameter_dialogs.h"

#include "number_text.h"

namespace kestrune {

float parameter_value(const ParameterDialog& dialog, const design_state& s) {
    return dialog.range == ParameterRange::positive ? s.*dialog.value
                                                    : static_cast<float>(s.*dialog.temperature);
}

std::string offered_answer(const ParameterDialog& dialog) {
    return float_box_form(parameter_value(dialog, design_state{}));
}

}  // namespace kestrune
