// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "window_toolkit.h"

namespace kestrune::testing {

// A print window as the handlers left it.
struct PrintedWindow {
    bool visible = false;
    int times_shown = 0;
    std::vector<PrintStatement> lines;
    std::vector<std::size_t> muted_from;
    std::vector<Tone> last_item_tone;

    // The items of one line joined by "|": " 25 | 21.25 ".
    std::string line(std::size_t index) const;
    std::vector<bool> muted(std::size_t index) const;
};

// A message as it was told.
struct Told {
    std::string text;
    Severity severity;
};

// The toolkit as the tests see it: text boxes hold what the handlers wrote, print windows
// record every line, and each modal dialog is answered from a script, in order. A dialog the
// script did not expect fails the test at once (and is cancelled); a scripted one that never
// came fails it when the toolkit goes.
class RecordingToolkit : public WindowToolkit {
  public:
    RecordingToolkit();
    ~RecordingToolkit() override;

    // The script, in the order the dialogs are expected.
    void answer_input(std::string answer, InputRequest* seen = nullptr,
                      std::function<void()> meanwhile = {});
    void cancel_input(InputRequest* seen = nullptr);
    void expect_message(std::string* text = nullptr, Severity* severity = nullptr);
    void click_button(std::string label, std::string* question = nullptr);
    void choose_folder(std::optional<std::filesystem::path> folder, std::string* title = nullptr);
    // The save dialog: accept what it offers (nullopt: cancel, or another path), recording the
    // offer.
    void save_as(std::optional<std::filesystem::path> file,
                 std::filesystem::path* offered = nullptr);
    void accept_offered_file(std::filesystem::path* offered = nullptr);
    std::size_t still_expected() const { return script_.size(); }

    // The engineer's side of a text box: set_typed does not notify; the caller does.
    void set_typed(ControlId control, std::string text) { texts_[control] = std::move(text); }

    const PrintedWindow& window(PrintWindowId id) const { return windows_.at(id); }
    const std::vector<Told>& messages() const { return messages_; }
    bool ended() const { return ended_; }
    // The buttons of the last question asked, and the one Enter presses.
    const std::vector<std::string>& last_buttons() const { return last_buttons_; }
    std::size_t last_default() const { return last_default_; }
    // What was offered to the input box while it waited, in order.
    const std::vector<std::string>& offers() const { return offers_; }
    // Where the focus was put last, and whether its text was selected.
    std::optional<std::pair<ControlId, bool>> focused() const { return focused_; }
    // The tokens whose windows were brought to the front.
    const std::vector<std::string>& brought_to_front() const { return brought_; }
    // The sheet window: how often it was shown and drawn again; the clipboard's text.
    int sheet_shown() const { return sheet_shown_; }
    int sheet_drawn() const { return sheet_drawn_; }
    std::string clipboard() const { return clipboard_; }

    std::string text(ControlId control) const override;
    void set_text(ControlId control, std::string_view text) override;
    void set_tip(ControlId control, std::string_view tip) override;
    std::string tip(ControlId control) const;
    std::optional<std::string> ask_text(const InputRequest& request) override;
    void tell(std::string_view message, Severity severity) override;
    std::size_t ask_choice(std::string_view question, const std::vector<std::string>& buttons,
                           std::size_t default_button) override;
    void offer_answer(std::string_view text, bool answer_now) override;
    void focus(ControlId control, bool select_all) override;
    std::string window_token() override { return "recording toolkit"; }
    bool bring_to_front(std::string_view token) override;
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
    void show_sheet() override { sheet_shown_ += 1; }
    void sheet_changed() override { sheet_drawn_ += 1; }
    void project_changed(std::string_view name) override { projects_.emplace_back(name); }
    PrintOutcome print_paper(const PaperReport& paper, std::string_view title) override {
        printed_.push_back(paper);
        print_titles_.emplace_back(title);
        return print_outcome_;
    }
    // The pages handed to the printer, the jobs' titles, and how the next print ends.
    const std::vector<PaperReport>& printed() const { return printed_; }
    const std::vector<std::string>& print_titles() const { return print_titles_; }
    void set_print_outcome(PrintOutcome outcome) { print_outcome_ = outcome; }
    // The project names the windows were given, in order.
    const std::vector<std::string>& projects() const { return projects_; }
    void set_clipboard(std::string_view text) override { clipboard_ = text; }
    std::string clipboard_text() override { return clipboard_; }
    bool open_with_system(const std::filesystem::path& file) override {
        opened_.push_back(file);
        return system_opens_;
    }
    void end_program() override;
    // The files handed to the system to open, and whether it can.
    const std::vector<std::filesystem::path>& opened() const { return opened_; }
    void set_system_opens(bool opens) { system_opens_ = opens; }

  private:
    enum class Kind { input, message, choice, folder, save };
    struct Step {
        Kind kind;
        std::function<void(const void*)> handle;  // receives what the dialog showed
        std::optional<std::string> answer;
        std::optional<std::filesystem::path> folder;
        std::string label;
        bool take_offer = false;
    };
    // The next step, when it is of this kind; otherwise the test fails and nullopt comes.
    std::optional<Step> next(Kind kind, std::string_view what);

    std::vector<std::filesystem::path> opened_;
    std::vector<std::string> projects_;
    std::vector<PaperReport> printed_;
    std::vector<std::string> print_titles_;
    PrintOutcome print_outcome_ = PrintOutcome::printed;
    bool system_opens_ = true;
    std::map<ControlId, std::string> texts_;
    std::map<ControlId, std::string> tips_;
    std::map<PrintWindowId, PrintedWindow> windows_;
    std::vector<Told> messages_;
    std::deque<Step> script_;
    bool ended_ = false;
    std::vector<std::string> last_buttons_;
    std::size_t last_default_ = 0;
    std::vector<std::string> offers_;
    std::optional<std::string> answered_now_;
    std::optional<std::pair<ControlId, bool>> focused_;
    std::vector<std::string> brought_;
    int sheet_shown_ = 0;
    int sheet_drawn_ = 0;
    std::string clipboard_;
};

}  // namespace kestrune::testing
