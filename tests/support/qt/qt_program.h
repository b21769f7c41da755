// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>
#include <string>

#include "expected_log.h"
#include "frmcompute.h"
#include "modal_watch.h"
#include "print_line.h"
#include "print_statements.h"
#include "qt_windows.h"
#include "sheet_export.h"
#include "sheet_window.h"
#include "temp_folder.h"

namespace kestrune::testing {

// The printed items of one line of a print surface, joined by "|".
inline QString printed(const PrintSurface* surface, std::size_t line) {
    QStringList items;
    for (const PlacedText& p : surface->lines().at(line)) {
        items << QString::fromStdString(p.text);
    }
    return items.join('|');
}

// The program as app/main.cpp puts it together, in a fresh working folder with the table;
// every modal dialog goes through the watch.
class QtProgram {
  public:
    explicit QtProgram(const char* dn_file = worked_dn, const char* d_file = worked_d) {
        write_pipe_table(dn_file, d_file);
        windows.set_paper_printer(print_on_paper);
        windows.connect_to(handlers);
    }

    // Runs the start-up sequence and shows the main window.
    bool start() {
        const bool started = handlers.start();
        if (started) {
            windows.show_main();
        }
        return started;
    }

    QLineEdit* text(const char* name) const {
        return windows.main_window()->findChild<QLineEdit*>(name);
    }
    QPushButton* button(const char* name) const {
        return windows.main_window()->findChild<QPushButton*>(name);
    }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    // The worked example: 10000 W typed, then DN 25 answered in the real input box.
    void size_worked_example() {
        QTest::keyClicks(text("Text1"), "10000");
        watch.answer_input("25");
        click("cmdok");
    }
    PrintWindow* list() const { return windows.print_window(PrintWindowId::frmchoose); }
    PrintWindow* results() const { return windows.print_window(PrintWindowId::frmdisplay); }
    std::string log() const { return read_bytes("outdata.txt"); }
    // A cell of the sheet as its view shows it; column: an index into sheet_columns.
    QString sheet_cell(std::size_t row, std::size_t column) const {
        const QAbstractItemModel* model = windows.sheet_window()->view()->model();
        return model->data(model->index(static_cast<int>(row), static_cast<int>(column)))
            .toString();
    }

    TempWorkingFolder folder;
    ModalWatch watch;
    QtWindows windows;
    frmcompute handlers{windows, {}, sheet_exports()};
};

}  // namespace kestrune::testing
