// SPDX-License-Identifier: GPL-3.0-or-later
#include "failure_words.h"

#include <cerrno>

#include "number_text.h"

namespace kestrune {
namespace {

// The system's reason for a file failure in the engineer's words, its own after them.
std::string reason_text(int code, const std::string& system_words) {
    std::string_view words;
    switch (code) {
        case EACCES:
        case EPERM:
            words = "没有权限";
            break;
        case EROFS:
            words = "磁盘或文件夹是只读的";
            break;
        case ENOSPC:
        case EFBIG:
            words = "磁盘已满或文件太大";
            break;
        case ENOENT:
            words = "找不到该文件或文件夹";
            break;
        case EISDIR:
            words = "有同名的文件夹占用了这个文件名";
            break;
        case ENOTDIR:
            words = "路径中有同名的文件占用了文件夹名";
            break;
        case EBUSY:
#ifdef ETXTBSY
        case ETXTBSY:
#endif
            words = "文件正被另一个程序使用";
            break;
        default:
            words = "系统报告错误";
            break;
    }
    return system_words.empty() ? std::string(words)
                                : std::string(words) + "（" + system_words + "）";
}

// What stands where a file should be, when it is not a regular file.
std::string_view kind_words(FileKind kind) {
    switch (kind) {
        case FileKind::folder:
            return "有同名的文件夹占用了这个文件名";
        case FileKind::link:
            return "这里是一个符号链接，不是普通文件；程序不经链接读写文件";
        case FileKind::fifo:
            return "这里是一个命名管道（FIFO），不是普通文件";
        case FileKind::device:
            return "这里是一个设备，不是普通文件";
        case FileKind::socket:
            return "这里是一个套接字，不是普通文件";
        case FileKind::missing:
        case FileKind::regular:
        case FileKind::other:
            break;
    }
    return "这里不是普通文件";
}

}  // namespace

std::string_view arith_error_words(ArithError error) {
    switch (error) {
        case ArithError::division_by_zero:
            return "除数为零";
        case ArithError::overflow:
            return "数值溢出";
        case ArithError::invalid_operation:
            return "无效运算";
    }
    return {};
}

std::string failure_reason(FileKind in_the_way, int code, const std::string& system_words) {
    return in_the_way != FileKind::regular ? std::string(kind_words(in_the_way))
                                           : reason_text(code, system_words);
}

std::string file_failure_reason(const FileError& error) {
    return failure_reason(error.in_the_way, error.code, error.reason);
}

std::string sizing_problem(const SizingFault& fault, const design_state& s) {
    std::string what;
    if (s.g_design == 0.0f) {
        what = "还没有输入用户负荷（设计流量为 0），无法计算。请先输入用户负荷。";
    } else if (s.d == 0.0f) {
        what = "公称直径 " + std::to_string(s.dn) +
               " 的管道内径为 0，无法计算。请检查管道表文件 indata2.txt。";
    } else if (s.g_design < 0.0f || s.d < 0.0f) {
        what = "用户负荷或管道内径为负数，无法计算。请输入正的用户负荷。";
    } else {
        const std::string_view step = fault.step == SizingStep::velocity          ? "流速"
                                      : fault.step == SizingStep::friction_factor ? "摩擦系数"
                                                                                  : "比摩阻";
        what = "计算" + std::string(step) + "时" + std::string(arith_error_words(fault.error)) +
               "。请检查密度（" + float_box_form(s.rho) + "）和粘滞系数（" + float_box_form(s.nu) +
               "）的设置。";
    }
    return what + "\n本次计算没有记入结果文件。";
}

}  // namespace kestrune
