// SPDX-License-Identifier: GPL-3.0-or-later
#include "paper_print.h"

#include <QPrintDialog>
#include <QPrinter>

#include "paper_painter.h"

namespace kestrune {

PrintOutcome print_on_paper(QWidget* owner, const PaperReport& paper, const QString& title) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(paper.width > paper.height ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait);
    printer.setFullPage(true);  // the pages bring their own margins
    QPrintDialog dialog(&printer, owner);
    dialog.setMinMax(1, static_cast<int>(paper.pages.size()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted) {
        return PrintOutcome::cancelled;
    }
    const bool range = printer.printRange() == QPrinter::PageRange;
    const int first = range ? printer.fromPage() : 1;
    const int last = range ? printer.toPage() : static_cast<int>(paper.pages.size());
    return paint_paper(printer, paper, first, last) ? PrintOutcome::printed : PrintOutcome::failed;
}

}  // namespace kestrune
