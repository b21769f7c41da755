// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pipe_preview.h"
#include "window_toolkit.h"

namespace kestrune::frmchoose {

// The diameter choice window lists the pipe table while the engineer picks a nominal
// diameter: visible only while the sizing run's input box waits.

// Prints the header and the 11 rows of the table. With a preview, each row that has one
// also shows its velocity, specific resistance and mark, and notes end the list: what the
// marks mean, then each of the further notes that is not empty.
void list_pipes(WindowToolkit& toolkit, const PipeTable& pipes,
                const std::optional<TablePreview>& preview,
                const std::vector<std::string>& notes = {});

// Clears the list and hides the window, ready for the next run.
void end_choice(WindowToolkit& toolkit);

}  // namespace kestrune::frmchoose
