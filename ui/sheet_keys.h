// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a key on the sheet's grid means. Each front-end names the key the engineer pressed
// (and the characters it typed); the meaning is decided here for both.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sheet_grid.h"

namespace kestrune {

enum class PhysicalKey {
    up,
    down,
    left,
    right,
    tab,
    enter,
    escape,
    f2,
    delete_key,
    home,
    end,
    space,
    letter,  // with ctrl_letter
    other,   // a key that only types: its characters in text
};

struct KeyStroke {
    PhysicalKey key = PhysicalKey::other;
    char letter = 0;  // 'A' to 'Z', for PhysicalKey::letter
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    std::string text;  // the characters the key typed, UTF-8; empty when none
};

// One toolkit's codes for the keys the grid knows by name. A key may have several codes
// (Return and Enter); its first is the one a test presses.
template <class Code>
struct NamedKey {
    Code code;
    PhysicalKey key;
};

template <class Code>
std::optional<PhysicalKey> key_named(std::span<const NamedKey<Code>> keys, Code code) {
    for (const NamedKey<Code>& named : keys) {
        if (named.code == code) {
            return named.key;
        }
    }
    return std::nullopt;
}

template <class Code>
std::optional<Code> code_of(std::span<const NamedKey<Code>> keys, PhysicalKey key) {
    for (const NamedKey<Code>& named : keys) {
        if (named.key == key) {
            return named.code;
        }
    }
    return std::nullopt;
}

// A key with the modifiers that bind it to a command.
struct KeyChord {
    PhysicalKey key = PhysicalKey::other;  // other: no key
    char letter = 0;                       // for PhysicalKey::letter
    bool ctrl = false;
    bool alt = false;
    bool shift = false;  // for a letter: Ctrl+Shift+P is not Ctrl+P
};

// What the engineer can do to the sheet beyond moving about and typing.
enum class SheetCommand {
    undo,
    redo,
    move_up,
    move_down,
    delete_rows,
    set_limit,
    set_resistance_limit,
    set_available_pressure,
    fittings,
    export_excel,
    export_pdf,
    print_report,
    open_export,
    choose_pipes,
    balance_pipes,
    copy,
    paste,
    select_all,
    new_project,
    open_project,
    project_details,
};

struct CommandLayout {
    SheetCommand command;
    std::string_view caption;  // its button's; empty: a key only
    GridKey grid;              // what the grid does
    KeyChord chord;            // its key; none for 限值…
    std::string_view note;     // its button's tip where it has no key
};

// Every command with its button and its key, for both front-ends and the tips.
// clang-format off
inline constexpr std::array<CommandLayout, 21> sheet_commands{{
    {SheetCommand::undo,         "撤销",       GridKey::undo,            {PhysicalKey::letter, 'Z', true},  ""},
    {SheetCommand::redo,         "重做",       GridKey::redo,            {PhysicalKey::letter, 'Y', true},  ""},
    {SheetCommand::move_up,      "上移一行",   GridKey::move_row_up,     {PhysicalKey::up, 0, false, true}, ""},
    {SheetCommand::move_down,    "下移一行",   GridKey::move_row_down,   {PhysicalKey::down, 0, false, true}, ""},
    {SheetCommand::delete_rows,  "删除管段",   GridKey::delete_rows,     {PhysicalKey::delete_key, 0, true}, ""},
    {SheetCommand::set_limit,    "限值…",      GridKey::set_limit,       {},                                "并联环路不平衡率限值"},
    {SheetCommand::set_resistance_limit, "比摩阻…", GridKey::set_resistance_limit, {}, "自动选管径的比摩阻上限"},
    {SheetCommand::set_available_pressure, "资用压力…", GridKey::set_available_pressure, {}, "热力入口的资用压力"},
    {SheetCommand::fittings,     "局部阻力…",  GridKey::fittings,        {},                                "查看、编辑局部阻力系数表（fittings.txt）"},
    {SheetCommand::export_excel, "导出 Excel", GridKey::export_workbook, {PhysicalKey::letter, 'E', true},  ""},
    {SheetCommand::export_pdf,   "计算书 PDF", GridKey::export_report,   {PhysicalKey::letter, 'P', true, false, true}, ""},
    {SheetCommand::print_report, "打印…",      GridKey::print_report,    {PhysicalKey::letter, 'P', true},  ""},
    {SheetCommand::open_export,  "打开",       GridKey::open_export,     {},                                "用系统的程序打开刚导出的文件"},
    {SheetCommand::choose_pipes, "自动选管径", GridKey::choose_pipes,    {PhysicalKey::letter, 'D', true},  ""},
    {SheetCommand::balance_pipes, "平衡管径",  GridKey::balance_pipes,   {PhysicalKey::letter, 'B', true},  ""},
    {SheetCommand::copy,         "",           GridKey::copy,            {PhysicalKey::letter, 'C', true},  ""},
    {SheetCommand::paste,        "",           GridKey::paste,           {PhysicalKey::letter, 'V', true},  ""},
    {SheetCommand::select_all,   "",           GridKey::select_all,      {PhysicalKey::letter, 'A', true},  ""},
    {SheetCommand::new_project,  "新建工程…",  GridKey::new_project,     {PhysicalKey::letter, 'N', true},  ""},
    {SheetCommand::open_project, "打开工程…",  GridKey::open_project,    {PhysicalKey::letter, 'O', true},  ""},
    {SheetCommand::project_details, "工程信息…", GridKey::project_details, {},                            "工程名称和设计人，用于标题和导出"},
}};
// clang-format on

// A chord as the menus of both systems write it: "Ctrl+Z", "Alt+Up"; empty for none.
std::string chord_name(const KeyChord& chord);
// A command button's tip: its key, or what it sets.
std::string command_tip(const CommandLayout& command);

// The grid's key for a stroke; nullopt when the grid has no use for it (the toolkit may).
std::optional<KeyPress> grid_key(const KeyStroke& stroke);
// The same, for a stroke in the in-place editor: only what ends or leaves the entry goes to
// the grid; nullopt when the editor keeps the key for its text.
std::optional<KeyPress> editor_key(const KeyStroke& stroke);

// The key of a command of the sheet window's buttons.
KeyPress command_key(SheetCommand command);

}  // namespace kestrune
