// SPDX-License-Identifier: GPL-3.0-or-later
// The exports as a module the Linux program loads when the engineer first exports: the
// libraries they need (libxlsxwriter, libharu and theirs) are not loaded at start.
#include "export_module.h"

#include "sheet_export.h"

extern "C" __attribute__((visibility("default"))) void kestrune_sheet_exports(
    kestrune::SheetExports* exports) {
    *exports = kestrune::sheet_exports();
}
