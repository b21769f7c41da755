// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_columns.h"

namespace kestrune {

std::size_t column_index(SheetColumn column) {
    for (std::size_t i = 0; i < sheet_columns.size(); ++i) {
        if (sheet_columns[i].column == column) {
            return i;
        }
    }
    return 0;
}

const ColumnLayout& column_layout(SheetColumn column) {
    return sheet_columns[column_index(column)];
}

}  // namespace kestrune
