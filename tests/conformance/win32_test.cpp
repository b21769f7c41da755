// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance scenarios against the Win32 front-end under Wine: characters into the real
// edit controls, the real input box answered, the real print windows read.
#include <gtest/gtest.h>

#include "scenarios.h"
#include "win32_program.h"
// After windows.h, which it needs.
#include <commctrl.h>

namespace kestrune::testing {
namespace {

class Win32Driver : public ConformanceDriver {
  public:
    Win32Driver() { EXPECT_TRUE(run_.start()); }
    void type_load(std::string_view digits) override {
        SetWindowTextW(run_.control(ControlId::Text1), L"");
        run_.type(ControlId::Text1, wide_text(digits).c_str());
    }
    void size(std::string_view dn, std::optional<Gesture> on_list) override {
        run_.watch.answer(wide_text(dn), &seen_, [this, on_list] {
            if (on_list) {
                gesture(PrintWindowId::frmchoose, *on_list);
            }
            list_now();
        });
        run_.click(ControlId::cmdok);
        note_asked();
    }
    void size_refused(std::string_view dn) override {
        run_.watch.answer(wide_text(dn), &seen_, [this] { list_now(); });
        run_.watch.press(L"确定");
        run_.click(ControlId::cmdok);
        note_asked();
    }
    void cancel_sizing() override {
        run_.watch.press(L"取消", &seen_);
        run_.click(ControlId::cmdok);
        note_asked();
    }
    void set_parameter(ControlId button, std::string_view answer) override {
        run_.watch.answer(wide_text(answer), &seen_);
        run_.click(button);
        note_asked();
    }
    void click(ControlId button) override { run_.click(button); }
    void gesture(PrintWindowId id, Gesture gesture) override {
        HWND window = run_.windows.print_window(id).handle();
        if (gesture == Gesture::escape) {
            SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (gesture == Gesture::double_click) {
            SendMessageW(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(200, 200));
        } else {
            SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    }
    void sheet_press(const KeyStroke& stroke) override {
        SheetWindow* sheet = run_.windows.sheet_window();
        HWND to = IsWindowVisible(sheet->editor()) ? sheet->editor() : sheet->list();
        if (stroke.key == PhysicalKey::other) {
            for (wchar_t c : wide_text(stroke.text)) {
                SendMessageW(to, WM_CHAR, c, 1);
            }
            return;
        }
        const auto code = stroke.key == PhysicalKey::letter
                              ? std::optional<WPARAM>(static_cast<WPARAM>(stroke.letter))
                              : code_of<WPARAM>(win32_named_keys, stroke.key);
        HeldKeys held{stroke.shift ? VK_SHIFT : 0, stroke.ctrl ? VK_CONTROL : 0};
        SendMessageW(to, stroke.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, code.value(), 1);
    }
    void close_main() override {
        SendMessageW(run_.windows.main_window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    void sheet_row_number(std::size_t row, bool shift) override {
        HWND list = run_.windows.sheet_window()->list();
        RECT item{};
        item.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
        HeldKeys held{shift ? VK_SHIFT : 0};
        SendMessageW(list, WM_LBUTTONDOWN, shift ? MK_SHIFT | MK_LBUTTON : MK_LBUTTON,
                     MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2));
        SendMessageW(list, WM_LBUTTONUP, 0,
                     MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2));
    }
    void close_sheet() override {
        SendMessageW(run_.windows.sheet_window()->handle(), WM_CLOSE, 0, 0);
    }
    void answer_question(std::string_view caption) override {
        run_.watch.press(wide_text(caption));
    }
    std::string shown(ControlId control) override { return run_.shown(control); }
    std::string tip(ControlId control) override {
        // The main window's one tooltip control, asked for the tool of this control.
        HWND tips = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM found) {
                wchar_t kind[64];
                GetClassNameW(window, kind, 64);
                if (std::wstring(kind) == TOOLTIPS_CLASSW) {
                    *reinterpret_cast<HWND*>(found) = window;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&tips));
        wchar_t text[128] = L"";
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = run_.windows.main_window();
        tool.uId = reinterpret_cast<UINT_PTR>(run_.control(control));
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        return utf8_text(text);
    }
    std::string focus() override {
        for (const ControlSpec& layout : frmcompute_controls) {
            if (run_.control(layout.id) == GetFocus()) {
                DWORD from = 0, to = 0;
                SendMessageW(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                             reinterpret_cast<LPARAM>(&to));
                const std::string text = run_.shown(layout.id);
                return std::string(layout.name) + ":" + text.substr(from, to - from);
            }
        }
        return {};
    }
    bool results_visible() override { return IsWindowVisible(run_.results().handle()) != FALSE; }
    bool list_visible() override { return IsWindowVisible(run_.list().handle()) != FALSE; }
    bool ended() override {
        MSG quit{};
        return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) &&
               !IsWindowVisible(run_.windows.main_window());
    }
    std::vector<std::string> results() override {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < run_.results().lines().size(); ++i) {
            lines.push_back(run_.printed(run_.results(), i));
        }
        return lines;
    }
    std::string log() override { return run_.log(); }
    bool sheet_visible() override {
        return run_.windows.sheet_window() != nullptr &&
               IsWindowVisible(run_.windows.sheet_window()->handle());
    }
    std::string sheet_cell(std::size_t row, std::size_t column) override {
        return run_.sheet_cell(row, column);
    }
    std::optional<std::string> sheet_editor() override {
        HWND editor = run_.windows.sheet_window()->editor();
        return IsWindowVisible(editor) ? std::optional(Win32Program::window_text(editor))
                                       : std::nullopt;
    }
    std::string sheet_message() override {
        return Win32Program::window_text(run_.windows.sheet_window()->message());
    }
    int sheet_scrolled() override {
        return GetScrollPos(run_.windows.sheet_window()->list(), SB_HORZ);
    }
    frmcompute& handlers() override { return run_.handlers; }
    WindowToolkit& toolkit() override { return run_.windows; }

  private:
    void note_asked() {
        asked_.push_back(utf8_text(seen_.title + L"|" + seen_.text + L"|" + seen_.offered));
    }
    void list_now() {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < run_.list().lines().size(); ++i) {
            lines.push_back(run_.printed(run_.list(), i));
        }
        note_list(std::move(lines), IsWindowVisible(run_.list().handle()) != FALSE);
    }

    Win32Program run_;
    DialogSeen seen_;
};

TEST(Conformance, TheWin32FrontEndPlaysEveryScenario) {
    for (const Scenario& scenario : conformance_scenarios()) {
        Win32Driver driver;
        const auto differences = play(driver, scenario);
        EXPECT_TRUE(differences.empty()) << differences.front();
    }
}

}  // namespace
}  // namespace kestrune::testing
