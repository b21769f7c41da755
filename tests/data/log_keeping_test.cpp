// SPDX-License-Identifier: GPL-3.0-or-later
#include "log_keeping.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform_files.h"
#include "results_log.h"
#include "temp_folder.h"
#ifndef _WIN32
#include <sys/stat.h>

#include "child_process.h"
#endif

namespace kestrune {
namespace {

using testing::read_bytes;
using testing::TempWorkingFolder;
using testing::write_bytes;

const std::filesystem::path log_file = "outdata.txt";
const std::string three_rows =
    " 10000         12000         412.71        25            .329          101.17 \r\n"
    " 10000         12000         412.71        20            .329          101.17 \r\n"
    " 5000          6000          206.36        15            .299          99.54 \r\n";

std::string header() {
    TempWorkingFolder scratch;
    recreate_results_log(log_file);
    return read_bytes(log_file);
}

TEST(KeptLogName, TellsWhenTheLogWasWritten) {
    TempWorkingFolder folder;
    std::tm written{};
    written.tm_year = 2026 - 1900;
    written.tm_mon = 11;
    written.tm_mday = 7;
    written.tm_hour = 9;
    written.tm_min = 5;
    EXPECT_EQ(kept_log_name(log_file, written), "outdata-20261207-0905.txt");
    write_bytes("outdata-20261207-0905.txt", "x");
    write_bytes("outdata-20261207-0905-2.txt", "x");
    EXPECT_EQ(kept_log_name(log_file, written), "outdata-20261207-0905-3.txt");
}

TEST(KeepEarlierLog, NothingToKeepWithoutRows) {
    TempWorkingFolder folder;
    EXPECT_FALSE(keep_earlier_log(log_file).has_value());  // no log at all
    write_bytes(log_file, "");
    EXPECT_FALSE(keep_earlier_log(log_file).has_value());
    ASSERT_FALSE(recreate_results_log(log_file).has_value());
    EXPECT_FALSE(keep_earlier_log(log_file).has_value());
    EXPECT_EQ(read_bytes(log_file), header());
}

TEST(KeepEarlierLog, RowsAreKeptUnderTheTimeOfTheirLastWrite) {
    TempWorkingFolder folder;
    const std::string before = header() + three_rows;
    write_bytes(log_file, before);
    const auto when = std::chrono::file_clock::now() - std::chrono::hours(30);
    std::filesystem::last_write_time(log_file, when);
    const std::filesystem::path expected = kept_log_name(
        log_file, local_time(std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(
                      std::filesystem::last_write_time(log_file)))));
    write_bytes(expected, "an earlier kept log");  // never overwritten

    auto kept = keep_earlier_log(log_file);
    ASSERT_TRUE(kept.has_value());
    ASSERT_TRUE(kept->has_value()) << kept->error().reason;
    EXPECT_NE(kept->value(), expected);
    EXPECT_EQ(kept->value().string().substr(0, expected.stem().string().size()),
              expected.stem().string());
    EXPECT_EQ(read_bytes(kept->value()), before);
    EXPECT_EQ(read_bytes(expected), "an earlier kept log");
    EXPECT_FALSE(std::filesystem::exists(log_file));
}

TEST(KeepEarlierLog, AnythingButTheHeaderIsKept) {
    TempWorkingFolder folder;
    write_bytes(log_file, header().substr(0, 20));  // a header cut short is no empty log
    auto kept = keep_earlier_log(log_file);
    ASSERT_TRUE(kept.has_value() && kept->has_value());
    EXPECT_FALSE(std::filesystem::exists(log_file));
}

#ifndef _WIN32
TEST(KeepEarlierLog, ReadOnlyFolderIsReportedAndTheLogLeftAsItWas) {
    TempWorkingFolder folder;
    write_bytes(log_file, header() + three_rows);
    ASSERT_EQ(chmod(".", 0555), 0);
    testing::ChildLimits limits;
    limits.drop_privileges = true;
    const int code = testing::run_in_child(limits, [] {
        auto kept = keep_earlier_log(log_file);
        return kept && !kept->has_value() && kept->error().code == EACCES ? 0 : 1;
    });
    chmod(".", 0755);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(read_bytes(log_file), header() + three_rows);
}
#endif

}  // namespace
}  // namespace kestrune
