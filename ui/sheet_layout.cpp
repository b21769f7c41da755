// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_layout.h"

namespace kestrune {

const ColumnLayout& column_layout(SheetColumn column) {
    for (const ColumnLayout& layout : sheet_columns) {
        if (layout.column == column) {
            return layout;
        }
    }
    return sheet_columns.front();
}

}  // namespace kestrune
