// SPDX-License-Identifier: GPL-3.0-or-later
// A read-only folder or log, for a user to whom permissions apply: the work runs in a child
// process as "nobody" when the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "child_process.h"
#include "program_run.h"

namespace kestrune::testing {
namespace {

// Runs work in a child without privileges; its exit code is 0 when every check held.
int unprivileged(const std::function<int()>& work) {
    ChildLimits limits;
    limits.drop_privileges = true;
    return run_in_child(limits, work);
}

TEST(ReadOnlyFolder, AtStartIsReportedAndSizingStillShows) {
    // State: a folder with the table but no write permission. Action: start, size.
    // Expected: both times told why, the result shown, nothing created.
    ProgramRun run;
    ASSERT_EQ(chmod(run.folder.path().c_str(), 0555), 0);
    const int failed = unprivileged([] {
        std::string at_start, at_sizing;
        RecordingToolkit toolkit;
        frmcompute window(toolkit);
        toolkit.expect_message(&at_start);
        int bits = window.start() ? 0 : 1;
        toolkit.set_typed(ControlId::Text1, "10000");
        window.text_changed(ControlId::Text1);
        toolkit.answer_input("25");
        toolkit.expect_message(&at_sizing);
        window.clicked(ControlId::cmdok);
        bits |= at_start.find("Permission denied") == std::string::npos ? 2 : 0;
        bits |= at_sizing.find("Permission denied") == std::string::npos ? 4 : 0;
        bits |= toolkit.window(PrintWindowId::frmdisplay).visible ? 0 : 8;
        bits |= std::filesystem::exists("outdata.txt") ? 16 : 0;
        bits |= toolkit.still_expected() != 0 ? 32 : 0;
        return bits;
    });
    EXPECT_EQ(failed, 0);
}

TEST(ReadOnlyFolder, ReadOnlyLogIsReportedAndLeftAsItWas) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("10000");
    run.toolkit.answer_input("25");
    run.click(ControlId::cmdok);
    const std::string before = run.log();
    ASSERT_EQ(chmod("outdata.txt", 0444), 0);
    const int failed = unprivileged([&run] {
        std::string message;
        run.toolkit.answer_input("24");
        run.toolkit.expect_message(&message);
        run.click(ControlId::cmdok);
        return message.find("Permission denied") == std::string::npos ? 1 : 0;
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(run.log(), before);
}

}  // namespace
}  // namespace kestrune::testing
