// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "frmcompute.h"
#include "print_statements.h"
#include "recording_toolkit.h"
#include "temp_folder.h"

namespace kestrune::testing {

// A small table with the row 25 / 21.25 of the worked example.
inline const char* const worked_dn = "15\r\n24\r\n25\r\n26\r\n27\r\n";
inline const char* const worked_d = "15.75\r\n20\r\n21.25\r\n22\r\n0\r\n";

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

inline const std::string worked_row = row_bytes(10000, 12000, 412.71f, 25, 0.329f, 101.17f);

// One program run in a fresh working folder: the table files are written, and the main
// window's handlers run on the recording toolkit. The engineer's actions go through the
// same entry points a front-end forwards its events to.
class ProgramRun {
  public:
    explicit ProgramRun(const char* dn_file = worked_dn, const char* d_file = worked_d) {
        if (dn_file != nullptr) {
            write_bytes("indata1.txt", dn_file);
        }
        if (d_file != nullptr) {
            write_bytes("indata2.txt", d_file);
        }
    }

    bool start() { return window.start(); }

    // The box emptied, then the text typed character by character: one change each.
    void type(ControlId box, std::string_view text) {
        paste(box, "");
        for (std::size_t end = 1; end <= text.size(); ++end) {
            toolkit.set_typed(box, std::string(text.substr(0, end)));
            window.text_changed(box);
        }
    }
    // The box's whole text replaced at once: one change.
    void paste(ControlId box, std::string_view text) {
        toolkit.set_typed(box, std::string(text));
        window.text_changed(box);
    }
    void type_load(std::string_view load) { type(ControlId::Text1, load); }
    void paste_load(std::string_view load) { paste(ControlId::Text1, load); }
    void click(ControlId button) { window.clicked(button); }

    std::string shown(ControlId control) const { return toolkit.text(control); }
    const PrintedWindow& list() const { return toolkit.window(PrintWindowId::frmchoose); }
    const PrintedWindow& results() const { return toolkit.window(PrintWindowId::frmdisplay); }
    const design_state& state() const { return window.state(); }
    std::string log() const { return read_bytes("outdata.txt"); }

    TempWorkingFolder folder;
    RecordingToolkit toolkit;
    frmcompute window{toolkit};
};

}  // namespace kestrune::testing
