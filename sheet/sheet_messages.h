// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_error.h"
#include "fitting_table.h"
#include "pipe_balance.h"
#include "pipe_table.h"
#include "sheet_file.h"
#include "sheet_network.h"

namespace kestrune {

// What the engineer is told about the calculation sheet. UTF-8.

std::string sheet_set_aside(const SheetFileError& error, std::string_view file,
                            std::string_view kept_name);
std::string sheet_not_read(const FileError& error);
// A sheet that could not be read, kept aside under kept_name.
std::string sheet_unread_set_aside(const FileError& error, std::string_view kept_name);
// While the sheet's changes are not on the disk: on the sheet's message line.
std::string sheet_unsaved_note();
std::string sheet_not_saved(const FileError& error);
// The coefficient table could not be used: why; the program's own is used instead.
std::string fitting_table_problem(const FittingTableError& error, std::string_view file);
// Names given twice and overlapping DN ranges, with their lines.
std::string fitting_table_doubts(const std::vector<FittingDoubt>& doubts, std::string_view file);

// Refusals of an entry in a cell; the cell keeps what it had.
std::string length_refused(std::string_view entry);
std::string xi_refused(const XiError& error);
// A Σξ entry taken apart for a checker, at the row's DN: each fitting with its count and ξ,
// each number as it stands, then the sum: "90°煨弯 2 × 1.5 = 3；截止阀 1 × 10 = 10；Σξ = 13".
std::string xi_in_parts(std::string_view entry, const FittingTable& fittings, std::int16_t dn,
                        double sum);
// After a new DN: the fittings have no value for it, so Σξ stays what it was.
std::string xi_kept_for_new_dn(const XiError& error, double kept);
std::string loops_refused(std::string_view entry);
// A DN that names no pipe of the table: the row stays as it was, and the table's DNs are named.
std::string dn_refused(std::string_view entry, const DiameterRefusal& refusal,
                       const PipeTable& pipes);
std::string limit_refused(std::string_view entry);
std::string available_pressure_refused(std::string_view entry);
std::string resistance_limit_refused(std::string_view entry);
std::string consumer_refused(std::string_view entry);
// Without a network a row's 用户负荷 is its load: it cannot be taken away.
std::string consumer_needed(std::string_view segment);

// What is wrong with the network, naming its segments (their 管段号); said on the message line
// and in the printed calculation. While any stands, no load is derived.
std::vector<std::string> network_fault_notes(const Network& network,
                                             const std::vector<SheetRow>& rows);
inline constexpr std::string_view network_held_note = "网络有误，负荷、流量和环路保持改正前的值。";
// 自动选管径 or 平衡管径 asked while the network has a fault.
inline constexpr std::string_view network_first_note = "请先改正网络，再选管径。";
// 自动选管径 and what it chose.
std::string pipes_chosen_note(const std::vector<PipeChoice>& choices,
                              const std::vector<SheetRow>& rows);
// 平衡管径 and what it changed: "管段 7：DN25 → DN20，环路 7 不平衡率 23.4 % → 9.8 %".
std::string pipes_balanced_note(const std::vector<BalanceChange>& changes,
                                const std::vector<SheetRow>& rows);
std::string balance_change_text(const BalanceChange& change, const std::vector<SheetRow>& rows);
// The network in words, for the printed calculation: "管段 1 接热源；管段 2 接管段 1；…".
std::string network_in_words(const std::vector<SheetRow>& rows);
// Who chose each DN: the engineer, 自动选管径 or 平衡管径.
std::string pipe_choices_in_words(const std::vector<SheetRow>& rows, float resistance_limit);
// A row whose derived sizing failed.
std::string rows_not_sized(const std::vector<std::size_t>& unsized,
                           const std::vector<SheetRow>& rows);

// An export that failed: the file's reason, or the missing Chinese font.
struct ExportError;
std::string export_problem(const ExportError& error);

// Pasting a block that does not fit.
std::string paste_does_not_fit(std::size_t rows, std::size_t columns, std::size_t rows_left,
                               std::size_t columns_left);
std::string paste_into_read_only(std::string_view header);

// The loop summary's words.
inline constexpr std::string_view critical_mark = "最不利";
inline constexpr std::string_view over_limit_mark = "超限";
// A velocity above the limit for its DN, in the sheet and on paper.
inline constexpr std::string_view speeding_mark = "超速";
// A DN the engineer chose, which 自动选管径 leaves alone.
inline constexpr std::string_view fixed_dn_mark = "指定";
// A DN that 平衡管径 narrowed.
inline constexpr std::string_view balanced_dn_mark = "平衡";
std::string loop_summary_heading(std::string_view limit_percent);
inline constexpr std::string_view no_own_segments_note = "无独立管段";
inline constexpr std::string_view no_segments_note = "没有管段";
std::string segments_in_no_loop(std::string_view segments);

// The system sketch's words: where the water starts, and why nothing is drawn.
inline constexpr std::string_view source_label = "热源";
inline constexpr std::string_view no_sketch_note = "填写各管段的上游，这里即画出系统简图。";
inline constexpr std::string_view faulty_sketch_note = "管网有误，未画系统简图：见环路表下的说明。";

}  // namespace kestrune
