// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "code_dialog.h"
#include "column_widths.h"
#include "controls.h"
#include "dpi.h"
#include "frozen_column.h"
#include "sheet_layout.h"
#include "song_font.h"
#include "tooltips.h"
#include "wide_text.h"
#include "window_class.h"

namespace kestrune {
namespace {

constexpr wchar_t class_name[] = L"KestruneSheetWindow";
constexpr DWORD sheet_style = WS_OVERLAPPEDWINDOW;
constexpr int first_button_id = 200;
constexpr int list_id = 300;
constexpr int loops_id = 301;
constexpr int offers_id = 302;
// The list view's first column numbers the rows; the sheet's columns follow it.
constexpr int row_number_columns = 1;

SystemColours system_colours() {
    return {rgb_of(GetSysColor(COLOR_WINDOWTEXT)),    rgb_of(GetSysColor(COLOR_WINDOW)),
            rgb_of(GetSysColor(COLOR_HIGHLIGHTTEXT)), rgb_of(GetSysColor(COLOR_HIGHLIGHT)),
            rgb_of(GetSysColor(COLOR_BTNTEXT)),       rgb_of(GetSysColor(COLOR_BTNFACE))};
}

void move_to(HWND window, const ScreenBox& box) {
    MoveWindow(window, box.left, box.top, box.width, box.height, TRUE);
}

bool held(int key) {
    return GetKeyState(key) < 0;
}

// A key pressed, as the grid names it; alt: it came as a system key (Alt held).
KeyStroke key_down(WPARAM key, bool alt) {
    KeyStroke stroke;
    stroke.shift = held(VK_SHIFT);
    stroke.ctrl = held(VK_CONTROL);
    stroke.alt = alt || held(VK_MENU);
    if (auto named = key_named<WPARAM>(win32_named_keys, key)) {
        stroke.key = *named;
    } else if (key >= 'A' && key <= 'Z') {
        stroke.key = PhysicalKey::letter;
        stroke.letter = static_cast<char>(key);
    }
    return stroke;
}

}  // namespace

SheetWindow::SheetWindow(HWND owner, SheetGrid& grid, const frmsheet& sheet)
    : grid_(grid), sheet_(sheet) {
    register_window_class(class_name, CS_HREDRAW | CS_VREDRAW);
    const UINT dpi = window_dpi(owner);
    RECT frame{0, 0, twips_to_pixels(frmsheet_window.width, dpi),
               twips_to_pixels(frmsheet_window.height, dpi)};
    AdjustWindowRectEx(&frame, sheet_style, FALSE, 0);
    window_ = CreateWindowExW(0, class_name, wide_text(frmsheet_window.caption).c_str(),
                              sheet_style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, owner, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    attach_window<SheetWindow, &SheetWindow::handle>(window_, this);
    font_ = make_song_font(sheet_window_layout.points, dpi);
    tips_ = make_tooltips(window_);
    for (std::size_t i = 0; i < sheet_commands.size(); ++i) {
        if (sheet_commands[i].caption.empty()) {
            continue;  // a key only
        }
        HWND button = CreateWindowExW(
            0, L"BUTTON", wide_text(sheet_commands[i].caption).c_str(),
            WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 10, 10, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(first_button_id + static_cast<int>(i))),
            GetModuleHandleW(nullptr), nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(message_font()), FALSE);
        set_control_tip(tips_, window_, button, command_tip(sheet_commands[i]), false);
        buttons_.push_back(button);
    }
    list_ = make_list(window_, list_id, font_);
    loops_ = make_list(window_, loops_id, font_);
    editor_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 10, 10,
                              list_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    // Over the grid, which must then leave it alone when it paints.
    SetWindowLongPtrW(list_, GWL_STYLE, GetWindowLongPtrW(list_, GWL_STYLE) | WS_CLIPSIBLINGS);
    offers_ = CreateWindowExW(0, L"LISTBOX", nullptr,
                              WS_CHILD | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 10,
                              10, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(offers_id)),
                              GetModuleHandleW(nullptr), nullptr);
    SendMessageW(offers_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    message_ = make_static(window_, font_);
    loops_title_ = make_static(window_, font_);
    notes_ = make_static(window_, font_);
    list_default_ = attach_window<SheetWindow, &SheetWindow::list_message>(list_, this);
    editor_default_ = attach_window<SheetWindow, &SheetWindow::editor_message>(editor_, this);
    sketch_ = std::make_unique<SketchView>(window_);
    set_control_tip(tips_, window_, sketch_->handle(), sketch_tip, false);
    set_control_tip(tips_, window_, list_, "", false, true);  // a Σξ's fittings, cell by cell
    sketch_->on_row = [this](std::size_t row) {
        if (grid_.editing()) {
            grid_.edited(utf8_text(window_text(editor_)));
        }
        SetFocus(list_);
        grid_.click(row, grid_.current().column, false);
    };
    sketch_shown_ = grid_.sketch().room;
    add_columns();
    frozen_ = std::make_unique<FrozenColumn>(
        list_, font_,
        [this](std::size_t row, int column) {
            const CellColours colours = list_colours(row, column);
            return FrozenColumn::Cell{wide_text(list_text(row, column)), colour_of(colours.text),
                                      colour_of(colours.ground)};
        },
        [this](std::size_t row, int column, bool twice) {
            SetFocus(list_);
            clicked_cell(row, column, twice);
        });
    // Wide enough for every column, where the screen has room (placed by the caller).
    RECT wide{
        0, 0,
        sheet_window_width(grid_width(), [dpi](int twips) { return twips_to_pixels(twips, dpi); }),
        twips_to_pixels(frmsheet_window.height, dpi)};
    AdjustWindowRectEx(&wide, sheet_style, FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, wide.right - wide.left, wide.bottom - wide.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    lay_out();
}

SheetWindow::~SheetWindow() {
    if (IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    DeleteObject(font_);
    if (rows_ != nullptr) {
        ImageList_Destroy(rows_);
    }
}

void SheetWindow::apply_column_widths() {
    // The table's widths, and over them the ones the engineer gave this project's columns.
    std::error_code ignored;
    const auto kept = kept_column_widths(std::filesystem::current_path(ignored));
    for (std::size_t c = 0; c < kept.size() && c < default_widths_.size(); ++c) {
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, c + row_number_columns,
                     kept[c] ? twips_to_pixels(*kept[c], window_dpi(window_)) : default_widths_[c]);
    }
}

void SheetWindow::project_changed(const std::wstring& title) {
    SetWindowTextW(window_, title.c_str());
    apply_column_widths();
    frozen_->follow();
}

int SheetWindow::grid_width() const {
    // Room for a vertical scroll bar too, so that a long sheet still shows every column.
    int width = 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
    for (std::size_t c = 0; c < sheet_columns.size() + row_number_columns; ++c) {
        width += static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, c, 0));
    }
    return width;
}

std::string SheetWindow::list_text(std::size_t row, int sub) const {
    return sub < row_number_columns
               ? std::to_string(row + 1)
               : shown_cell(sheet_.sheet(), row, static_cast<std::size_t>(sub - row_number_columns))
                     .text;
}

CellColours SheetWindow::list_colours(std::size_t row, int sub) const {
    const SystemColours system = system_colours();
    if (sub < row_number_columns) {
        return {system.header_text, system.header};
    }
    const auto column = static_cast<std::size_t>(sub - row_number_columns);
    return cell_colours(shown_cell(sheet_.sheet(), row, column), grid_.selected(row, column),
                        system);
}

void SheetWindow::add_columns() {
    HDC dc = GetDC(list_);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const auto width = [&](int characters, const std::vector<std::wstring>& lines) {
        int widest = 0;
        for (const std::wstring& line : lines) {
            SIZE size{};
            GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
        return column_pixels(metrics.tmAveCharWidth, characters, widest);
    };
    add_column(list_, 0, L"", row_number_pixels(metrics.tmAveCharWidth), true);
    // The rows as high as the font and its room (a list view takes its images' height).
    rows_ = ImageList_Create(
        1,
        row_pixels(metrics.tmHeight,
                   [this](int twips) { return twips_to_pixels(twips, window_dpi(window_)); }),
        ILC_COLOR, 1, 0);
    SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rows_));
    default_widths_.clear();
    header_ = ListView_GetHeader(list_);
    for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
        const auto lines = column_title_lines(c);
        default_widths_.push_back(
            width(sheet_columns[c].width, {wide_text(lines[0]), wide_text(lines[1])}));
        add_column(list_, static_cast<int>(c) + row_number_columns, wide_text(column_title(c)),
                   default_widths_.back(), sheet_columns[c].format != CellFormat::text);
        // Its title on two lines, drawn by the sheet (WM_DRAWITEM); the header draws its frame.
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header_, HDM_GETITEMW, c + row_number_columns,
                     reinterpret_cast<LPARAM>(&item));
        item.fmt |= HDF_OWNERDRAW;
        SendMessageW(header_, HDM_SETITEMW, c + row_number_columns,
                     reinterpret_cast<LPARAM>(&item));
    }
    // A line higher than the header makes itself, for the titles' second lines.
    header_line_ = metrics.tmHeight;
    header_default_ = attach_window<SheetWindow, &SheetWindow::header_message>(header_, this);
    apply_column_widths();
    for (std::size_t c = 0; c < loop_columns.size(); ++c) {
        const std::wstring title = wide_text(loop_columns[c].header);
        add_column(loops_, static_cast<int>(c), title, width(loop_columns[c].width, {title}),
                   loop_columns[c].format != CellFormat::text);
    }
    SelectObject(dc, old);
    ReleaseDC(list_, dc);
}

void SheetWindow::lay_out() {
    RECT client{};
    GetClientRect(window_, &client);
    const UINT dpi = window_dpi(window_);
    const SheetWindowBoxes boxes = sheet_window_boxes(
        client.right, client.bottom, [dpi](int twips) { return twips_to_pixels(twips, dpi); },
        sketch_shown_, grid_width());
    for (std::size_t i = 0; i < buttons_.size() && i < boxes.buttons.size(); ++i) {
        move_to(buttons_[i], boxes.buttons[i]);
    }
    move_to(list_, boxes.grid);
    move_to(message_, boxes.message);
    move_to(loops_title_, boxes.loops_title);
    move_to(loops_, boxes.loops);
    move_to(notes_, boxes.notes);
    move_to(sketch_->handle(), boxes.sketch);
    ShowWindow(sketch_->handle(), sketch_shown_ ? SW_SHOWNA : SW_HIDE);
    frozen_->follow();
    refresh_editor();
}

void SheetWindow::refresh() {
    SendMessageW(list_, LVM_SETITEMCOUNT, sheet_.rows(), LVSICF_NOSCROLL);
    InvalidateRect(list_, nullptr, FALSE);
    scroll_to_current();
    frozen_->follow();
    refresh_editor();
    SetWindowTextW(message_, wide_text(grid_.message()).c_str());
    SetWindowTextW(loops_title_, wide_text(loop_summary_title(sheet_.sheet())).c_str());
    SendMessageW(loops_, LVM_SETITEMCOUNT, sheet_.loops(), LVSICF_NOSCROLL);
    InvalidateRect(loops_, nullptr, FALSE);
    SetWindowTextW(notes_, wide_text(loop_notes_line(sheet_.sheet())).c_str());
    SketchShown shown = grid_.sketch();
    sketch_->show_sketch(std::move(shown.sketch), shown.current);
    if (std::exchange(sketch_shown_, shown.room) != shown.room) {
        lay_out();  // the sketch came or went
    }
}

void SheetWindow::scroll_to_current() {
    if (sheet_.rows() == 0) {
        return;
    }
    const CellPosition at = grid_.current();
    SendMessageW(list_, LVM_ENSUREVISIBLE, at.row, FALSE);
    RECT cell{};
    cell.top = static_cast<LONG>(at.column) + row_number_columns;
    cell.left = LVIR_BOUNDS;
    SendMessageW(list_, LVM_GETSUBITEMRECT, at.row, reinterpret_cast<LPARAM>(&cell));
    RECT client{};
    GetClientRect(list_, &client);
    // The row numbers stand left of the first column: it brings them back into view. Any
    // other column is brought out from under the frozen first one.
    const int numbers = at.column == 0
                            ? static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, 0, 0))
                            : frozen_->width();
    int by = 0;
    if (cell.right > client.right) {
        by = std::min(cell.right - client.right, cell.left - numbers);
    }
    SCROLLINFO scrolled{};
    scrolled.cbSize = sizeof scrolled;
    scrolled.fMask = SIF_POS;
    GetScrollInfo(list_, SB_HORZ, &scrolled);
    if (cell.left - numbers < 0 && (at.column == 0 || scrolled.nPos > 0)) {
        by = std::max(static_cast<int>(cell.left) - numbers, -scrolled.nPos);
    }
    if (by != 0) {
        SendMessageW(list_, LVM_SCROLL, static_cast<WPARAM>(by), 0);
    }
}

void SheetWindow::refresh_editor() {
    if (!grid_.editing()) {
        ShowWindow(offers_, SW_HIDE);
        if (IsWindowVisible(editor_)) {
            const bool had_focus = GetFocus() == editor_;
            ShowWindow(editor_, SW_HIDE);
            if (had_focus) {
                SetFocus(list_);
            }
        }
        return;
    }
    const CellPosition at = grid_.current();
    RECT cell{};
    cell.top = static_cast<LONG>(at.column) + row_number_columns;
    cell.left = LVIR_BOUNDS;
    SendMessageW(list_, LVM_GETSUBITEMRECT, at.row, reinterpret_cast<LPARAM>(&cell));
    // Placed before its text is set, so that the caret at the end is scrolled into view
    // for the cell's own width: a long Σξ shows its end, not an empty box.
    SetWindowPos(editor_, HWND_TOP, cell.left, cell.top, cell.right - cell.left,
                 cell.bottom - cell.top, SWP_SHOWWINDOW);
    const std::wstring text = wide_text(grid_.edit_text());
    if (window_text(editor_) != text) {
        SetWindowTextW(editor_, text.c_str());
        SendMessageW(editor_, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
        SendMessageW(editor_, EM_SCROLLCARET, 0, 0);
    }
    // A sizing in the main window redraws the sheet too: the focus stays where it is.
    if (GetActiveWindow() == window_) {
        SetFocus(editor_);
    }
    refresh_offers();
}

void SheetWindow::refresh_offers() {
    const std::vector<FittingOffer> offered = grid_.offers();
    if (offered.empty() || !IsWindowVisible(editor_)) {
        ShowWindow(offers_, SW_HIDE);
        return;
    }
    SendMessageW(offers_, LB_RESETCONTENT, 0, 0);
    HDC dc = GetDC(offers_);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    int widest = 0;
    for (const FittingOffer& offer : offered) {
        const std::wstring label = wide_text(offer.label);
        SendMessageW(offers_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        SIZE size{};
        GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(offers_, dc);
    SendMessageW(offers_, LB_SETCURSEL, grid_.highlighted_offer(), 0);
    RECT cell{};
    GetWindowRect(editor_, &cell);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&cell), 2);
    RECT client{};
    GetClientRect(window_, &client);
    const auto line = static_cast<int>(SendMessageW(offers_, LB_GETITEMHEIGHT, 0, 0));
    const ScreenBox box =
        offers_box({cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top},
                   offered.size(), line, widest + 2 * metrics.tmAveCharWidth, client.bottom);
    SetWindowPos(offers_, HWND_TOP, box.left, box.top, box.width, box.height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void SheetWindow::press(const KeyPress& key) {
    if (grid_.editing()) {
        grid_.edited(utf8_text(window_text(editor_)));
    }
    grid_.key(key);
}

bool SheetWindow::take_key(const KeyStroke& stroke, bool in_editor) {
    const auto key = in_editor ? editor_key(stroke) : grid_key(stroke);
    if (!key) {
        return false;
    }
    press(*key);
    return true;
}

void SheetWindow::show_cell_tip(LPARAM where) {
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const std::string tip =
        hit.iItem < 0 || hit.iSubItem < row_number_columns
            ? std::string()
            : grid_.tip(static_cast<std::size_t>(hit.iItem),
                        static_cast<std::size_t>(hit.iSubItem - row_number_columns));
    if (tip != cell_tip_) {
        cell_tip_ = tip;
        SendMessageW(tips_, TTM_POP, 0, 0);
        set_control_tip(tips_, window_, list_, tip, true, true);
    }
}

void SheetWindow::clicked_at(LPARAM where, bool twice) {
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem < 0) {
        return;
    }
    if (grid_.editing()) {
        grid_.edited(utf8_text(window_text(editor_)));
    }
    clicked_cell(static_cast<std::size_t>(hit.iItem), hit.iSubItem, twice);
}

void SheetWindow::clicked_cell(std::size_t row, int sub, bool twice) {
    if (sub < row_number_columns) {
        grid_.row_header_click(row, held(VK_SHIFT));
        return;
    }
    const auto column = static_cast<std::size_t>(sub - row_number_columns);
    if (twice) {
        grid_.double_click(row, column);
    } else {
        grid_.click(row, column, held(VK_SHIFT));
    }
}

LRESULT SheetWindow::custom_draw(NMLVCUSTOMDRAW* draw, bool sheet_list) {
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            // The grid draws its own selection.
            draw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const auto row = static_cast<std::size_t>(draw->nmcd.dwItemSpec);
            const int sub = draw->iSubItem;
            const CellColours colours =
                sheet_list ? list_colours(row, sub)
                           : cell_colours(shown_loop_cell(sheet_.sheet(), row, sub), false,
                                          system_colours());
            draw->clrText = colour_of(colours.text);
            draw->clrTextBk = colour_of(colours.ground);
            return CDRF_NEWFONT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

LRESULT SheetWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_SIZE:
            lay_out();
            return 0;
        case WM_GETMINMAXINFO: {
            const UINT dpi = window_dpi(window_);
            RECT least{0, 0, twips_to_pixels(sheet_least_width, dpi),
                       twips_to_pixels(sheet_least_height, dpi)};
            AdjustWindowRectEx(&least, sheet_style, FALSE, 0);
            auto* limits = reinterpret_cast<MINMAXINFO*>(l);
            limits->ptMinTrackSize = {least.right - least.left, least.bottom - least.top};
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(w) != WA_INACTIVE) {
                SetFocus(grid_.editing() ? editor_ : list_);
                return 0;
            }
            break;
        case WM_COMMAND: {
            const int index = LOWORD(w) - first_button_id;
            if (HIWORD(w) == BN_CLICKED && index >= 0 &&
                index < static_cast<int>(sheet_commands.size())) {
                SetFocus(list_);  // the keys stay with the grid
                press(command_key(sheet_commands[static_cast<std::size_t>(index)].command));
                return 0;
            }
            if (reinterpret_cast<HWND>(l) == offers_ && HIWORD(w) == LBN_SELCHANGE) {
                // A click takes the fitting; the entry stays open for the next +.
                grid_.edited(utf8_text(window_text(editor_)));
                grid_.take_offer(
                    static_cast<std::size_t>(SendMessageW(offers_, LB_GETCURSEL, 0, 0)));
                refresh_editor();
                SetFocus(editor_);
                return 0;
            }
            break;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(l);
            const bool sheet_list = header->hwndFrom == list_;
            if (!sheet_list && header->hwndFrom != loops_) {
                break;
            }
            if (header->code == LVN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMLVDISPINFOW*>(l);
                if ((info->item.mask & LVIF_TEXT) == 0 || info->item.cchTextMax <= 0) {
                    return 0;
                }
                const auto row = static_cast<std::size_t>(info->item.iItem);
                const int sub = info->item.iSubItem;
                cell_buffer_ = wide_text(
                    sheet_list
                        ? list_text(row, sub)
                        : shown_loop_cell(sheet_.sheet(), row, static_cast<std::size_t>(sub)).text);
                lstrcpynW(info->item.pszText, cell_buffer_.c_str(), info->item.cchTextMax);
                return 0;
            }
            if (header->code == NM_CUSTOMDRAW) {
                return custom_draw(reinterpret_cast<NMLVCUSTOMDRAW*>(l), sheet_list);
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(l) == message_) {
                return problem_line_colours(reinterpret_cast<HDC>(w));
            }
            break;
        case WM_CLOSE:
            if (grid_.editing()) {
                grid_.edited(utf8_text(window_text(editor_)));
            }
            // The sheet stays, and opens again as it was; an entry waiting to be put right
            // keeps it open.
            if (grid_.closing()) {
                ShowWindow(window_, SW_HIDE);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

LRESULT SheetWindow::list_message(UINT message, WPARAM w, LPARAM l) {
    if (message == WM_MOUSEMOVE) {
        show_cell_tip(l);
        MSG relayed{list_, message, w, l, 0, {}};
        SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (take_key(key_down(w, message == WM_SYSKEYDOWN), false)) {
                // The character the key also typed (Enter, Space) is not an entry.
                MSG typed;
                while (PeekMessageW(&typed, list_, WM_CHAR, WM_SYSCHAR, PM_REMOVE)) {
                }
                return 0;
            }
            break;
        case WM_CHAR: {
            const auto unit = static_cast<wchar_t>(w);
            if (unit >= 0xD800 && unit < 0xDC00) {
                pending_high_ = unit;
                return 0;
            }
            std::wstring typed;
            if (unit >= 0xDC00 && unit < 0xE000 && pending_high_ != 0) {
                typed += pending_high_;
            }
            pending_high_ = 0;
            typed += unit;
            KeyStroke stroke;
            stroke.text = utf8_text(typed);
            take_key(stroke, false);
            return 0;  // no incremental search: the grid's keys are its own
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(list_);
            clicked_at(l, message == WM_LBUTTONDBLCLK);
            return 0;
        case WM_RBUTTONDOWN:
            return 0;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(l);
            if (item->CtlType == ODT_HEADER) {
                draw_title(*item);
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
            // The editor's text as the engineer has it, whatever redraws the sheet meanwhile.
            if (reinterpret_cast<HWND>(l) == editor_ && HIWORD(w) == EN_CHANGE && grid_.editing()) {
                grid_.edited(utf8_text(window_text(editor_)));
                refresh_offers();
            }
            break;
        case WM_NOTIFY: {
            // A column's width dragged: kept, the dragged one as it ends.
            const auto* changed = reinterpret_cast<const NMHEADERW*>(l);
            if (changed->hdr.code == HDN_ENDTRACKW && changed->pitem != nullptr &&
                (changed->pitem->mask & HDI_WIDTH) != 0) {
                std::vector<int> twips;
                const UINT dpi = window_dpi(window_);
                for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
                    const int column = static_cast<int>(c) + row_number_columns;
                    const int pixels =
                        column == changed->iItem
                            ? changed->pitem->cxy
                            : static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0));
                    twips.push_back(pixels_to_twips(pixels, dpi));
                }
                std::error_code ignored;
                keep_column_widths(std::filesystem::current_path(ignored), twips);
            }
            if (changed->hdr.code == HDN_ITEMCHANGEDW && frozen_ != nullptr) {
                frozen_->follow();  // a width changed, by a drag or by the program
            }
            break;
        }
        case WM_MOUSEWHEEL:
            // The wheel comes to the window with the focus: over the sketch, it is the sketch's.
            if (WindowFromPoint({GET_X_LPARAM(l), GET_Y_LPARAM(l)}) == sketch_->handle()) {
                return SendMessageW(sketch_->handle(), message, w, l);
            }
            [[fallthrough]];
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const LRESULT result = CallWindowProcW(list_default_, list_, message, w, l);
            frozen_->follow();
            refresh_editor();  // the editor follows its cell
            return result;
        }
        default:
            break;
    }
    return CallWindowProcW(list_default_, list_, message, w, l);
}

void SheetWindow::draw_title(const DRAWITEMSTRUCT& item) {
    if (static_cast<int>(item.itemID) < row_number_columns) {
        return;
    }
    const auto lines = column_title_lines(item.itemID - row_number_columns);
    const int count = lines[1].empty() ? 1 : 2;
    const int height = item.rcItem.bottom - item.rcItem.top;
    RECT line = item.rcItem;
    line.left += 2;
    line.right -= 2;
    line.top += (height - count * header_line_) / 2;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(item.hDC, font_);
    for (int i = 0; i < count; ++i) {
        line.bottom = line.top + header_line_;
        const std::wstring text = wide_text(lines[static_cast<std::size_t>(i)]);
        DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &line,
                  DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        line.top = line.bottom;
    }
    SelectObject(item.hDC, old);
}

LRESULT SheetWindow::header_message(UINT message, WPARAM w, LPARAM l) {
    const LRESULT result = CallWindowProcW(header_default_, header_, message, w, l);
    if (message == HDM_LAYOUT && result != 0) {
        auto* layout = reinterpret_cast<HDLAYOUT*>(l);
        layout->pwpos->cy += header_line_;
        layout->prc->top += header_line_;
    }
    return result;
}

LRESULT SheetWindow::editor_message(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (take_key(key_down(w, false), true)) {
                return 0;
            }
            break;
        case WM_CHAR:
            if (w == L'\r' || w == L'\t' || w == 0x1B) {
                return 0;  // taken as keys above; no beep
            }
            break;
        default:
            break;
    }
    return CallWindowProcW(editor_default_, editor_, message, w, l);
}

}  // namespace kestrune
