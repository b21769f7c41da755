// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "pipe_preview.h"
#include "print_window.h"

namespace kestrune {

// The diameter choice window: lists the pipe table while the engineer picks a nominal
// diameter. It is visible only while the sizing run's input box waits, and cannot be closed
// by its close box meanwhile: the run hides it.
class frmchoose : public PrintWindow {
    Q_OBJECT
  public:
    explicit frmchoose(QWidget* parent = nullptr);

    // Prints the header and the 11 rows of the table. With a preview, each row that has one
    // also shows its velocity, specific resistance and mark, and a note ends the list.
    void list_pipes(const PipeTable& pipes, const std::optional<TablePreview>& preview);

  protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace kestrune
