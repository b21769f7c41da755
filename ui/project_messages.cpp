// SPDX-License-Identifier: GPL-3.0-or-later
#include "project_messages.h"

#include <algorithm>

#include "failure_words.h"
#include "folder_lock.h"
#include "messages.h"
#include "utf8.h"

namespace kestrune {
namespace {

constexpr std::string_view stay_note = "\n仍在当前工程中工作，没有改动任何文件。";

}  // namespace

std::string new_project_prompt(std::string_view parent) {
    return "新工程的名称：\n（在 " + std::string(parent) +
           " 中建一个同名文件夹，并复制示例管道表到其中）";
}

std::string project_name_refused(std::string_view name) {
    return "“" + first_characters(name, 40) +
           "”不能作为工程文件夹的名称：名称不能为空，不能含有 \\ / : * ? \" < > | 和控制字符，"
           "也不能以点或空格结尾。";
}

std::string project_exists(std::string_view folder) {
    return "文件夹 " + std::string(folder) +
           " 已经存在。请另取一个名称，或用“打开工程…”（Ctrl+O）打开它。";
}

std::string project_not_made(const FileError& error, std::string_view folder) {
    return "无法建立工程文件夹 " + std::string(folder) + "：" + file_failure_reason(error) + "。" +
           std::string(stay_note);
}

std::string open_project_question(const std::vector<std::filesystem::path>& folders,
                                  const std::vector<std::string>& names) {
    std::string question = "打开哪个工程？最近用过的：\n";
    for (std::size_t i = 0; i < folders.size() && i < names.size(); ++i) {
        question += "\n" + names[i] + "　" + path_text(folders[i]);
    }
    return question + "\n\n或者选择其他文件夹。";
}

std::string not_a_project(const TableError& error, std::string_view folder) {
    return "文件夹 " + std::string(folder) + " 不是可用的工程：" + table_fault(error) +
           "\n可以用“新建工程…”（Ctrl+N）建一个带示例管道表的工程。" + std::string(stay_note);
}

std::string project_busy(std::string_view folder, bool brought_to_front) {
    return "另一个 Kestrune 正在文件夹 " + std::string(folder) + " 中工作" +
           (brought_to_front ? "，它的窗口已提到最前面" : "") +
           "。\n同一工程只能由一个 Kestrune 打开，以免两个程序写同一个结果文件。" +
           std::string(stay_note);
}

std::string project_lock_in_the_way(std::string_view folder) {
    return "文件夹 " + std::string(folder) + " 中的 " + std::string(folder_lock_name) +
           " 不是本程序能锁定的普通文件（可能是符号链接、文件夹，或属于别的用户）。" +
           std::string(stay_note);
}

std::string project_details_not_kept(const FileError& error) {
    return "无法保存工程信息（project.txt）：" + file_failure_reason(error) + "。";
}

std::string project_not_entered(std::string_view folder) {
    return "无法进入文件夹 " + std::string(folder) + "：它不存在，或不能打开。";
}

std::string already_in_project(std::string_view name) {
    return "已经在工程“" + std::string(name) + "”中。";
}

bool usable_folder_name(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

}  // namespace kestrune
