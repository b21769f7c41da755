// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmchoose.h"

#include <QCloseEvent>

#include "print_statements.h"

namespace kestrune {

frmchoose::frmchoose(QWidget* parent)
    : PrintWindow(parent, QStringLiteral("frmchoose"), QStringLiteral("直径的选择:"), 9945, 4065) {}

void frmchoose::list_pipes(const PipeTable& pipes, const std::optional<TablePreview>& preview) {
    PrintSurface* list = surface();
    if (!preview) {
        list->print_line(diameter_list_header());
        for (const PipeSize& row : pipes) {
            list->print_line(diameter_list_row(row));
        }
        return;
    }
    list->print_line(diameter_preview_header(), preview_first_item);
    for (std::size_t i = 0; i < pipes.size(); ++i) {
        const auto& row_preview = (*preview)[i];
        list->print_line(row_preview ? diameter_preview_row(pipes[i], *row_preview)
                                     : diameter_list_row(pipes[i]),
                         preview_first_item);
    }
    list->print_line(diameter_preview_note(), 0);
}

void frmchoose::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace kestrune
