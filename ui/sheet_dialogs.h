// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "fitting_table.h"
#include "window_toolkit.h"

namespace kestrune {

// What the sheet's window asks and says in its dialogs. UTF-8.

// The input box that asks for the imbalance limit, offering an entry.
InputRequest limit_request(std::string_view offered);
// The input box that asks for 自动选管径's upper specific resistance.
InputRequest resistance_limit_request(std::string_view offered);
// The input box that asks for the entrance's available pressure; blank: not given.
InputRequest available_pressure_request(std::string_view offered);

inline constexpr std::string_view export_workbook_title = "导出 Excel";
inline constexpr std::string_view export_report_title = "计算书 PDF";
// The file name offered for an export at a moment: 计算表-YYYYMMDD-HHMM.xlsx.
std::string export_name(std::string_view stem, std::string_view extension, const std::tm& when);

// The name chosen for an export is one of the program's own files in the working folder.
std::string export_over_own_file(std::string_view name);
// The message line after an export: where the file went, and how to open it.
// For a 计算书, the Chinese font embedded in it is named too.
std::string export_written(std::string_view file, std::string_view font = {});
// 打开 before anything was exported, and 打开 that the system could not do.
std::string nothing_exported_yet();
std::string export_not_opened(std::string_view file);

// 局部阻力…: the table in use and where it was read from, and what can be done with it.
inline constexpr std::string_view own_fittings_source = "程序自带的表";
inline constexpr std::string_view edit_fittings_caption = "编辑";
inline constexpr std::string_view reread_fittings_caption = "重新读取";
inline constexpr std::string_view close_caption = "关闭";
std::string fittings_shown(const FittingTable& fittings, std::string_view source);
std::string fittings_being_edited(std::string_view file);
// After 重新读取: the fittings read, the segments whose Σξ followed the new table, and those
// whose Σξ names a fitting the table no longer has.
std::string fittings_reread(std::size_t count, const std::vector<std::string>& recomputed,
                            const std::vector<std::string>& kept);

// Deleting rows, after a question that names them.
inline constexpr std::string_view delete_caption = "删除";
std::string delete_rows_question(std::string_view segments);

// An entry the sheet could not take when its window is closed or the program ends: drop it,
// or go back to it (the default).
std::string entry_not_taken_question(std::string_view reason);
inline constexpr std::string_view drop_entry_caption = "放弃输入";
inline constexpr std::string_view keep_entry_caption = "回去改正";

// The program is to end while the sheet's changes are not on the disk: stay (the default),
// or end all the same.
// After 打印…: sent to the printer, or not.
std::string report_printed(std::size_t pages);
std::string report_not_printed();

// Before quitting, or switching to another project (with their own captions).
std::string unsaved_quit_question(bool switching = false);
inline constexpr std::string_view stay_caption = "不退出";
inline constexpr std::string_view quit_anyway_caption = "仍然退出";
inline constexpr std::string_view stay_in_project_caption = "不换工程";
inline constexpr std::string_view switch_anyway_caption = "仍然换工程";

}  // namespace kestrune
