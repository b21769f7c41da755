// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <memory>
#include <system_error>

#include "export_module.h"
#include "file_error.h"
#include "module_entry.h"

namespace kestrune {
namespace {

// The module's exports once loaded; it stays loaded for the program's whole run.
struct LoadedExports {
    std::filesystem::path module;
    std::optional<SheetExports> exports;

    // The exports, or why the module could not be loaded.
    std::optional<ExportError> load() {
        if (exports) {
            return std::nullopt;
        }
        auto* fill =
            reinterpret_cast<void (*)(SheetExports*)>(module_entry(module, export_module_entry));
        if (fill == nullptr) {
            std::error_code ignored;
            const int e = std::filesystem::exists(module, ignored) ? ENOEXEC : ENOENT;
            return ExportError{file_error(module, e), false, {}};
        }
        exports.emplace();
        fill(&*exports);
        return std::nullopt;
    }
};

}  // namespace

SheetExports module_exports(std::filesystem::path module) {
    auto loaded = std::make_shared<LoadedExports>();
    loaded->module = std::move(module);
    return {
        [loaded](const std::filesystem::path& file, const CalcSheet& sheet,
                 const FittingTable& fittings,
                 const ExportStamp& stamp) -> std::optional<ExportError> {
            if (auto failed = loaded->load()) {
                return failed;
            }
            return loaded->exports->workbook(file, sheet, fittings, stamp);
        },
        [loaded](const std::filesystem::path& file, const CalcSheet& sheet,
                 const FittingTable& fittings,
                 const ExportStamp& stamp) -> std::optional<ExportError> {
            if (auto failed = loaded->load()) {
                return failed;
            }
            return loaded->exports->report(file, sheet, fittings, stamp);
        },
        [loaded](PaperReport& paper, const CalcSheet& sheet, const FittingTable& fittings,
                 const ExportStamp& stamp) -> std::optional<ExportError> {
            if (auto failed = loaded->load()) {
                return failed;
            }
            return loaded->exports->paper(paper, sheet, fittings, stamp);
        },
    };
}

std::filesystem::path module_path(const std::filesystem::path& program_folder,
                                  const std::filesystem::path& relative, const char* file) {
    std::error_code ignored;
    const std::filesystem::path beside = program_folder / file;
    if (std::filesystem::exists(beside, ignored)) {
        return beside;
    }
    return (program_folder / relative / file).lexically_normal();
}

}  // namespace kestrune
