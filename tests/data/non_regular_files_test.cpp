// SPDX-License-Identifier: GPL-3.0-or-later
// FIFOs, links and a file-size limit, which only POSIX systems give a test.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <thread>

#include "child_process.h"
#include "log_keeping.h"
#include "pipe_table.h"
#include "print_line.h"
#include "print_statements.h"
#include "results_log.h"
#include "sheet_file.h"
#include "temp_folder.h"
#include "worked_sizing.h"

namespace kestrune {
namespace {

using testing::ChildLimits;
using testing::read_bytes;
using testing::run_in_child;
using testing::TempWorkingFolder;
using testing::write_bytes;

const std::filesystem::path log_file{results_log_name};

// Runs work in a child that an alarm ends after five seconds: a hang fails, not blocks.
int without_hanging(const std::function<int()>& work) {
    return run_in_child({}, [&work] {
        alarm(5);
        return work();
    });
}

TEST(SpecialFiles, AFifoIsRefusedAtOnceAsTableAndAsLog) {
    TempWorkingFolder folder;
    write_bytes("indata2.txt", "15.75");
    ASSERT_EQ(mkfifo("indata1.txt", 0666), 0);
    ASSERT_EQ(mkfifo("outdata.txt", 0666), 0);
    const int failed = without_hanging([] {
        auto table = load_pipe_table();
        auto recreate = recreate_results_log(log_file);
        auto append = append_results_row(log_file, testing::worked_sizing());
        auto writable = check_log_writable(".");
        int bits = !table && table.error().fault == TableFault::unreadable &&
                           table.error().in_the_way == FileKind::fifo
                       ? 0
                       : 1;
        bits |= recreate && recreate->in_the_way == FileKind::fifo ? 0 : 2;
        bits |= append && append->in_the_way == FileKind::fifo ? 0 : 4;
        bits |= writable && writable->in_the_way == FileKind::fifo ? 0 : 8;
        bits |= !keep_earlier_log(log_file) ? 0 : 16;
        return bits;
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(file_kind(log_file), FileKind::fifo);
}

TEST(SpecialFiles, NothingIsWrittenOrReadThroughALink) {
    // State: outdata.txt links to a missing file, then to an empty one; indata1.txt links
    // to a good table file. Expected: each refused as a link; the targets untouched.
    TempWorkingFolder folder;
    std::filesystem::create_directory("elsewhere");
    std::filesystem::create_symlink("elsewhere/target.txt", log_file);
    auto recreate = recreate_results_log(log_file);
    ASSERT_TRUE(recreate.has_value());
    EXPECT_EQ(recreate->in_the_way, FileKind::link);
    auto append = append_results_row(log_file, testing::worked_sizing());
    ASSERT_TRUE(append.has_value());
    EXPECT_EQ(append->in_the_way, FileKind::link);
    EXPECT_FALSE(std::filesystem::exists("elsewhere/target.txt"));

    write_bytes("elsewhere/target.txt", "");
    EXPECT_TRUE(append_results_row(log_file, testing::worked_sizing()).has_value());
    EXPECT_TRUE(recreate_results_log(log_file).has_value());
    EXPECT_EQ(read_bytes("elsewhere/target.txt"), "");
    EXPECT_EQ(file_kind(log_file), FileKind::link);

    // A link swapped in while the program runs gets no row either.
    std::filesystem::remove(log_file);
    ASSERT_FALSE(recreate_results_log(log_file).has_value());
    std::filesystem::remove(log_file);
    std::filesystem::create_symlink("elsewhere/target.txt", log_file);
    EXPECT_TRUE(append_results_row(log_file, testing::worked_sizing()).has_value());
    EXPECT_EQ(read_bytes("elsewhere/target.txt"), "");

    write_bytes("elsewhere/indata1.txt", "15");
    write_bytes("indata2.txt", "15.75");
    std::filesystem::create_symlink("elsewhere/indata1.txt", "indata1.txt");
    auto table = load_pipe_table();
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(table.error().in_the_way, FileKind::link);
}

TEST(SpecialFiles, AHeaderCutShortLeavesNoLogAndTheNextRowComesWithItsHeader) {
    // State: a file-size limit of 50 bytes while the log is recreated, lifted afterwards;
    // with no log before, and with an earlier run's log. Expected: not a byte of a header
    // anywhere; the earlier log whole; the next append makes the header, then the row.
    for (const bool earlier : {false, true}) {
        TempWorkingFolder folder;
        const std::string before =
            file_line(log_header()) + file_line(result_values(testing::worked_sizing()));
        if (earlier) {
            write_bytes(log_file, before);
        }
        ChildLimits limits;
        limits.largest_file = 50;
        const int code = run_in_child(limits, [] {
            auto error = recreate_results_log(log_file);
            return error && error->step == FileStep::write && error->code == EFBIG ? 0 : 1;
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(read_bytes(log_file), earlier ? before : "");
        EXPECT_EQ(std::filesystem::exists(log_file), earlier);
        EXPECT_FALSE(std::filesystem::exists("outdata.txt.new"));
        if (!earlier) {
            ASSERT_FALSE(append_results_row(log_file, testing::worked_sizing()).has_value());
            EXPECT_EQ(read_bytes(log_file), before);
        }
    }
}

TEST(SpecialFiles, AHugeTableFileCostsNoMemory) {
    TempWorkingFolder folder;
    write_bytes("indata1.txt", "");
    std::filesystem::resize_file("indata1.txt", 4'000'000'000ull);
    write_bytes("indata2.txt", "15.75");
    const int code = run_in_child({}, [] {
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        auto table = load_pipe_table();
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const long grown_kib = after.ru_maxrss - before.ru_maxrss;
        return !table && table.error().fault == TableFault::too_large && grown_kib < 10 * 1024 ? 0
                                                                                               : 1;
    });
    EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

using testing::read_bytes;
using testing::TempWorkingFolder;

TEST(SpecialFiles, ASheetSavedInALoopSurvivesKillsWhole) {
    // A child saves two sheets in turn as fast as it can; it is killed at a random moment,
    // 200 times. Expected: each time the file reads back as one of the two sheets, whole.
    TempWorkingFolder folder;
    SheetData small;
    small.loops = {"1"};
    SheetData large = small;
    SheetRow row;
    row.segment = "1";
    row.note = std::string(3000, 'x');
    for (int i = 0; i < 40; ++i) {
        row.length = i;
        large.rows.push_back(row);
    }
    ASSERT_FALSE(save_sheet(std::string(sheet_file_name), small).has_value());
    const std::string small_text = sheet_text(small);
    const std::string large_text = sheet_text(large);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> moment_us(0, 3000);
    int kills = 0;
    for (int i = 0; i < 200; ++i) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = 0;; ++n) {
                save_sheet(std::string(sheet_file_name), n % 2 == 0 ? large : small);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(moment_us(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        kills += WIFSIGNALED(status) ? 1 : 0;
        const std::string now = read_bytes(sheet_file_name);
        ASSERT_TRUE(now == small_text || now == large_text) << "after kill " << i;
        ASSERT_TRUE(load_sheet(std::string(sheet_file_name)).value().fault == std::nullopt);
    }
    EXPECT_EQ(kills, 200);
}

}  // namespace
}  // namespace kestrune
