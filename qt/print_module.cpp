// SPDX-License-Identifier: GPL-3.0-or-later
// Printing as a module the Linux program loads when the engineer first prints: Qt's print
// support is not loaded at start. The outcome is given as its number (PrintOutcome).
#include "paper_print.h"

extern "C" __attribute__((visibility("default"))) int kestrune_print_on_paper(
    QWidget* owner, const kestrune::PaperReport* paper, const QString* title) {
    return static_cast<int>(kestrune::print_on_paper(owner, *paper, *title));
}
