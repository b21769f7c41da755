// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The calculation sheet as a spreadsheet with live formulas (.xlsx) and as a printed
// calculation (计算书, PDF), both from the one sheet and its one description.

#include <filesystem>
#include <optional>
#include <string>

#include "calc_sheet.h"
#include "fitting_table.h"
#include "sheet_exports.h"

namespace kestrune {

// The sheet to file as an Excel workbook: 水力计算表 (the columns, with R·L, ρv²/2, Z and ΔP as
// formulas over the row's cells and its density), 环路 (each loop's ΔP, the most unfavourable
// loop, imbalance, surplus and Kv as formulas, the limit as a cell) and 参数 (each row's
// parameters, the coefficient table, program and date). cached_results: the program's own
// values stand in the formula cells until a spreadsheet recalculates them. Written whole,
// or the earlier file stays as it was.
std::optional<ExportError> export_xlsx(const std::filesystem::path& file, const CalcSheet& sheet,
                                       const FittingTable& fittings, const ExportStamp& stamp,
                                       bool cached_results = true);

// The sheet to file as a printed calculation (计算书), A4 landscape: a title block, the
// formulas with symbols and units, the parameters, the sheet paged with its header repeated,
// the coefficients used (each fitting with its count and its ξ from the table given), the
// loops with their segments, their 合计 and the imbalance checks, and every flag and warning
// in words; 第 x 页 共 y 页 under each page. The Chinese font is embedded (only the glyphs
// used); without one, or with one that lacks a glyph, no file is written. Written whole, or
// the earlier file stays as it was.
std::optional<ExportError> export_pdf(const std::filesystem::path& file, const CalcSheet& sheet,
                                      const ExportStamp& stamp,
                                      const FittingTable& fittings = FittingTable{});

// The same 计算书 as pages of marks, for a printer: the pages export_pdf writes, in the font it
// would embed; refused as it would be.
std::optional<ExportError> paper_report(PaperReport& paper, const CalcSheet& sheet,
                                        const ExportStamp& stamp, const FittingTable& fittings);

// Where an export is written before it takes its file's place: beside it, under a name in
// plain ASCII, which the libraries' char* paths reach on every system.
std::filesystem::path export_partner(const std::filesystem::path& file);

// The last step of both exports: the partner written (write_failure 0) is renamed over the
// file; on any failure it goes, and the file stays as it was.
std::optional<ExportError> put_in_place(const std::filesystem::path& partner,
                                        const std::filesystem::path& file, int write_failure);

// The exports, for the sheet's window.
SheetExports sheet_exports();

}  // namespace kestrune
