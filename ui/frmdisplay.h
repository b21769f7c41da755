// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design_state.h"
#include "window_toolkit.h"

namespace kestrune::frmdisplay {

// The results window shows the header and the values of the last sizing: it is shown,
// cleared and printed on anew by each sizing.
void show_results(WindowToolkit& toolkit, const design_state& s);

}  // namespace kestrune::frmdisplay
