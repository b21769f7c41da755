// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_watch.h"

namespace kestrune::testing {
namespace {

DialogWatch* current = nullptr;

std::wstring text_of(HWND window) {
    wchar_t buffer[4096];
    const int length = GetWindowTextW(window, buffer, 4096);
    return std::wstring(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::wstring class_of(HWND window) {
    wchar_t buffer[64];
    const int length = GetClassNameW(window, buffer, 64);
    return std::wstring(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

// The visible dialog of this thread, if any.
HWND find_dialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found_at) {
            if (IsWindowVisible(window) && class_of(window) == L"#32770") {
                *reinterpret_cast<HWND*>(found_at) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND child_of_class(HWND dialog, const wchar_t* kind) {
    return FindWindowExW(dialog, nullptr, kind, nullptr);
}

DialogSeen seen_in(HWND dialog) {
    DialogSeen seen{text_of(dialog), text_of(child_of_class(dialog, L"Static")), {}, {}};
    if (HWND box = child_of_class(dialog, L"Edit")) {
        seen.offered = text_of(box);
    }
    for (HWND b = child_of_class(dialog, L"Button"); b != nullptr;
         b = FindWindowExW(dialog, b, L"Button", nullptr)) {
        seen.buttons.push_back(text_of(b));
    }
    return seen;
}

void click(HWND dialog, const std::wstring& caption) {
    if (HWND button = FindWindowExW(dialog, nullptr, L"Button", caption.c_str())) {
        PostMessageW(button, BM_CLICK, 0, 0);
    }
}

}  // namespace

DialogWatch::DialogWatch() {
    current = this;
    timer_ = SetTimer(nullptr, 0, 10, &DialogWatch::tick);
}

DialogWatch::~DialogWatch() {
    KillTimer(nullptr, timer_);
    current = nullptr;
}

void DialogWatch::answer(std::wstring answer, DialogSeen* seen, std::function<void()> meanwhile) {
    expected_.push_back([answer, seen, meanwhile](HWND dialog) {
        if (seen != nullptr) {
            *seen = seen_in(dialog);
        }
        if (meanwhile) {
            meanwhile();
        }
        SetWindowTextW(child_of_class(dialog, L"Edit"), answer.c_str());
        click(dialog, L"确定");
    });
}

void DialogWatch::press(std::wstring caption, DialogSeen* seen) {
    expected_.push_back([caption, seen](HWND dialog) {
        if (seen != nullptr) {
            *seen = seen_in(dialog);
        }
        click(dialog, caption);
    });
}

void DialogWatch::answer_by_key(std::wstring answer, WPARAM key, DialogSeen* seen) {
    expected_.push_back([answer, key, seen](HWND dialog) {
        if (seen != nullptr) {
            *seen = seen_in(dialog);
        }
        HWND box = child_of_class(dialog, L"Edit");
        SetWindowTextW(box, answer.c_str());
        // As the keyboard does: through the dialog's own message loop.
        PostMessageW(GetFocus() != nullptr ? GetFocus() : box, WM_KEYDOWN, key, 0);
        PostMessageW(GetFocus() != nullptr ? GetFocus() : box, WM_KEYUP, key, 0);
    });
}

void DialogWatch::press_key(WPARAM key, DialogSeen* seen) {
    expected_.push_back([key, seen](HWND dialog) {
        if (seen != nullptr) {
            *seen = seen_in(dialog);
        }
        HWND target = GetFocus() != nullptr ? GetFocus() : dialog;
        PostMessageW(target, WM_KEYDOWN, key, 0);
        PostMessageW(target, WM_KEYUP, key, 0);
    });
}

void CALLBACK DialogWatch::tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current != nullptr) {
        current->look();
    }
}

void DialogWatch::look() {
    static HWND answered = nullptr;  // a dialog already answered, closing now
    HWND dialog = find_dialog();
    if (dialog == nullptr) {
        answered = nullptr;
    }
    if (dialog == nullptr || dialog == answered) {
        return;
    }
    answered = dialog;
    if (expected_.empty()) {
        unexpected_.push_back(text_of(dialog) + L": " + seen_in(dialog).text);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    auto handle = std::move(expected_.front());
    expected_.pop_front();
    handle(dialog);
}

}  // namespace kestrune::testing
