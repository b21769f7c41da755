// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_toolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace kestrune::testing {

std::string PrintedWindow::line(std::size_t index) const {
    std::string joined;
    for (const PrintItem& item : lines.at(index)) {
        joined += (joined.empty() ? "" : "|") + item.text;
    }
    return joined;
}

std::vector<bool> PrintedWindow::muted(std::size_t index) const {
    std::vector<bool> flags;
    for (std::size_t item = 0; item < lines.at(index).size(); ++item) {
        flags.push_back(item >= muted_from.at(index));
    }
    return flags;
}

RecordingToolkit::RecordingToolkit() {
    for (const ControlSpec& layout : frmcompute_controls) {
        texts_[layout.id] = std::string(layout.caption);
    }
    windows_[PrintWindowId::frmchoose];
    windows_[PrintWindowId::frmdisplay];
}

RecordingToolkit::~RecordingToolkit() {
    EXPECT_EQ(script_.size(), 0u) << "scripted dialogs that never came";
}

void RecordingToolkit::answer_input(std::string answer, InputRequest* seen,
                                    std::function<void()> meanwhile) {
    script_.push_back({Kind::input,
                       [seen, meanwhile](const void* shown) {
                           if (seen != nullptr) {
                               *seen = *static_cast<const InputRequest*>(shown);
                           }
                           if (meanwhile) {
                               meanwhile();
                           }
                       },
                       std::move(answer),
                       {},
                       {}});
}

void RecordingToolkit::cancel_input(InputRequest* seen) {
    script_.push_back({Kind::input,
                       [seen](const void* shown) {
                           if (seen != nullptr) {
                               *seen = *static_cast<const InputRequest*>(shown);
                           }
                       },
                       std::nullopt,
                       {},
                       {}});
}

void RecordingToolkit::expect_message(std::string* text, Severity* severity) {
    script_.push_back({Kind::message,
                       [text, severity](const void* shown) {
                           const auto* told = static_cast<const Told*>(shown);
                           if (text != nullptr) {
                               *text = told->text;
                           }
                           if (severity != nullptr) {
                               *severity = told->severity;
                           }
                       },
                       {},
                       {},
                       {}});
}

void RecordingToolkit::click_button(std::string label, std::string* question) {
    script_.push_back({Kind::choice,
                       [question](const void* shown) {
                           if (question != nullptr) {
                               *question = *static_cast<const std::string*>(shown);
                           }
                       },
                       {},
                       {},
                       std::move(label)});
}

void RecordingToolkit::choose_folder(std::optional<std::filesystem::path> folder,
                                     std::string* title) {
    script_.push_back({Kind::folder,
                       [title](const void* shown) {
                           if (title != nullptr) {
                               *title = *static_cast<const std::string*>(shown);
                           }
                       },
                       {},
                       std::move(folder),
                       {}});
}

void RecordingToolkit::save_as(std::optional<std::filesystem::path> file,
                               std::filesystem::path* offered) {
    script_.push_back({Kind::save,
                       [offered](const void* shown) {
                           if (offered != nullptr) {
                               *offered = *static_cast<const std::filesystem::path*>(shown);
                           }
                       },
                       {},
                       std::move(file),
                       {},
                       false});
}

void RecordingToolkit::accept_offered_file(std::filesystem::path* offered) {
    save_as(std::nullopt, offered);
    script_.back().take_offer = true;
}

std::optional<std::filesystem::path> RecordingToolkit::choose_save_file(
    std::string_view title, const std::filesystem::path& offered, std::string_view,
    std::string_view) {
    auto step = next(Kind::save, title);
    if (!step) {
        return std::nullopt;
    }
    step->handle(&offered);
    return step->take_offer ? std::optional<std::filesystem::path>(offered) : step->folder;
}

std::optional<RecordingToolkit::Step> RecordingToolkit::next(Kind kind, std::string_view what) {
    if (script_.empty() || script_.front().kind != kind) {
        ADD_FAILURE() << "unexpected dialog: " << what;
        return std::nullopt;
    }
    Step step = std::move(script_.front());
    script_.pop_front();
    return step;
}

std::string RecordingToolkit::text(ControlId control) const {
    return texts_.at(control);
}

void RecordingToolkit::set_text(ControlId control, std::string_view text) {
    texts_[control] = std::string(text);
}

void RecordingToolkit::set_tip(ControlId control, std::string_view tip) {
    tips_[control] = std::string(tip);
}

std::string RecordingToolkit::tip(ControlId control) const {
    auto found = tips_.find(control);
    return found == tips_.end() ? std::string() : found->second;
}

std::optional<std::string> RecordingToolkit::ask_text(const InputRequest& request) {
    auto step = next(Kind::input, "input box " + request.title);
    if (!step) {
        return std::nullopt;
    }
    answered_now_.reset();
    step->handle(&request);
    // A double-click on the list meanwhile answers for the engineer.
    if (answered_now_) {
        return std::exchange(answered_now_, std::nullopt);
    }
    return step->answer;
}

void RecordingToolkit::tell(std::string_view message, Severity severity) {
    messages_.push_back({std::string(message), severity});
    if (auto step = next(Kind::message, message)) {
        step->handle(&messages_.back());
    }
}

std::size_t RecordingToolkit::ask_choice(std::string_view question,
                                         const std::vector<std::string>& buttons,
                                         std::size_t default_button) {
    const std::string shown(question);
    last_buttons_ = buttons;
    last_default_ = default_button;
    auto step = next(Kind::choice, question);
    if (!step) {
        return buttons.size() - 1;
    }
    step->handle(&shown);
    auto pressed = std::find(buttons.begin(), buttons.end(), step->label);
    if (pressed == buttons.end()) {
        ADD_FAILURE() << "no button " << step->label;
        return buttons.size() - 1;
    }
    return static_cast<std::size_t>(pressed - buttons.begin());
}

std::optional<std::filesystem::path> RecordingToolkit::choose_folder(std::string_view title,
                                                                     const std::filesystem::path&) {
    const std::string shown(title);
    auto step = next(Kind::folder, title);
    if (!step) {
        return std::nullopt;
    }
    step->handle(&shown);
    return step->folder;
}

void RecordingToolkit::offer_answer(std::string_view text, bool answer_now) {
    offers_.emplace_back(text);
    if (answer_now) {
        answered_now_ = std::string(text);
    }
}

void RecordingToolkit::focus(ControlId control, bool select_all) {
    focused_ = std::make_pair(control, select_all);
}

bool RecordingToolkit::bring_to_front(std::string_view token) {
    brought_.emplace_back(token);
    return true;
}

void RecordingToolkit::show(PrintWindowId window) {
    windows_[window].visible = true;
    ++windows_[window].times_shown;
}

void RecordingToolkit::hide(PrintWindowId window) {
    windows_[window].visible = false;
}

void RecordingToolkit::clear(PrintWindowId window) {
    windows_[window].lines.clear();
    windows_[window].muted_from.clear();
    windows_[window].last_item_tone.clear();
}

void RecordingToolkit::print(PrintWindowId window, const PrintStatement& statement,
                             std::size_t muted_from, Tone last_item) {
    windows_[window].lines.push_back(statement);
    windows_[window].muted_from.push_back(muted_from);
    windows_[window].last_item_tone.push_back(last_item);
}

void RecordingToolkit::end_program() {
    ended_ = true;
    for (auto& [id, window] : windows_) {
        window.visible = false;
    }
}

}  // namespace kestrune::testing
