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
    std::size_t still_expected() const { return script_.size(); }

    // The engineer's side of a text box: set_typed does not notify; the caller does.
    void set_typed(ControlId control, std::string text) { texts_[control] = std::move(text); }

    const PrintedWindow& window(PrintWindowId id) const { return windows_.at(id); }
    const std::vector<Told>& messages() const { return messages_; }
    bool ended() const { return ended_; }
    // The buttons of the last question asked.
    const std::vector<std::string>& last_buttons() const { return last_buttons_; }

    std::string text(ControlId control) const override;
    void set_text(ControlId control, std::string_view text) override;
    void set_tip(ControlId control, std::string_view tip) override;
    std::string tip(ControlId control) const;
    std::optional<std::string> ask_text(const InputRequest& request) override;
    void tell(std::string_view message, Severity severity) override;
    std::size_t ask_choice(std::string_view question,
                           const std::vector<std::string>& buttons) override;
    std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                       const std::filesystem::path& start) override;
    void show(PrintWindowId window) override;
    void hide(PrintWindowId window) override;
    void clear(PrintWindowId window) override;
    void print(PrintWindowId window, const PrintStatement& statement,
               std::size_t muted_from) override;
    void end_program() override;

  private:
    enum class Kind { input, message, choice, folder };
    struct Step {
        Kind kind;
        std::function<void(const void*)> handle;  // receives what the dialog showed
        std::optional<std::string> answer;
        std::optional<std::filesystem::path> folder;
        std::string label;
    };
    // The next step, when it is of this kind; otherwise the test fails and nullopt comes.
    std::optional<Step> next(Kind kind, std::string_view what);

    std::map<ControlId, std::string> texts_;
    std::map<ControlId, std::string> tips_;
    std::map<PrintWindowId, PrintedWindow> windows_;
    std::vector<Told> messages_;
    std::deque<Step> script_;
    bool ended_ = false;
    std::vector<std::string> last_buttons_;
};

}  // namespace kestrune::testing
