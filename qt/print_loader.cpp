// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "module_entry.h"
#include "paper_print.h"

namespace kestrune {

PaperPrinter module_printer(std::filesystem::path module) {
    using Entry = int (*)(QWidget*, const PaperReport*, const QString*);
    // Found once, at the first print; the module stays loaded for the program's whole run.
    auto entry = std::make_shared<Entry>(nullptr);
    return [module = std::move(module), entry](QWidget* owner, const PaperReport& paper,
                                               const QString& title) {
        if (*entry == nullptr) {
            *entry = reinterpret_cast<Entry>(module_entry(module, print_module_entry));
            if (*entry == nullptr) {
                return PrintOutcome::failed;
            }
        }
        return static_cast<PrintOutcome>((*entry)(owner, &paper, &title));
    };
}

}  // namespace kestrune
