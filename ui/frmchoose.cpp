// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmchoose.h"

#include "print_statements.h"

namespace kestrune::frmchoose {

namespace {
constexpr PrintWindowId window = PrintWindowId::frmchoose;

Tone mark_tone(PreviewMark mark) {
    switch (mark) {
        case PreviewMark::suggested:
            return Tone::suggested;
        case PreviewMark::too_fast:
            return Tone::too_fast;
        case PreviewMark::none:
            break;
    }
    return Tone::plain;
}
}  // namespace

void list_pipes(WindowToolkit& toolkit, const PipeTable& pipes,
                const std::optional<TablePreview>& preview, const std::vector<std::string>& notes) {
    if (!preview) {
        toolkit.print(window, diameter_list_header());
        for (const PipeSize& row : pipes) {
            toolkit.print(window, diameter_list_row(row));
        }
        return;
    }
    toolkit.print(window, diameter_preview_header(), preview_first_item);
    for (std::size_t i = 0; i < pipes.size(); ++i) {
        const auto& row_preview = (*preview)[i];
        toolkit.print(window,
                      row_preview ? diameter_preview_row(pipes[i], *row_preview)
                                  : diameter_list_row(pipes[i]),
                      preview_first_item, row_preview ? mark_tone(row_preview->mark) : Tone::plain);
    }
    toolkit.print(window, diameter_preview_note(), 0);
    for (const std::string& note : notes) {
        if (!note.empty()) {
            toolkit.print(window, {text_item(note, Separator::end_of_line)}, 0);
        }
    }
}

void end_choice(WindowToolkit& toolkit) {
    toolkit.clear(window);
    toolkit.hide(window);
}

}  // namespace kestrune::frmchoose
