// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>
#include <memory>
#include <string>

#include "example_table.h"
#include "frmchoose.h"
#include "frmcompute.h"
#include "frmdisplay.h"
#include "modal_watch.h"
#include "print_line.h"
#include "print_statements.h"
#include "temp_folder.h"

namespace kestrune::testing {

// A small table with the row 25 / 21.25 of the worked example.
inline const char* const worked_dn = "15\r\n24\r\n25\r\n26\r\n27\r\n";
inline const char* const worked_d = "15.75\r\n20\r\n21.25\r\n22\r\n0\r\n";

// The printed items of one line of a print surface, joined by "|".
inline QString printed(const PrintSurface* surface, std::size_t line) {
    QStringList items;
    for (const PlacedText& p : surface->lines().at(line)) {
        items << QString::fromStdString(p.text);
    }
    return items.join('|');
}

inline std::string header_bytes() {
    return file_line(log_header());
}

inline std::string row_bytes(float q_user, float q_design, float g, std::int16_t dn, float v,
                             float r) {
    design_state s;
    s.q_user = q_user;
    s.q_design = q_design;
    s.g_design = g;
    s.dn = dn;
    s.v = v;
    s.r = r;
    return file_line(result_values(s));
}

// One program run in a fresh working folder: the table files are written, the main window
// is made, and every modal dialog goes through the watch.
class ProgramRun {
  public:
    explicit ProgramRun(const char* dn_file = worked_dn, const char* d_file = worked_d) {
        if (dn_file != nullptr) {
            write_bytes("indata1.txt", dn_file);
        }
        if (d_file != nullptr) {
            write_bytes("indata2.txt", d_file);
        }
        window = std::make_unique<frmcompute>();
    }
    ~ProgramRun() { window.reset(); }

    // Runs the start-up sequence and shows the main window.
    bool start() {
        bool started = window->start();
        if (started) {
            window->show_centred();
        }
        return started;
    }

    QLineEdit* text(const char* name) const { return window->findChild<QLineEdit*>(name); }
    // The load box emptied, then the load typed key by key.
    void type_load(const char* load) const {
        text("Text1")->clear();
        QTest::keyClicks(text("Text1"), load);
    }
    // The load box emptied, then the load pasted: one change for the whole text.
    void paste_load(const QString& load) const {
        text("Text1")->clear();
        text("Text1")->insert(load);
    }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    std::string log() const { return read_bytes("outdata.txt"); }

    TempWorkingFolder folder;
    ModalWatch watch;
    std::unique_ptr<frmcompute> window;
};

}  // namespace kestrune::testing
