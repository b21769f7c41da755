// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32_windows.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "code_dialog.h"
#include "controls.h"
#include "dpi.h"
#include "frmcompute.h"
#include "late_libraries.h"
#include "messages.h"
#include "paper_print.h"
#include "print_colours.h"
#include "sheet_layout.h"
#include "song_font.h"
#include "tooltips.h"
#include "wide_text.h"
#include "window_class.h"
#include "window_placement.h"

namespace kestrune {
namespace {

constexpr wchar_t main_class_name[] = L"KestruneMainWindow";
constexpr int first_control_id = 100;  // clear of IDOK and IDCANCEL
constexpr DWORD main_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT about_command = 0x0010;  // in the system menu: below 0xF000, a multiple of 16

// What CreateWindowExW needs for one kind of control.
struct CreateArgs {
    const wchar_t* window_class;
    DWORD style;
    DWORD ex_style;
};

CreateArgs create_args(ControlKind kind) {
    switch (kind) {
        case ControlKind::label:
        case ControlKind::problem_line:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::text_box:
            return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::output_box:
            // Written by the program only, still selectable for copying.
            return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
        case ControlKind::push_button:
            return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::group_frame:
            // Below its buttons, and never painting over them.
            return {L"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0};
    }
    return {L"STATIC", 0, 0};
}

int control_id(ControlId id) {
    return first_control_id + static_cast<int>(id);
}

std::optional<ControlId> control_of(int command_id) {
    const int index = command_id - first_control_id;
    if (index < 0 || index >= static_cast<int>(frmcompute_controls.size())) {
        return std::nullopt;
    }
    return static_cast<ControlId>(index);
}

}  // namespace

Win32Windows::Win32Windows() {
    register_window_class(main_class_name, 0);
    main_ = CreateWindowExW(0, main_class_name, wide_text(frmcompute_window.caption).c_str(),
                            main_style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    attach_window<Win32Windows, &Win32Windows::handle>(main_, this);
    const UINT dpi = window_dpi(main_);
    RECT frame{0, 0, twips_to_pixels(frmcompute_window.width, dpi),
               twips_to_pixels(frmcompute_window.height, dpi)};
    AdjustWindowRectEx(&frame, main_style, FALSE, 0);
    SetWindowPos(main_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    build_controls();
    choose_ = std::make_unique<PrintWindow>(main_, frmchoose_window);
    display_ = std::make_unique<PrintWindow>(main_, frmdisplay_window);
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    tips_ = make_tooltips(main_);
    HMENU system_menu = GetSystemMenu(main_, FALSE);
    AppendMenuW(system_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(system_menu, MF_STRING, about_command, wide_text(about_caption).c_str());
}

Win32Windows::~Win32Windows() {
    sheet_.reset();
    choose_.reset();
    display_.reset();
    if (main_ != nullptr && IsWindow(main_)) {
        SetWindowLongPtrW(main_, GWLP_USERDATA, 0);
        DestroyWindow(main_);
    }
    for (auto& [points, font] : fonts_) {
        DeleteObject(font);
    }
}

void Win32Windows::build_controls() {
    const UINT dpi = window_dpi(main_);
    // Created in tab order, so that the focus walks it; frames last, below what they hold.
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& layout : frmcompute_controls) {
        order.push_back(&layout);
    }
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec* a, const ControlSpec* b) {
        const bool a_frame = a->kind == ControlKind::group_frame;
        const bool b_frame = b->kind == ControlKind::group_frame;
        return a_frame != b_frame ? b_frame : a->tab_index < b->tab_index;
    });
    for (const ControlSpec* layout : order) {
        // A control in a frame is placed in the frame's coordinates: children of the main
        // window all, so that their notifications come here.
        int left = layout->left;
        int top = layout->top;
        if (layout->container) {
            left += control_spec(*layout->container).left;
            top += control_spec(*layout->container).top;
        }
        const CreateArgs args = create_args(layout->kind);
        HWND control =
            CreateWindowExW(args.ex_style, args.window_class, wide_text(layout->caption).c_str(),
                            WS_CHILD | WS_VISIBLE | args.style, twips_to_pixels(left, dpi),
                            twips_to_pixels(top, dpi), twips_to_pixels(layout->width, dpi),
                            twips_to_pixels(layout->height, dpi), main_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id(layout->id))),
                            GetModuleHandleW(nullptr), nullptr);
        HFONT font = message_font();
        if (layout->points != window_default_font) {
            HFONT& song = fonts_[layout->points];
            if (song == nullptr) {
                song = make_song_font(layout->points, dpi);
            }
            font = song;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        controls_[layout->id] = control;
    }
}

void Win32Windows::connect_to(frmcompute& handlers) {
    handlers_ = &handlers;
    for (const PrintWindowId id : {PrintWindowId::frmchoose, PrintWindowId::frmdisplay}) {
        print_window(id).on_gesture(
            [&handlers, id](Gesture gesture) { handlers.print_window_gesture(id, gesture); });
    }
    choose_->on_line_click(
        [&handlers](std::size_t line, bool twice) { handlers.list_clicked(line, twice); });
}

void Win32Windows::show_main() {
    centre_window(main_);
    ShowWindow(main_, SW_SHOW);
    UpdateWindow(main_);
    SetFocus(controls_.at(ControlId::Text1));
}

int Win32Windows::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (take_key(message)) {
            continue;
        }
        // Tab walks the controls as in a dialog.
        if (main_ != nullptr && IsWindow(main_) && IsDialogMessageW(main_, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

bool Win32Windows::take_key(const MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1 && handlers_ != nullptr) {
        handlers_->help_requested(sheet_ != nullptr &&
                                  GetAncestor(message.hwnd, GA_ROOT) == sheet_->handle());
        return true;
    }
    if (message.message == WM_KEYDOWN && handlers_ != nullptr && GetKeyState(VK_CONTROL) < 0 &&
        GetAncestor(message.hwnd, GA_ROOT) == main_) {
        for (const ButtonShortcut& shortcut : frmcompute_shortcuts) {
            if (message.wParam == static_cast<WPARAM>(shortcut.ctrl_letter)) {
                handlers_->clicked(shortcut.button);
                return true;
            }
        }
        // The sheet's window has the same keys among its commands.
        for (const ProjectShortcut& shortcut : project_shortcuts) {
            if (message.wParam == static_cast<WPARAM>(shortcut.ctrl_letter)) {
                handlers_->project_command(shortcut.command);
                return true;
            }
        }
    }
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN || handlers_ == nullptr ||
        GetParent(message.hwnd) != main_) {
        return false;
    }
    const auto control = control_of(GetDlgCtrlID(message.hwnd));
    if (!control) {
        return false;
    }
    switch (control_spec(*control).kind) {
        case ControlKind::text_box:
            handlers_->enter_pressed(*control);
            return true;
        case ControlKind::push_button:
            SendMessageW(message.hwnd, BM_CLICK, 0, 0);
            return true;
        default:
            return false;
    }
}

PrintWindow& Win32Windows::print_window(PrintWindowId id) const {
    return id == PrintWindowId::frmchoose ? *choose_ : *display_;
}

LRESULT Win32Windows::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND: {
            const auto control = control_of(LOWORD(w));
            if (!control || handlers_ == nullptr) {
                break;
            }
            const ControlKind kind = control_spec(*control).kind;
            if (kind == ControlKind::text_box && HIWORD(w) == EN_CHANGE) {
                handlers_->text_changed(*control);
            } else if (kind == ControlKind::push_button && HIWORD(w) == BN_CLICKED) {
                handlers_->clicked(*control);
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(l) == controls_.at(ControlId::problem_line)) {
                return problem_line_colours(reinterpret_cast<HDC>(w));
            }
            break;
        case WM_CLOSE:
            if (handlers_ != nullptr) {
                handlers_->close_box();
            } else {
                end_program();
            }
            return 0;
        case WM_SYSCOMMAND:
            if ((w & 0xFFF0) == about_command && handlers_ != nullptr) {
                handlers_->help_requested();
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(main_, message, w, l);
}

std::string Win32Windows::text(ControlId control) const {
    return utf8_text(window_text(controls_.at(control)));
}

void Win32Windows::set_text(ControlId control, std::string_view text) {
    SetWindowTextW(controls_.at(control), wide_text(text).c_str());
}

void Win32Windows::set_tip(ControlId control, std::string_view tip) {
    const bool added = !tipped_.insert(control).second;
    set_control_tip(tips_, main_, controls_.at(control), tip, added);
}

std::optional<std::string> Win32Windows::ask_text(const InputRequest& request) {
    const DialogOutcome outcome =
        run_dialog(dialog_owner(), {wide_text(request.title),
                                    wide_text(request.prompt),
                                    wide_text(request.offered),
                                    {wide_text(ok_caption), wide_text(cancel_caption)}});
    if (outcome.button != 0) {
        return std::nullopt;
    }
    return utf8_text(outcome.answer);
}

void Win32Windows::tell(std::string_view message, Severity severity) {
    MessageBeep(severity == Severity::critical  ? MB_ICONHAND
                : severity == Severity::warning ? MB_ICONWARNING
                                                : MB_ICONASTERISK);
    run_dialog(
        dialog_owner(),
        {wide_text(dialog_title), wide_text(message), std::nullopt, {wide_text(ok_caption)}});
}

std::size_t Win32Windows::ask_choice(std::string_view question,
                                     const std::vector<std::string>& buttons,
                                     std::size_t default_button) {
    DialogContent content{wide_text(dialog_title), wide_text(question), std::nullopt, {}};
    for (const std::string& b : buttons) {
        content.buttons.push_back(wide_text(b));
    }
    content.default_button = default_button;
    MessageBeep(MB_ICONQUESTION);
    return run_dialog(dialog_owner(), content).button;
}

void Win32Windows::offer_answer(std::string_view text, bool answer_now) {
    offer_to_dialog(wide_text(text), answer_now);
}

void Win32Windows::focus(ControlId control, bool select_all) {
    SetActiveWindow(main_);
    HWND target = controls_.at(control);
    SetFocus(target);
    if (select_all) {
        SendMessageW(target, EM_SETSEL, 0, -1);
    }
}

std::string Win32Windows::window_token() {
    return std::to_string(reinterpret_cast<std::uintptr_t>(main_));
}

bool Win32Windows::bring_to_front(std::string_view token) {
    std::uintptr_t value = 0;
    if (std::from_chars(token.data(), token.data() + token.size(), value).ec != std::errc()) {
        return false;
    }
    HWND other = reinterpret_cast<HWND>(value);
    wchar_t name[64]{};
    // Only a Kestrune main window: a handle may be taken by another window since.
    if (!IsWindow(other) || GetClassNameW(other, name, 64) == 0 ||
        std::wstring_view(name) != main_class_name) {
        return false;
    }
    if (IsIconic(other)) {
        ShowWindow(other, SW_RESTORE);
    }
    SetForegroundWindow(other);
    return true;
}

bool Win32Windows::open_with_system(const std::filesystem::path& file) {
    return shell_open(main_, file.wstring().c_str());
}

std::optional<std::filesystem::path> Win32Windows::choose_folder(
    std::string_view title, const std::filesystem::path& start) {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(create_com_object(CLSID_FileOpenDialog, IID_IFileOpenDialog,
                                 reinterpret_cast<void**>(&dialog)))) {
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    return run_file_dialog(dialog, title, start);
}

std::optional<std::filesystem::path> Win32Windows::choose_save_file(
    std::string_view title, const std::filesystem::path& offered, std::string_view type_name,
    std::string_view extension) {
    IFileSaveDialog* dialog = nullptr;
    if (FAILED(create_com_object(CLSID_FileSaveDialog, IID_IFileSaveDialog,
                                 reinterpret_cast<void**>(&dialog)))) {
        return std::nullopt;
    }
    const std::wstring type = wide_text(type_name);
    const std::wstring pattern = L"*" + wide_text(extension);
    const COMDLG_FILTERSPEC filter{type.c_str(), pattern.c_str()};
    dialog->SetFileTypes(1, &filter);
    dialog->SetDefaultExtension(wide_text(extension).c_str() + 1);
    dialog->SetFileName(offered.filename().wstring().c_str());
    return run_file_dialog(dialog, title, offered.parent_path());
}

// Shows one of the system's file dialogs over the main window, in folder, and releases it.
std::optional<std::filesystem::path> Win32Windows::run_file_dialog(
    IFileDialog* dialog, std::string_view title, const std::filesystem::path& folder) {
    std::optional<std::filesystem::path> chosen;
    dialog->SetTitle(wide_text(title).c_str());
    IShellItem* start = nullptr;
    if (SUCCEEDED(shell_item_of(folder.wstring().c_str(), &start))) {
        dialog->SetFolder(start);
        start->Release();
    }
    IShellItem* result = nullptr;
    if (SUCCEEDED(dialog->Show(dialog_owner())) && SUCCEEDED(dialog->GetResult(&result))) {
        PWSTR path = nullptr;
        if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            chosen = std::filesystem::path(path);
            free_com_memory(path);
        }
        result->Release();
    }
    dialog->Release();
    return chosen;
}

void Win32Windows::show(PrintWindowId window) {
    if (window == PrintWindowId::frmchoose && IsWindowVisible(main_)) {
        place_list();
    }
    print_window(window).show();
}

ScreenBox Win32Windows::placed(HWND window, PlacementRule rule) const {
    RECT main{}, frame{};
    GetWindowRect(main_, &main);
    GetWindowRect(window, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(main_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    return rule({main.left, main.top, main.right - main.left, main.bottom - main.top},
                frame.right - frame.left, frame.bottom - frame.top,
                {area.left, area.top, area.right - area.left, area.bottom - area.top},
                twips_to_pixels(list_gap_twips, window_dpi(main_)));
}

void Win32Windows::place_list() {
    const ScreenBox place = placed(choose_->handle(), place_list_window);
    SetWindowPos(choose_->handle(), nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Windows::hide(PrintWindowId window) {
    print_window(window).hide();
}

void Win32Windows::clear(PrintWindowId window) {
    print_window(window).clear();
}

void Win32Windows::print(PrintWindowId window, const PrintStatement& statement,
                         std::size_t muted_from, Tone last_item) {
    print_window(window).print(statement, muted_from, last_item);
}

HWND Win32Windows::dialog_owner() const {
    return sheet_ != nullptr && GetActiveWindow() == sheet_->handle() ? sheet_->handle() : main_;
}

void Win32Windows::show_sheet() {
    if (handlers_ == nullptr) {
        return;
    }
    if (sheet_ == nullptr) {
        sheet_ = std::make_unique<SheetWindow>(main_, handlers_->grid(), handlers_->sheet());
        SetWindowTextW(sheet_->handle(),
                       wide_text(project_title(frmsheet_window, project_)).c_str());
        const ScreenBox place = placed(sheet_->handle(), place_sheet_window);
        SetWindowPos(sheet_->handle(), nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(sheet_->handle(), IsIconic(sheet_->handle()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(sheet_->handle());
    SetActiveWindow(sheet_->handle());
    SetFocus(sheet_->list());
}

void Win32Windows::project_changed(std::string_view name) {
    project_ = name;
    SetWindowTextW(main_, wide_text(project_title(frmcompute_window, name)).c_str());
    if (sheet_ != nullptr) {
        sheet_->project_changed(wide_text(project_title(frmsheet_window, name)));
    }
}

PrintOutcome Win32Windows::print_paper(const PaperReport& paper, std::string_view title) {
    return print_paper_pages(dialog_owner(), paper, wide_text(title));
}

void Win32Windows::sheet_changed() {
    if (sheet_ != nullptr) {
        sheet_->refresh();
    }
}

void Win32Windows::set_clipboard(std::string_view text) {
    const std::wstring wide = wide_text(text);
    if (!OpenClipboard(main_)) {
        return;
    }
    EmptyClipboard();
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* at = GlobalLock(memory)) {
            std::copy_n(wide.c_str(), wide.size() + 1, static_cast<wchar_t*>(at));
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
                GlobalFree(memory);
            }
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

std::string Win32Windows::clipboard_text() {
    std::string text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(main_)) {
        return text;
    }
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* at = static_cast<const wchar_t*>(GlobalLock(memory))) {
            text = utf8_text(at);
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

void Win32Windows::end_program() {
    if (sheet_ != nullptr) {
        ShowWindow(sheet_->handle(), SW_HIDE);
    }
    choose_->hide();
    display_->hide();
    ShowWindow(main_, SW_HIDE);
    PostQuitMessage(0);
}

}  // namespace kestrune
