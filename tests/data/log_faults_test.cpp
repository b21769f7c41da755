// SPDX-License-Identifier: GPL-3.0-or-later
// The results log and the table files under a failing disk and under things that are not
// regular files: every failure leaves the log whole and says what the file holds.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "log_keeping.h"
#include "pipe_table.h"
#include "platform_files.h"
#include "print_line.h"
#include "print_statements.h"
#include "results_log.h"
#include "temp_folder.h"
#include "worked_sizing.h"

namespace kestrune {
namespace {

using testing::read_bytes;
using testing::TempWorkingFolder;
using testing::write_bytes;

const std::filesystem::path log_file{results_log_name};

std::string header() {
    return file_line(log_header());
}
std::string row() {
    return file_line(result_values(testing::worked_sizing()));
}

TEST(LogFaults, AHeaderThatCannotBePutOnTheDiskLeavesNoLogAndIsToldAsAFlush) {
    // State: no log, then an earlier log. Action: recreate while the disk fails to sync.
    // Expected: a flush failure; no log (the earlier one as it was), nothing left beside it.
    for (const bool earlier : {false, true}) {
        TempWorkingFolder folder;
        if (earlier) {
            write_bytes(log_file, header() + row());
        }
        injected_failures().flush = EIO;
        auto error = recreate_results_log(log_file);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->step, FileStep::flush);
        EXPECT_EQ(error->code, EIO);
        EXPECT_EQ(error->file, "outdata.txt");
        EXPECT_EQ(std::filesystem::exists(log_file), earlier);
        if (earlier) {
            EXPECT_EQ(read_bytes(log_file), header() + row());
        }
        EXPECT_FALSE(std::filesystem::exists("outdata.txt.new"));
    }
}

TEST(LogFaults, AFailedAppendSaysWhetherTheFileIsAsBefore) {
    struct Case {
        const char* name;
        int flush;
        int set_size;
        bool unchanged;
        std::string after;
    };
    for (const Case& c : {Case{"rolled_back", EIO, 0, true, header()},
                          Case{"roll_back_failed", EIO, EIO, false, header() + row()}}) {
        TempWorkingFolder folder;
        ASSERT_FALSE(recreate_results_log(log_file).has_value());
        injected_failures() = InjectedFailures{c.flush, c.set_size};
        auto error = append_results_row(log_file, testing::worked_sizing());
        injected_failures() = {};
        ASSERT_TRUE(error.has_value()) << c.name;
        EXPECT_EQ(error->step, FileStep::flush) << c.name;
        EXPECT_EQ(error->unchanged, c.unchanged) << c.name;
        EXPECT_EQ(read_bytes(log_file), c.after) << c.name;
    }
}

TEST(LogFaults, NoRowIsAppendedToAFileThatDoesNotBeginWithTheHeader) {
    for (const std::string& start : {header().substr(0, 50), std::string("x"), std::string()}) {
        TempWorkingFolder folder;
        write_bytes(log_file, start);
        auto error = append_results_row(log_file, testing::worked_sizing());
        ASSERT_TRUE(error.has_value()) << start;
        EXPECT_EQ(error->step, FileStep::header);
        EXPECT_EQ(read_bytes(log_file), start);
    }
}

TEST(LogFaults, AHugeTableFileIsRefusedByItsSizeWithoutBeingRead) {
    TempWorkingFolder folder;
    {
        std::FILE* f = open_file("indata1.txt", OpenMode::replace);
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    std::error_code ec;
    std::filesystem::resize_file("indata1.txt", 4'000'000'000ull, ec);  // sparse: no disk used
    if (ec) {
        GTEST_SKIP() << "this file system takes no sparse file of 4 GB: " << ec.message();
    }
    write_bytes("indata2.txt", "15.75");
    auto table = load_pipe_table();
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(table.error().fault, TableFault::too_large);
}

}  // namespace
}  // namespace kestrune
