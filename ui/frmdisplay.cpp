// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmdisplay.h"

#include "print_statements.h"

namespace kestrune::frmdisplay {

void show_results(WindowToolkit& toolkit, const design_state& s) {
    constexpr PrintWindowId window = PrintWindowId::frmdisplay;
    toolkit.show(window);
    toolkit.clear(window);
    toolkit.print(window, results_header());
    toolkit.print(window, result_values(s));
}

}  // namespace kestrune::frmdisplay
