// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_dialogs.h"

#include <string>

#include "sheet_file.h"
#include "sheet_help.h"

namespace kestrune {

InputRequest limit_request(std::string_view offered) {
    return {"并联环路不平衡率限值（%）：", "不平衡率限值", std::string(offered)};
}

InputRequest resistance_limit_request(std::string_view offered) {
    return {"自动选管径的比摩阻上限（Pa/m，常用 60～120）：", "比摩阻上限", std::string(offered)};
}

InputRequest available_pressure_request(std::string_view offered) {
    return {"热力入口的资用压力（Pa），空着表示不给：", "入口资用压力", std::string(offered)};
}

std::string export_over_own_file(std::string_view name) {
    return "“" + std::string(name) +
           "”是 Kestrune 在工作文件夹中自己使用的文件，导出的文件不能替换它，没有写出。"
           "请换一个文件名再导出。";
}

std::string export_name(std::string_view stem, std::string_view extension, const std::tm& when) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M", &when);
    return std::string(stem) + "-" + stamp + std::string(extension);
}

std::string delete_rows_question(std::string_view segments) {
    return "删除管段 " + std::string(segments) + "？它们记入结果文件的行不会改动。";
}

std::string entry_not_taken_question(std::string_view reason) {
    return "计算表中正在输入的内容还没有记入：" + std::string(reason) +
           "\n放弃这个输入，还是回到计算表改正？";
}

std::string report_printed(std::size_t pages) {
    return "计算书已送往打印机，共 " + std::to_string(pages) + " 页。";
}

std::string report_not_printed() {
    return "无法打印：系统没有可用的打印机，或打印机没有接受这份文档。可以用“计算书 PDF”"
           "（Ctrl+Shift+P）存成 PDF，再用别的程序打印。";
}

std::string unsaved_quit_question(bool switching) {
    const std::string act = switching ? "换工程" : "退出";
    return "计算表最近的改动没有保存到 " + std::string(sheet_file_name) + "。现在" + act +
           "，这些改动就没有了。\n可以先不" + act + "，用计算表的“导出 Excel”另存一份。";
}

std::string export_written(std::string_view file, std::string_view font) {
    return "已写出 " + std::string(file) +
           (font.empty() ? "" : "（嵌入字体：" + std::string(font) + "）") +
           "。点“打开”用系统的程序打开它。";
}

std::string nothing_exported_yet() {
    return "还没有导出文件：先点“导出 Excel”或“计算书 PDF”。";
}

std::string export_not_opened(std::string_view file) {
    return "无法打开 " + std::string(file) +
           "：系统中没有打开这类文件的程序，或者文件已被移走。文件本身没有改动。";
}

std::string fittings_shown(const FittingTable& fittings, std::string_view source) {
    return "局部阻力系数表：" + std::string(source) + "\n每行：名称 | 系数 | 出处 | 别名\n\n" +
           fitting_lines(fittings) + "\n“编辑”用系统的程序打开工作目录中的 " +
           std::string(fitting_table_file) + "（没有时先复制一份）；改好存盘后点“重新读取”。";
}

std::string fittings_being_edited(std::string_view file) {
    return "已用系统的程序打开 " + std::string(file) +
           "。改好存盘后，在“局部阻力…”中点“重新读取”；已填的 Σξ 随即按新表重算。";
}

std::string fittings_reread(std::size_t count, const std::vector<std::string>& recomputed,
                            const std::vector<std::string>& kept) {
    const auto listed = [](const std::vector<std::string>& segments) {
        std::string text;
        for (const std::string& segment : segments) {
            text += (text.empty() ? "" : "、") + segment;
        }
        return text;
    };
    std::string said = "局部阻力系数表已重新读取，共 " + std::to_string(count) + " 种管件";
    said += recomputed.empty()
                ? "；已填的 Σξ 都没有变。"
                : "；按新表重算了管段 " + listed(recomputed) + " 的 Σξ（Ctrl+Z 撤销）。";
    if (!kept.empty()) {
        said += "管段 " + listed(kept) + " 的 Σξ 用到新表中没有的管件，保持原值。";
    }
    return said;
}

}  // namespace kestrune
