// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kestrune::testing {

// What a dialog showed when it was answered.
struct DialogSeen {
    std::wstring title;
    std::wstring text;     // the prompt or the message
    std::wstring offered;  // the answer box's text, empty without one
    std::vector<std::wstring> buttons;
};

// Answers the program's modal dialogs as they come, in the order a test expects them, from a
// timer that the dialogs' own message loops run; a dialog nobody expected is recorded and
// cancelled, so that no test ever waits for a person.
class DialogWatch {
  public:
    DialogWatch();
    ~DialogWatch();

    // Types answer into the answer box and presses 确定; or presses a button by caption; or
    // presses a key (VK_RETURN, VK_ESCAPE) in the focused control.
    void answer(std::wstring answer, DialogSeen* seen = nullptr,
                std::function<void()> meanwhile = {});
    void press(std::wstring caption, DialogSeen* seen = nullptr);
    void answer_by_key(std::wstring answer, WPARAM key, DialogSeen* seen = nullptr);
    // A dialog without an answer box answered by a key (VK_RETURN, VK_ESCAPE).
    void press_key(WPARAM key, DialogSeen* seen = nullptr);

    const std::vector<std::wstring>& unexpected() const { return unexpected_; }
    std::size_t still_expected() const { return expected_.size(); }

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void look();

    UINT_PTR timer_;
    std::deque<std::function<void(HWND)>> expected_;
    std::vector<std::wstring> unexpected_;
};

}  // namespace kestrune::testing
