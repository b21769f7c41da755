// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frozen_column.h"
#include "sheet_cells.h"
#include "sheet_grid.h"
#include "sheet_keys.h"
#include "sheet_layout.h"
#include "sketch_view.h"

namespace kestrune {

// The keys the grid knows by name, as Windows codes them.
inline constexpr NamedKey<WPARAM> win32_named_keys[] = {
    {VK_UP, PhysicalKey::up},
    {VK_DOWN, PhysicalKey::down},
    {VK_LEFT, PhysicalKey::left},
    {VK_RIGHT, PhysicalKey::right},
    {VK_TAB, PhysicalKey::tab},
    {VK_RETURN, PhysicalKey::enter},
    {VK_ESCAPE, PhysicalKey::escape},
    {VK_F2, PhysicalKey::f2},
    {VK_DELETE, PhysicalKey::delete_key},
    {VK_HOME, PhysicalKey::home},
    {VK_END, PhysicalKey::end},
    {VK_SPACE, PhysicalKey::space},
};

// The calculation sheet's window: a resizable top-level window owned by the main window, with
// the commands' buttons, the grid as a list view in report mode (its first column numbers the
// rows; a click there selects them), an in-place edit control, the message line and the loop
// summary. Keys, clicks and the editor's text go to the sheet's grid, which decides; the
// window draws what the grid and the sheet hold.
class SheetWindow {
  public:
    SheetWindow(HWND owner, SheetGrid& grid, const frmsheet& sheet);
    ~SheetWindow();
    SheetWindow(const SheetWindow&) = delete;
    SheetWindow& operator=(const SheetWindow&) = delete;

    HWND handle() const { return window_; }
    HWND list() const { return list_; }
    HWND editor() const { return editor_; }
    HWND loops() const { return loops_; }
    HWND message() const { return message_; }
    HWND offers() const { return offers_; }
    const SketchView& sketch() const { return *sketch_; }
    const FrozenColumn& frozen() const { return *frozen_; }  // 管段号 while scrolled sideways

    void refresh();
    // Another project: its title, and its columns' widths.
    void project_changed(const std::wstring& title);
    // A key the list view or the editor received; true when the grid took it.
    bool take_key(const KeyStroke& stroke, bool in_editor);

  private:
    void apply_column_widths();
    std::vector<int> default_widths_;  // pixels, from the column table and the font
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    LRESULT list_message(UINT message, WPARAM w, LPARAM l);
    LRESULT editor_message(UINT message, WPARAM w, LPARAM l);
    LRESULT header_message(UINT message, WPARAM w, LPARAM l);  // two lines high
    void draw_title(const DRAWITEMSTRUCT& item);               // a column's two title lines
    int grid_width() const;                                    // with every column shown
    // A cell of the list as it shows it: column 0 numbers the rows, the sheet's follow.
    std::string list_text(std::size_t row, int sub) const;
    CellColours list_colours(std::size_t row, int sub) const;
    void clicked_cell(std::size_t row, int sub, bool twice);
    LRESULT custom_draw(NMLVCUSTOMDRAW* draw, bool sheet_list);
    void add_columns();
    void lay_out();
    void press(const KeyPress& key);
    void clicked_at(LPARAM where, bool twice);
    void show_cell_tip(LPARAM where);  // the tip of the cell under the pointer
    void refresh_editor();
    void refresh_offers();
    void scroll_to_current();

    SheetGrid& grid_;
    const frmsheet& sheet_;
    HWND window_ = nullptr;
    std::vector<HWND> buttons_;
    HWND list_ = nullptr;
    HWND header_ = nullptr;  // the list's, its titles on two lines
    HWND editor_ = nullptr;
    HWND message_ = nullptr;
    HWND loops_title_ = nullptr;
    HWND loops_ = nullptr;
    HWND notes_ = nullptr;
    HWND offers_ = nullptr;
    std::string
        cell_tip_;  // the tip the list shows now  // the fittings offered while a Σξ is typed
    HWND tips_ = nullptr;
    std::unique_ptr<SketchView> sketch_;
    std::unique_ptr<FrozenColumn> frozen_;
    bool sketch_shown_ = false;  // the layout gives it room
    HFONT font_ = nullptr;
    HIMAGELIST rows_ = nullptr;  // empty images that give the rows their height
    WNDPROC list_default_ = nullptr;
    WNDPROC editor_default_ = nullptr;
    WNDPROC header_default_ = nullptr;
    int header_line_ = 0;       // a title line's height, pixels
    std::wstring cell_buffer_;  // the text a list view asked for, kept until it has drawn it
    wchar_t pending_high_ = 0;  // the first half of a character typed as a surrogate pair
};

}  // namespace kestrune
