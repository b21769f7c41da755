// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "paper_pages.h"
#include "print_colours.h"
#include "print_line.h"
#include "window_layout.h"

namespace kestrune {

enum class Severity { information, warning, critical };

enum class PrintOutcome { printed, cancelled, failed };

// The modal input box: prompt, title and the answer it offers, with 确定 and 取消.
struct InputRequest {
    std::string prompt;
    std::string title;
    std::string offered;
};

inline constexpr std::size_t nothing_muted = std::numeric_limits<std::size_t>::max();

// All that the windows' behaviour needs from a windowing toolkit. Texts are UTF-8. Each
// front-end implements it over the windows it builds from window_layout.h, and forwards the
// events of those windows to frmcompute.
class WindowToolkit {
  public:
    virtual ~WindowToolkit() = default;

    // Text boxes, labels and the problem line of the main window.
    virtual std::string text(ControlId control) const = 0;
    virtual void set_text(ControlId control, std::string_view text) = 0;
    // The tip a control shows when the pointer rests on it.
    virtual void set_tip(ControlId control, std::string_view tip) = 0;

    // Modal dialogs, owned by the main window; the other windows stay visible meanwhile.
    // The input box gives the text entered, or nullopt on 取消.
    virtual std::optional<std::string> ask_text(const InputRequest& request) = 0;
    virtual void tell(std::string_view message, Severity severity) = 0;
    // A question with its own buttons: the index of the one pressed, the last one when the
    // question is closed otherwise. Enter presses the default button.
    virtual std::size_t ask_choice(std::string_view question,
                                   const std::vector<std::string>& buttons,
                                   std::size_t default_button) = 0;
    // While the input box waits: puts text in its box, selected, the focus staying there;
    // with answer_now the box is answered with it at once.
    virtual void offer_answer(std::string_view text, bool answer_now) = 0;
    // Puts the keyboard focus in a control of the main window, its text selected or not.
    virtual void focus(ControlId control, bool select_all) = 0;
    // The system's save dialog, offering a file (folder and name) of a type ("Excel 工作簿",
    // ".xlsx"); Enter accepts the offer. nullopt when cancelled.
    virtual std::optional<std::filesystem::path> choose_save_file(
        std::string_view title, const std::filesystem::path& offered, std::string_view type_name,
        std::string_view extension) = 0;
    // The file opened with the program the system has for its type (a PDF viewer, a
    // spreadsheet); false when the system could not.
    virtual bool open_with_system(const std::filesystem::path& file) = 0;
    // The system's print dialog, then the pages to the printer chosen there, as a job named
    // title, each page fitted to the paper at its own proportions.
    virtual PrintOutcome print_paper(const PaperReport& paper, std::string_view title) = 0;
    // The system's folder chooser, starting at start; nullopt when cancelled.
    virtual std::optional<std::filesystem::path> choose_folder(
        std::string_view title, const std::filesystem::path& start) = 0;

    // The print windows. print draws one statement at the print position and moves one line
    // lower; items from muted_from on are a preview and drawn in a muted colour, and the last
    // item in last_item's tone when that is not plain.
    virtual void show(PrintWindowId window) = 0;
    virtual void hide(PrintWindowId window) = 0;
    virtual void clear(PrintWindowId window) = 0;
    virtual void print(PrintWindowId window, const PrintStatement& statement,
                       std::size_t muted_from = nothing_muted, Tone last_item = Tone::plain) = 0;

    // The calculation sheet's window: shown (made the first time, placed beside the main
    // window) and brought to the front; drawn again from the sheet after any change.
    virtual void show_sheet() = 0;
    virtual void sheet_changed() = 0;
    // The working folder is now the project named so (at start, and after a switch or a new
    // name): the windows' titles say it, and an open sheet takes the project's column widths.
    virtual void project_changed(std::string_view name) = 0;
    // The system's clipboard, as text.
    virtual void set_clipboard(std::string_view text) = 0;
    virtual std::string clipboard_text() = 0;

    // What lets a second program started in the same working folder find this one's main
    // window, and bringing the window such a token names to the front (false when gone).
    virtual std::string window_token() = 0;
    virtual bool bring_to_front(std::string_view token) = 0;

    // Closes every window and ends the event loop; nothing runs after the current handler.
    virtual void end_program() = 0;
};

}  // namespace kestrune
