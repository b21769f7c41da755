// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <shobjidl.h>
#include <windows.h>

#include <map>
#include <memory>
#include <set>

#include "print_window.h"
#include "sheet_window.h"
#include "window_placement.h"
#include "window_toolkit.h"

namespace kestrune {

class frmcompute;

// The Win32 front-end: the main window and its controls built from the window table at the
// window's DPI, the two print windows, the dialogs built in code, and each event forwarded to
// frmcompute. Wide (W) functions only.
class Win32Windows : public WindowToolkit {
  public:
    Win32Windows();
    ~Win32Windows() override;
    Win32Windows(const Win32Windows&) = delete;
    Win32Windows& operator=(const Win32Windows&) = delete;

    // Forwards the windows' events to the handlers from now on.
    void connect_to(frmcompute& handlers);
    // Opens the main window centred on the screen.
    void show_main();
    // Runs the event loop until the program ends; gives the exit code.
    int run();
    // The program's own keys, before the dialog manager sees them: Enter in a text box and on
    // a button of the main window, F1 in any of its windows. True when the key was taken.
    bool take_key(const MSG& message);

    HWND main_window() const { return main_; }
    HWND control(ControlId id) const { return controls_.at(id); }
    PrintWindow& print_window(PrintWindowId id) const;
    // The calculation sheet's window, once it has been opened.
    SheetWindow* sheet_window() const { return sheet_.get(); }

    std::string text(ControlId control) const override;
    void set_text(ControlId control, std::string_view text) override;
    void set_tip(ControlId control, std::string_view tip) override;
    std::optional<std::string> ask_text(const InputRequest& request) override;
    void tell(std::string_view message, Severity severity) override;
    std::size_t ask_choice(std::string_view question, const std::vector<std::string>& buttons,
                           std::size_t default_button) override;
    void offer_answer(std::string_view text, bool answer_now) override;
    void focus(ControlId control, bool select_all) override;
    std::string window_token() override;
    bool bring_to_front(std::string_view token) override;
    bool open_with_system(const std::filesystem::path& file) override;
    std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                       const std::filesystem::path& start) override;
    std::optional<std::filesystem::path> choose_save_file(std::string_view title,
                                                          const std::filesystem::path& offered,
                                                          std::string_view type_name,
                                                          std::string_view extension) override;
    void show(PrintWindowId window) override;
    void hide(PrintWindowId window) override;
    void clear(PrintWindowId window) override;
    void print(PrintWindowId window, const PrintStatement& statement, std::size_t muted_from,
               Tone last_item) override;
    void show_sheet() override;
    void sheet_changed() override;
    void project_changed(std::string_view name) override;
    PrintOutcome print_paper(const PaperReport& paper, std::string_view title) override;
    void set_clipboard(std::string_view text) override;
    std::string clipboard_text() override;
    void end_program() override;

  private:
    // Dialogs belong to the sheet's window while the engineer works there.
    HWND dialog_owner() const;
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void build_controls();
    void place_list();
    // Where a window opens by a placement rule, beside the main window on its monitor.
    ScreenBox placed(HWND window, PlacementRule rule) const;
    std::optional<std::filesystem::path> run_file_dialog(IFileDialog* dialog,
                                                         std::string_view title,
                                                         const std::filesystem::path& folder);

    HWND main_ = nullptr;
    frmcompute* handlers_ = nullptr;
    std::map<ControlId, HWND> controls_;
    std::map<double, HFONT> fonts_;  // SimSun by size in points, made at the window's DPI
    HWND tips_ = nullptr;            // the tooltip control of the main window
    std::set<ControlId> tipped_;     // controls that have a tool in it
    std::unique_ptr<PrintWindow> choose_;
    std::unique_ptr<PrintWindow> display_;
    std::unique_ptr<SheetWindow> sheet_;
    std::string project_;  // the project the windows work on, for their titles
};

}  // namespace kestrune
