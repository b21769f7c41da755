// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "paper_pages.h"
#include "window_toolkit.h"

namespace kestrune {

// The 计算书's pages printed through the system's print dialog, owned by owner, under a
// document name (title): the dialog offers the page range; each page is fitted to the paper.
PrintOutcome print_on_paper(QWidget* owner, const PaperReport& paper, const QString& title);

// How the program prints: print_on_paper, or the module that holds it.
using PaperPrinter =
    std::function<PrintOutcome(QWidget* owner, const PaperReport& paper, const QString& title)>;

// The module's file name and the one function it offers (print_on_paper), so that Qt's
// print support is loaded when the engineer first prints, not at start.
inline constexpr const char* print_module_file = "libkestrune-print.so";
inline constexpr const char* print_module_entry = "kestrune_print_on_paper";
// Printing through the module, loaded at the first print; a module that cannot be loaded is
// a print that failed.
PaperPrinter module_printer(std::filesystem::path module);

}  // namespace kestrune
