#include "results_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "child_process.h"
#include "print_line.h"
#include "print_statements.h"
#include "temp_folder.h"

namespace kestrune {
namespace {

using testing::ChildLimits;
using testing::read_bytes;
using testing::run_in_child;
using testing::TempWorkingFolder;
using testing::write_bytes;

design_state sized(float q_user, std::int16_t dn) {
    design_state s;
    s.q_user = q_user;
    s.q_design = q_user * 1.2f;
    s.g_design = 412.71f;
    s.dn = dn;
    s.v = 0.329f;
    s.r = 101.17f;
    return s;
}

const std::filesystem::path log_file{results_log_name};

TEST(ResultsLog, RecreatingTwiceLeavesTheHeaderOnly) {
    TempWorkingFolder folder;
    ASSERT_FALSE(recreate_results_log(log_file).has_value());
    ASSERT_FALSE(append_results_row(log_file, sized(10000, 25)).has_value());
    ASSERT_FALSE(recreate_results_log(log_file).has_value());
    EXPECT_EQ(read_bytes(log_file), file_line(log_header()));
}

TEST(ResultsLog, RowsFollowTheHeaderInOrder) {
    TempWorkingFolder folder;
    ASSERT_FALSE(recreate_results_log(log_file).has_value());
    for (std::int16_t dn : {20, 25, 32}) {
        ASSERT_FALSE(append_results_row(log_file, sized(10000, dn)).has_value());
    }
    EXPECT_EQ(read_bytes(log_file), file_line(log_header()) +
                                        file_line(result_values(sized(10000, 20))) +
                                        file_line(result_values(sized(10000, 25))) +
                                        file_line(result_values(sized(10000, 32))));
}

TEST(ResultsLog, AppendAfterDeletionCreatesTheFileWithoutHeader) {
    TempWorkingFolder folder;
    ASSERT_FALSE(recreate_results_log(log_file).has_value());
    std::filesystem::remove(log_file);
    ASSERT_FALSE(append_results_row(log_file, sized(10000, 25)).has_value());
    EXPECT_EQ(read_bytes(log_file), file_line(result_values(sized(10000, 25))));
}

TEST(ResultsLog, NameTakenByAFolderIsReportedWithTheSystemsReason) {
    TempWorkingFolder folder;
    std::filesystem::create_directory(log_file);
    auto recreate = recreate_results_log(log_file);
    ASSERT_TRUE(recreate.has_value());
    EXPECT_EQ(recreate->file, "outdata.txt");
    EXPECT_EQ(recreate->reason, "Is a directory");
    auto append = append_results_row(log_file, sized(10000, 25));
    ASSERT_TRUE(append.has_value());
    EXPECT_EQ(append->reason, "Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(log_file));
}

TEST(ResultsLog, FullDiskLeavesTheFileExactlyAsBefore) {
    TempWorkingFolder folder;
    ASSERT_FALSE(recreate_results_log(log_file).has_value());
    ASSERT_FALSE(append_results_row(log_file, sized(10000, 25)).has_value());
    const std::string before = read_bytes(log_file);

    // Room for ten more bytes only: the row would be cut in the middle.
    ChildLimits limits;
    limits.largest_file = static_cast<off_t>(before.size() + 10);
    int code = run_in_child(limits, [] {
        auto error = append_results_row(log_file, sized(20000, 32));
        return !error ? 0 : error->reason == "File too large" ? 1 : 2;
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(read_bytes(log_file), before);

    // A missing file that cannot take a whole row is not left behind half written.
    std::filesystem::remove(log_file);
    limits.largest_file = 10;
    code = run_in_child(limits, [] { return append_results_row(log_file, sized(1, 15)) ? 1 : 0; });
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(std::filesystem::exists(log_file));
}

TEST(ResultsLog, ReadOnlyFolderAndFileAreReportedAndLeftAlone) {
    TempWorkingFolder folder;
    ASSERT_FALSE(recreate_results_log(log_file).has_value());
    const std::string before = read_bytes(log_file);
    ASSERT_EQ(chmod(log_file.c_str(), 0444), 0);
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);

    ChildLimits limits;
    limits.drop_privileges = true;  // root would write anyway
    int code = run_in_child(limits, [] {
        auto append = append_results_row(log_file, sized(10000, 25));
        auto recreate = recreate_results_log(log_file);
        auto fresh = recreate_results_log("other.txt");
        bool all_refused = append && recreate && fresh && append->reason == "Permission denied" &&
                           fresh->reason == "Permission denied";
        return all_refused ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(read_bytes(log_file), before);
    EXPECT_FALSE(std::filesystem::exists("other.txt"));
}

}  // namespace
}  // namespace kestrune
