// SPDX-License-Identifier: GPL-3.0-or-later
#include "code_dialog.h"

#include <algorithm>

#include "dpi.h"
#include "window_class.h"

namespace kestrune {
namespace {

// Layout in twips (15 to a pixel at 96 dpi), scaled to the dialog's.
constexpr int margin = 180;
constexpr int text_width = 5700;
constexpr int button_width = 1320;
constexpr int button_height = 390;
constexpr int answer_height = 360;
constexpr int gap = 120;
constexpr int button_padding = 360;  // beside a button's caption
constexpr int answer_id = 900;
constexpr int first_extra_button_id = 1000;

struct DialogState {
    const DialogContent* content;
    DialogOutcome outcome{};
    bool ended = false;  // answered: later clicks, before it has gone, change nothing
};

HWND open_dialog = nullptr;  // the dialog with an answer box that runs now

int button_id(std::size_t index, std::size_t count) {
    if (index == 0) {
        return IDOK;
    }
    if (index + 1 == count) {
        return IDCANCEL;
    }
    return first_extra_button_id + static_cast<int>(index);
}

std::size_t button_index(int id, std::size_t count) {
    if (id == IDOK) {
        return 0;
    }
    if (id == IDCANCEL) {
        return count - 1;
    }
    return static_cast<std::size_t>(id - first_extra_button_id);
}

HWND add_child(HWND dialog, const wchar_t* kind, const std::wstring& text, DWORD style,
               DWORD ex_style, int id, RECT place) {
    HWND child = CreateWindowExW(
        ex_style, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(message_font()), FALSE);
    return child;
}

// Lays the dialog out for its content and centres it on its owner (or the screen).
void build(HWND dialog, const DialogContent& content) {
    SetWindowTextW(dialog, content.title.c_str());
    const UINT dpi = window_dpi(dialog);
    const int m = twips_to_pixels(margin, dpi);

    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, message_font());
    RECT text_box{0, 0, twips_to_pixels(text_width, dpi), 0};
    DrawTextW(dc, content.text.c_str(), -1, &text_box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    int widest_button = twips_to_pixels(button_width, dpi);
    for (const std::wstring& b : content.buttons) {
        SIZE size{};
        GetTextExtentPoint32W(dc, b.c_str(), static_cast<int>(b.size()), &size);
        widest_button =
            std::max<int>(widest_button, size.cx + twips_to_pixels(button_padding, dpi));
    }
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);

    const int count = static_cast<int>(content.buttons.size());
    const int bh = twips_to_pixels(button_height, dpi);
    const int g = twips_to_pixels(gap, dpi);
    const int buttons_width = count * widest_button + (count - 1) * g;
    const int inner =
        std::max<int>({text_box.right, buttons_width, twips_to_pixels(text_width, dpi) * 3 / 4});
    int y = m;
    add_child(dialog, L"STATIC", content.text, SS_LEFT | SS_NOPREFIX, 0, -1,
              {m, y, m + inner, y + text_box.bottom});
    y += text_box.bottom + g;
    if (content.answer) {
        HWND answer =
            add_child(dialog, L"EDIT", *content.answer, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                      WS_EX_CLIENTEDGE, answer_id,
                      {m, y, m + inner, y + twips_to_pixels(answer_height, dpi)});
        SendMessageW(answer, EM_SETSEL, 0, -1);
        y += twips_to_pixels(answer_height, dpi) + g;
    }
    int x = m + inner - buttons_width;
    for (std::size_t i = 0; i < content.buttons.size(); ++i) {
        add_child(dialog, L"BUTTON", content.buttons[i],
                  WS_TABSTOP | (i == content.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0,
                  button_id(i, content.buttons.size()), {x, y, x + widest_button, y + bh});
        x += widest_button + g;
    }
    y += bh + m;

    RECT frame{0, 0, inner + 2 * m, y};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT around{};
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner)) {
        GetWindowRect(owner, &around);
    }
    centre_window(dialog, around);
}

INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<DialogState*>(l);
            SetWindowLongPtrW(dialog, DWLP_USER, l);
            build(dialog, *state->content);
            const std::size_t count = state->content->buttons.size();
            const int default_id =
                button_id(std::min(state->content->default_button, count - 1), count);
            SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(default_id), 0);
            HWND answer = GetDlgItem(dialog, answer_id);
            if (answer != nullptr) {
                open_dialog = dialog;
            }
            SetFocus(answer != nullptr ? answer : GetDlgItem(dialog, default_id));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND: {
            const int id = LOWORD(w);
            if (HIWORD(w) != BN_CLICKED || id == answer_id || state == nullptr) {
                break;
            }
            if (state->ended) {
                return TRUE;
            }
            state->ended = true;
            const std::size_t count = state->content->buttons.size();
            state->outcome.button = button_index(id, count);
            if (HWND answer = GetDlgItem(dialog, answer_id)) {
                std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(answer)) + 1,
                                  L'\0');
                text.resize(static_cast<std::size_t>(
                    GetWindowTextW(answer, text.data(), static_cast<int>(text.size()))));
                state->outcome.answer = std::move(text);
            }
            if (open_dialog == dialog) {
                open_dialog = nullptr;
            }
            EndDialog(dialog, 1);
            return TRUE;
        }
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void offer_to_dialog(const std::wstring& text, bool answer_now) {
    HWND answer = open_dialog != nullptr ? GetDlgItem(open_dialog, answer_id) : nullptr;
    if (answer == nullptr) {
        return;
    }
    SetWindowTextW(answer, text.c_str());
    if (answer_now) {
        SendMessageW(open_dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return;
    }
    // The click went to another window: the dialog takes the focus back, the text selected.
    SetActiveWindow(open_dialog);
    SetFocus(answer);
    SendMessageW(answer, EM_SETSEL, 0, -1);
}

HFONT message_font() {
    static const HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }();
    return font;
}

DialogOutcome run_dialog(HWND owner, const DialogContent& content) {
    // An empty template: the controls are made when the dialog starts.
    alignas(DWORD) WORD layout[16]{};
    auto* head = reinterpret_cast<DLGTEMPLATE*>(layout);
    head->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    head->cx = 200;
    head->cy = 80;
    DialogState state{&content};
    state.outcome.button = content.buttons.size() - 1;
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), head, owner, dialog_procedure,
                            reinterpret_cast<LPARAM>(&state));
    return state.outcome;
}

}  // namespace kestrune
