// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux program's exports come from a module loaded when the engineer first exports: the
// module writes what the linked exports write, and a module that is not there is named.
#include "export_module.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "file_error.h"
#include "network_sheet.h"
#include "sheet_export.h"
#include "temp_folder.h"
#include "worked_sheet.h"

namespace kestrune::testing {
namespace {

std::string bytes_of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ExportModule, TheLoadedModuleWritesTheSameWorkbookAsTheLinkedExports) {
    TempWorkingFolder folder;
    SheetData data = near_and_far();
    settle_network(data);
    CalcSheet sheet;
    sheet.reset(data);
    const ExportStamp stamp{"工程", "", "2026-12-08 18:00", "Kestrune"};
    const SheetExports loaded = module_exports(KESTRUNE_EXPORT_MODULE);
    ASSERT_FALSE(loaded.workbook("loaded.xlsx", sheet, shipped_fittings(), stamp));
    ASSERT_FALSE(sheet_exports().workbook("linked.xlsx", sheet, shipped_fittings(), stamp));
    EXPECT_EQ(bytes_of("loaded.xlsx"), bytes_of("linked.xlsx"));
    // Loaded once, it serves the next export as well, a second later: the workbook is dated by
    // its stamp, not by the clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_FALSE(loaded.workbook("again.xlsx", sheet, shipped_fittings(), stamp));
    EXPECT_EQ(bytes_of("again.xlsx"), bytes_of("linked.xlsx"));
}

TEST(ExportModule, AMissingModuleIsNamedAndNothingIsWritten) {
    TempWorkingFolder folder;
    CalcSheet sheet;
    const SheetExports loaded = module_exports("no-such-folder/libkestrune-export.so");
    const auto failed = loaded.report("计算书.pdf", sheet, {}, {"工程", "", "2026-12-08 18:00", "K"});
    ASSERT_TRUE(failed && failed->file);
    EXPECT_EQ(failed->file->code, ENOENT);
    EXPECT_NE(failed->file->file.find("libkestrune-export.so"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("计算书.pdf"));
}

TEST(ExportModule, TheModuleIsBesideTheProgramInABuildElseInItsLibraryFolder) {
    TempWorkingFolder folder;
    std::filesystem::create_directories("usr/bin");
    EXPECT_EQ(export_module_path("usr/bin", "../lib/x86_64-linux-gnu/kestrune"),
              std::filesystem::path("usr/lib/x86_64-linux-gnu/kestrune/libkestrune-export.so"));
    std::ofstream("usr/bin/libkestrune-export.so").put('\0');
    EXPECT_EQ(export_module_path("usr/bin", "../lib/x86_64-linux-gnu/kestrune"),
              std::filesystem::path("usr/bin/libkestrune-export.so"));
}

}  // namespace
}  // namespace kestrune::testing
