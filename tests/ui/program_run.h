// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "expected_log.h"
#include "frmcompute.h"
#include "print_statements.h"
#include "recording_toolkit.h"
#include "sheet_export.h"
#include "temp_folder.h"

namespace kestrune::testing {

// One program run in a fresh working folder: the table files are written, and the main
// window's handlers run on the recording toolkit. The engineer's actions go through the
// same entry points a front-end forwards its events to.
class ProgramRun {
  public:
    explicit ProgramRun(const char* dn_file = worked_dn, const char* d_file = worked_d) {
        write_pipe_table(dn_file, d_file);
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
    // 确定 clicked and answer given, when the sizing is expected to be refused: the message.
    std::string refused_sizing(std::string answer) {
        std::string message;
        toolkit.answer_input(std::move(answer));
        toolkit.expect_message(&message);
        click(ControlId::cmdok);
        return message;
    }

    std::string shown(ControlId control) const { return toolkit.text(control); }
    const PrintedWindow& list() const { return toolkit.window(PrintWindowId::frmchoose); }
    const PrintedWindow& results() const { return toolkit.window(PrintWindowId::frmdisplay); }
    const design_state& state() const { return window.state(); }
    std::string log() const { return read_bytes("outdata.txt"); }

    TempWorkingFolder folder;
    RecordingToolkit toolkit;
    frmcompute window{toolkit, {}, sheet_exports()};
};

}  // namespace kestrune::testing
