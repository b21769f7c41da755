// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kestrune {
namespace {

TEST(FileReasons, AreToldInChineseWithTheSystemsWordsAfter) {
    struct Case {
        int code;
        const char* words;
    };
    for (const Case& c :
         {Case{EACCES, "没有权限"}, Case{EPERM, "没有权限"}, Case{EROFS, "磁盘或文件夹是只读的"},
          Case{ENOSPC, "磁盘已满或文件太大"}, Case{EFBIG, "磁盘已满或文件太大"},
          Case{ENOENT, "找不到该文件或文件夹"}, Case{EISDIR, "有同名的文件夹占用了这个文件名"},
          Case{EBUSY, "文件正被另一个程序使用"}, Case{EIO, "系统报告错误"}}) {
        const FileError error = file_error("outdata.txt", c.code);
        EXPECT_EQ(
            log_append_problem(error),
            "无法把本次结果写入“outdata.txt”：" + std::string(c.words) + "（" +
                system_reason(c.code) +
                "）。\n文件保持原样，本次结果只显示在结果窗口中。请解决此问题后再计算一次本管段。")
            << c.code;
    }
    // Without the system's words, the Chinese ones stand alone.
    const std::string expected = "无法建立结果文件“outdata.txt”：磁盘已满或文件太大。";
    EXPECT_EQ(log_recreate_problem(FileError{"outdata.txt", "", ENOSPC}, "D:\\设计")
                  .substr(0, expected.size()),
              expected);
}

}  // namespace
}  // namespace kestrune
