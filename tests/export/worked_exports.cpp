// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the worked sheet, with enough segments for a second page, as 计算表 and 计算书 into the
// folder named on the command line: the exports of the Windows program, checked on Linux with
// LibreOffice and poppler, which Windows lacks.
#include <cstdio>
#include <filesystem>

#include "chinese_font.h"
#include "sheet_export.h"
#include "sheet_messages.h"
#include "worked_sheet.h"

int main(int argc, char* argv[]) {
    using namespace kestrune;
    if (argc != 2) {
        std::fputs("usage: worked_exports FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    const CalcSheet sheet = testing::worked_sheet(60);
    const ExportStamp stamp{"管网", "张工", "2026-12-08 09:30", "Kestrune 0.1.0"};
    auto error = export_xlsx(folder / "worked.xlsx", sheet, testing::shipped_fittings(), stamp);
    if (!error) {
        error = export_pdf(folder / "worked.pdf", sheet, stamp, testing::shipped_fittings());
    }
    if (error) {
        std::fputs((export_problem(*error) + "\n").c_str(), stderr);
        return 1;
    }
    // The font file the 计算书 embeds, for the check to confirm.
    std::printf("font %s\n", chinese_font()->file.filename().string().c_str());
    return 0;
}
