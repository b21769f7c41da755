// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QInputDialog>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "paper_print.h"
#include "print_window.h"
#include "sheet_window.h"
#include "wake_socket.h"
#include "window_placement.h"
#include "window_toolkit.h"

namespace kestrune {

class frmcompute;

// The main window: its controls come from the window table; its close box runs an action.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    MainWindow();
    void on_close(std::function<void()> action) { close_ = std::move(action); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<void()> close_;
};

// The Qt front-end: the three windows built from the window table, the toolkit operations
// the handlers call, and each event forwarded to frmcompute.
class QtWindows : public WindowToolkit {
  public:
    QtWindows();
    ~QtWindows() override;

    // Forwards the windows' events to the handlers from now on.
    void connect_to(frmcompute& handlers);
    // Opens the main window centred on its screen.
    void show_main();
    // How the 计算书 is printed (print_on_paper, or the module holding it); none: it fails.
    void set_paper_printer(PaperPrinter printer) { printer_ = std::move(printer); }

    MainWindow* main_window() const { return main_; }
    QWidget* control(ControlId id) const { return controls_.at(id); }
    PrintWindow* print_window(PrintWindowId id) const;
    // The calculation sheet's window, once it has been opened.
    SheetWindow* sheet_window() const { return sheet_; }

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
    QWidget* dialog_owner() const;
    void build_controls();
    void place_list();
    // Where a window opens by a placement rule, beside the main window on its screen.
    ScreenBox placed(const QWidget* window, PlacementRule rule) const;
    void forget_typing_history();

    MainWindow* main_;
    PrintWindow* choose_;
    PrintWindow* display_;
    SheetWindow* sheet_ = nullptr;
    frmcompute* handlers_ = nullptr;
    std::map<ControlId, QWidget*> controls_;
    QPointer<QInputDialog> input_;  // the input box, while it waits
    WakeSocket* wake_ = nullptr;    // a second start in the folder calls here
    std::string project_;           // the project the windows work on, for their titles
    PaperPrinter printer_;
};

}  // namespace kestrune
