// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "temp_folder.h"

namespace kestrune {
namespace {

using testing::read_bytes;
using testing::TempWorkingFolder;

// Writes bytes through open_file in the given mode and puts them on the disk.
int write_through(const std::filesystem::path& file, OpenMode mode, const std::string& bytes) {
    std::FILE* f = open_file(file, mode);
    if (f == nullptr) {
        return errno;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fflush(f);
    const int synced = flush_to_disk(f);
    std::fclose(f);
    return synced;
}

TEST(PlatformFiles, LineEndsAndBytesPassUntranslatedInEveryMode) {
    TempWorkingFolder folder;
    const std::filesystem::path file = std::filesystem::current_path() / u8"管网 设计.txt";
    ASSERT_EQ(write_through(file, OpenMode::replace, "a\r\nb\nc\x1A\xD3\xC3"), 0);
    ASSERT_EQ(write_through(file, OpenMode::append, "\r\n\n"), 0);
    EXPECT_EQ(read_bytes(file), "a\r\nb\nc\x1A\xD3\xC3\r\n\n");

    std::FILE* f = open_file(file, OpenMode::read);
    ASSERT_NE(f, nullptr);
    char buf[32];
    const std::size_t got = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, got), "a\r\nb\nc\x1A\xD3\xC3\r\n\n");  // a Ctrl-Z does not end it

    ASSERT_EQ(write_through(file, OpenMode::replace, "x"), 0);
    EXPECT_EQ(read_bytes(file), "x");
}

TEST(PlatformFiles, MissingFileIsNotCreatedByReadingAndSaysWhy) {
    TempWorkingFolder folder;
    errno = 0;
    EXPECT_EQ(open_file(u8"没有.txt", OpenMode::read), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(std::filesystem::exists(u8"没有.txt"));
}

}  // namespace
}  // namespace kestrune
