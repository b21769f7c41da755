// SPDX-License-Identifier: GPL-3.0-or-later
// Where an export is written first, and how it takes its file's place.
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform_files.h"
#include "sheet_export.h"

namespace kestrune {

std::filesystem::path export_partner(const std::filesystem::path& file) {
    return file.parent_path() / ("kestrune-export" + file.extension().string() + ".new");
}

std::optional<ExportError> put_in_place(const std::filesystem::path& partner,
                                        const std::filesystem::path& file, int write_failure) {
    std::error_code ignored;
    if (write_failure == 0) {
        // On the disk before it takes the file's place, as the sheet is: after a power cut
        // the earlier export or the whole new one, never an empty file.
        FileKind in_the_way = FileKind::regular;
        std::FILE* written = open_file(partner, OpenMode::append, &in_the_way);
        write_failure = written == nullptr ? (errno != 0 ? errno : EIO) : flush_to_disk(written);
        if (written != nullptr) {
            std::fclose(written);
        }
    }
    if (write_failure != 0) {
        std::filesystem::remove(partner, ignored);
        return ExportError{file_error(file, write_failure, FileStep::write), false, {}};
    }
    if (int failure = replace_file(partner, file); failure != 0) {
        std::filesystem::remove(partner, ignored);
        return ExportError{file_error(file, failure), false, {}};
    }
    return std::nullopt;
}

SheetExports sheet_exports() {
    return {
        [](const std::filesystem::path& file, const CalcSheet& sheet, const FittingTable& fittings,
           const ExportStamp& stamp) { return export_xlsx(file, sheet, fittings, stamp); },
        [](const std::filesystem::path& file, const CalcSheet& sheet, const FittingTable& fittings,
           const ExportStamp& stamp) { return export_pdf(file, sheet, stamp, fittings); },
        [](PaperReport& paper, const CalcSheet& sheet, const FittingTable& fittings,
           const ExportStamp& stamp) { return paper_report(paper, sheet, stamp, fittings); }};
}

}  // namespace kestrune
