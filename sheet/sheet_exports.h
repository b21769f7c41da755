// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What an export of the sheet is given and what it answers, for the windows that offer the
// exports without depending on the libraries that write them.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "calc_sheet.h"
#include "file_error.h"
#include "fitting_table.h"
#include "paper_pages.h"

namespace kestrune {

// What the exports say about where and when they were made.
struct ExportStamp {
    std::string project;   // 工程名称: as the engineer gave it, else the folder's name
    std::string designer;  // 设计人; may be empty
    std::string date;      // YYYY-MM-DD HH:MM, local time
    std::string program;   // "Kestrune 0.1.0"
};

// Why an export failed: the file (see FileError), or, for the PDF, no Chinese font.
struct ExportError {
    std::optional<FileError> file;
    bool no_font = false;        // no Chinese font on this system
    std::string missing_glyphs;  // characters the font lacks, when it lacks any
};

// The sheet to a file: nothing when written, else why not.
using WorkbookExport = std::function<std::optional<ExportError>(
    const std::filesystem::path&, const CalcSheet&, const FittingTable&, const ExportStamp&)>;
using ReportExport = std::function<std::optional<ExportError>(
    const std::filesystem::path&, const CalcSheet&, const FittingTable&, const ExportStamp&)>;

// The 计算书 laid out for a printer into the pages given.
using PaperExport = std::function<std::optional<ExportError>(
    PaperReport&, const CalcSheet&, const FittingTable&, const ExportStamp&)>;

struct SheetExports {
    WorkbookExport workbook;  // 导出 Excel
    ReportExport report;      // 计算书 PDF
    PaperExport paper;        // 打印…
};

}  // namespace kestrune
