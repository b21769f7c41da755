// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet file under kill -9: a program killed at any moment while it saves leaves a sheet
// that reads, holding the state before or after its last save.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "sheet_file.h"
#include "temp_folder.h"
#include "worked_sizing.h"

namespace kestrune {
namespace {

const std::filesystem::path sheet{sheet_file_name};

// In a child: a row more, saved, and the count of rows told through the pipe, over and over.
[[noreturn]] void keep_saving(int told) {
    auto loaded = load_sheet(sheet);
    SheetData data = loaded ? loaded.value().sheet : SheetData{};
    SheetRow row = sheet_row_of(testing::worked_sizing());
    for (int more = 0; more < 400; ++more) {
        row.segment = std::to_string(data.rows.size() + 1);
        row.note = std::string(data.rows.size() % 50, 'x');  // lines of many lengths
        data.rows.push_back(row);
        if (save_sheet(sheet, data)) {
            _exit(2);
        }
        const std::size_t rows = data.rows.size();
        if (write(told, &rows, sizeof rows) != static_cast<ssize_t>(sizeof rows)) {
            _exit(3);
        }
    }
    _exit(0);
}

TEST(SheetKills, TwoHundredKillsWhileSavingEachLeaveTheSheetBeforeOrAfterTheLastSave) {
    testing::TempWorkingFolder folder;
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> moment(0, 4000);  // µs after the start
    std::size_t known = 0;                               // rows the file held after the last round
    int killed_while_running = 0;
    for (int round = 0; round < 200; ++round) {
        int pipe_ends[2];
        ASSERT_EQ(pipe(pipe_ends), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipe_ends[0]);
            keep_saving(pipe_ends[1]);
        }
        close(pipe_ends[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        killed_while_running += WIFSIGNALED(status) ? 1 : 0;
        std::size_t told = known;
        for (std::size_t rows = 0; read(pipe_ends[0], &rows, sizeof rows) == sizeof rows;) {
            told = rows;
        }
        close(pipe_ends[0]);
        auto loaded = load_sheet(sheet);
        ASSERT_TRUE(loaded.has_value()) << "round " << round;
        ASSERT_FALSE(loaded.value().fault.has_value()) << "round " << round;
        ASSERT_FALSE(loaded.value().set_aside.has_value()) << "round " << round;
        // The last save told, or the one after it, done but not yet told.
        const std::size_t rows = loaded.value().sheet.rows.size();
        ASSERT_TRUE(rows == told || rows == told + 1)
            << "round " << round << ": " << rows << " rows, " << told << " told";
        known = rows;
    }
    EXPECT_GT(killed_while_running, 150);  // most kills met a program at work
}

}  // namespace
}  // namespace kestrune
