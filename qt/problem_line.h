// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QString>

#include "print_colours.h"

namespace kestrune {

// A label that says what went wrong: in the warning colour of the problem line.
inline void colour_as_problem_line(QLabel* label) {
    label->setStyleSheet(QStringLiteral("color: rgb(%1, %2, %3);")
                             .arg(problem_line_colour.r)
                             .arg(problem_line_colour.g)
                             .arg(problem_line_colour.b));
}

}  // namespace kestrune
