// SPDX-License-Identifier: GPL-3.0-or-later
// One writer per folder, whatever stands where the lock file should be: a folder, a read-only
// file, and where the system gives a test them, links, another user and a second process.
#include "folder_lock.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>

#ifndef _WIN32
#include "child_process.h"
#endif
#include "temp_folder.h"

namespace kestrune::testing {
namespace {

const std::filesystem::path lock_file{folder_lock_name};

TEST(FolderLock, AFolderOrALinkInItsPlaceStandsInTheWay) {
    TempWorkingFolder folder;
    FolderLock lock;
    std::filesystem::create_directory(lock_file);
    EXPECT_EQ(lock.take(".", "one"), FolderLock::Outcome::in_the_way);
#ifndef _WIN32
    std::filesystem::remove(lock_file);
    write_bytes("elsewhere", "");
    std::filesystem::create_symlink("elsewhere", lock_file);
    EXPECT_EQ(lock.take(".", "one"), FolderLock::Outcome::in_the_way);
#endif
}

TEST(FolderLock, AReadOnlyLockFileLocksAllTheSame) {
    TempWorkingFolder folder;
    write_bytes(lock_file, "");
    std::filesystem::permissions(lock_file, std::filesystem::perms::owner_read |
                                                std::filesystem::perms::group_read |
                                                std::filesystem::perms::others_read);
    FolderLock first;
    ASSERT_EQ(first.take(".", "one"), FolderLock::Outcome::taken);
    // flock holds between two opens of one process, and against another process.
    FolderLock second;
    EXPECT_EQ(second.take(".", "two"), FolderLock::Outcome::held);
#ifndef _WIN32
    EXPECT_EQ(run_in_child({},
                           [] {
                               FolderLock other;
                               return other.take(".", "three") == FolderLock::Outcome::held ? 0 : 1;
                           }),
              0);
#endif
}

#ifndef _WIN32
TEST(FolderLock, AnotherUsersLockFileIsHeldOrStandsInTheWayNeverIgnored) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root, to be another user in a child";
    }
    TempWorkingFolder folder;
    std::filesystem::permissions(".", std::filesystem::perms::all);  // nobody may come in
    write_bytes(lock_file, "");
    std::filesystem::permissions(
        lock_file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                       std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    FolderLock holder;
    ASSERT_EQ(holder.take(".", "root"), FolderLock::Outcome::taken);
    const auto as_nobody = [] {
        ChildLimits limits;
        limits.drop_privileges = true;
        return run_in_child(limits, [] {
            FolderLock other;
            return static_cast<int>(other.take(".", "nobody"));
        });
    };
    // Readable by nobody: locked against it; unreadable: in its way, never waved through.
    EXPECT_EQ(as_nobody(), static_cast<int>(FolderLock::Outcome::held));
    std::filesystem::permissions(
        lock_file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(as_nobody(), static_cast<int>(FolderLock::Outcome::in_the_way));
}
#endif

}  // namespace
}  // namespace kestrune::testing
