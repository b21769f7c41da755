// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_messages.h"

#include "chinese_font.h"
#include "failure_words.h"
#include "leading_number.h"
#include "number_text.h"
#include "sheet_exports.h"
#include "text_fields.h"
#include "utf8.h"

namespace kestrune {
namespace {

std::string in_quotes(std::string_view entry) {
    return "“" + first_characters(readable_utf8(entry), 40) + "”";
}

}  // namespace

std::string sheet_set_aside(const SheetFileError& error, std::string_view file,
                            std::string_view kept_name) {
    const std::string why =
        error.fault == SheetFault::newer
            ? "是新版本的 Kestrune（第 " + std::to_string(error.version) + " 版）写的"
            : "已损坏（第 " + std::to_string(error.line) + " 行无法读取）";
    return "计算表文件“" + std::string(file) + "”" + why + "，没有被改动，已另存为 " +
           std::string(kept_name) + "。\n本次从空的计算表开始。";
}

std::string sheet_not_read(const FileError& error) {
    return "无法读取计算表文件“" + error.file + "”：" + file_failure_reason(error) +
           "，也无法把它另存。\n本次从空的计算表开始，原文件不会被覆盖：在它能读取或移走之前，"
           "计算表的改动不会保存。";
}

std::string sheet_unread_set_aside(const FileError& error, std::string_view kept_name) {
    return "无法读取计算表文件“" + error.file + "”：" + file_failure_reason(error) +
           "。它没有被改动，已另存为 " + std::string(kept_name) + "。\n本次从空的计算表开始。";
}

std::string sheet_unsaved_note() {
    return "计算表的改动没有保存到 " + std::string(sheet_file_name) +
           "。可用“导出 Excel”另存一份。";
}

std::string sheet_not_saved(const FileError& error) {
    return "无法保存计算表文件“" + error.file + "”：" + file_failure_reason(error) +
           "。\n文件保持上次保存时的样子；计算表的改动仍在程序中，下次改动时会再试。";
}

std::string fitting_table_problem(const FittingTableError& error, std::string_view file) {
    const std::string where = "局部阻力系数表“" + std::string(file) + "”";
    const std::string instead = "本次改用程序自带的系数表，其中没有你自己加的管件。";
    if (error.file) {
        return where + "无法读取：" + file_failure_reason(*error.file) + "。" + instead;
    }
    if (error.not_utf8) {
        return where + "第 " + std::to_string(error.line) +
               " 行不是 UTF-8 文本（也许存成了 GBK）。请用 UTF-8 另存该文件。" + instead;
    }
    return where + "第 " + std::to_string(error.line) + " 行" + in_quotes(error.text) +
           "无法读取（应为：名称 | 系数 | 出处 | 别名）。" + instead;
}

std::string fitting_table_doubts(const std::vector<FittingDoubt>& doubts, std::string_view file) {
    std::string said;
    for (const FittingDoubt& doubt : doubts) {
        const std::string first = std::to_string(doubt.first_line);
        said += (said.empty() ? "第 " : "；第 ") + std::to_string(doubt.line) + " 行";
        if (doubt.overlap) {
            said += in_quotes(doubt.name) + "的 DN 范围有重叠，用先写的值";
        } else if (doubt.alias) {
            said += "的别名" + in_quotes(doubt.name) + "已是第 " + first +
                    " 行管件的名称或别名，用第 " + first + " 行的管件";
        } else {
            said += in_quotes(doubt.name) + "与第 " + first + " 行重名，用第 " + first + " 行的值";
        }
    }
    return "局部阻力系数表“" + std::string(file) + "”中：" + said + "。";
}

std::string length_refused(std::string_view entry) {
    return "管长" + in_quotes(entry) +
           "不行：须是不小于 0 的数（m），用半角数字和小数点写，如 12.5。";
}

std::string dn_refused(std::string_view entry, const DiameterRefusal& refusal,
                       const PipeTable& pipes) {
    std::string known;
    for (const PipeSize& pipe : pipes) {
        const std::string dn = std::to_string(pipe.dn);
        if ((pipe.dn != 0 || pipe.d != 0.0f) &&
            (" " + known + " ").find(" " + dn + " ") == std::string::npos) {
            known += (known.empty() ? "" : " ") + dn;
        }
    }
    const std::string what = refusal.in_table_range
                                 ? "管道表中没有公称直径 " + std::to_string(refusal.dn)
                                 : "公称直径" + in_quotes(entry) + "超出范围";
    return what + "，这一行没有改动。请写管道表中的公称直径：" + known + "。";
}

std::string xi_refused(const XiError& error) {
    switch (error.fault) {
        case XiFault::not_a_number:
            return "局部阻力系数" + in_quotes(error.name) +
                   "不行：请写一个数，或“个数×管件名称”，用 + 连接。";
        case XiFault::negative:
            return "局部阻力系数" + in_quotes(error.name) + "不行：数值和个数不能为负。";
        case XiFault::unknown_fitting:
            return "局部阻力系数表（工作目录中的 " + std::string(fitting_table_file) +
                   "）中没有管件" + in_quotes(error.name) + "。";
        case XiFault::dn_outside:
            return "局部阻力系数表中管件" + in_quotes(error.name) + "没有 DN" +
                   std::to_string(error.dn) + " 的系数。";
    }
    return {};
}

std::string xi_in_parts(std::string_view entry, const FittingTable& fittings, std::int16_t dn,
                        double sum) {
    const std::string text = with_plain_plus(entry);
    std::string parts;
    for (std::string_view part : split_fields(text, '+')) {
        const XiPart split = split_xi_part(part, fittings);
        const Fitting* fitting = fittings.find(split.name);
        const auto xi = fitting != nullptr ? fitting_xi(*fitting, dn) : std::nullopt;
        std::string said;
        if (xi) {
            const auto read = read_leading_number(split.count);
            const double count = split.count.empty() || !read ? 1.0 : read.value();
            said = fitting->name + " " + shortest_text(count) + " × " + shortest_text(*xi) + " = " +
                   shortest_text(count * *xi);
        } else {
            said = split.count + split.name;  // a number, or a part the table no longer has
        }
        parts += said + "；";
    }
    return parts + "Σξ = " + shortest_text(sum);
}

std::string xi_kept_for_new_dn(const XiError& error, double kept) {
    return xi_refused(error) + "Σξ 仍为 " + shortest_text(kept) + "。";
}

std::string loops_refused(std::string_view entry) {
    return "环路" + in_quotes(entry) + "不行：请写环路名称，用空格分开，如“1 2”。";
}

std::string consumer_refused(std::string_view entry) {
    return "用户负荷" + in_quotes(entry) + "不行：须是不小于 0 的数（W），空着表示没有用户。";
}

std::string consumer_needed(std::string_view segment) {
    return "管段 " + std::string(segment) +
           " 的用户负荷就是它的负荷，不能空着：没有上游时每个管段都有自己的用户。没有改动。";
}

namespace {

std::string names_of(const std::vector<std::size_t>& segments, const std::vector<SheetRow>& rows,
                     std::string_view between) {
    std::string out;
    for (std::size_t row : segments) {
        const std::string& name = rows[row].segment;
        out += (out.empty() ? "" : std::string(between)) +
               (name.empty() ? "（第 " + std::to_string(row + 1) + " 行）" : name);
    }
    return out;
}

}  // namespace

std::vector<std::string> network_fault_notes(const Network& network,
                                             const std::vector<SheetRow>& rows) {
    std::vector<std::string> notes;
    for (const NetworkFault& fault : network.faults) {
        const std::string named = names_of(fault.segments, rows, "、");
        switch (fault.kind) {
            case NetworkFaultKind::duplicate_segment:
                notes.push_back("管段号 " + rows[fault.segments.front()].segment + " 用了 " +
                                std::to_string(fault.segments.size()) +
                                " 次，上游指不出是哪一段。");
                break;
            case NetworkFaultKind::unknown_upstream:
                notes.push_back("管段 " + named + " 的上游 " + fault.name + " 不存在。");
                break;
            case NetworkFaultKind::cycle:
                notes.push_back("管段 " + named + " 的上游连成了环。");
                break;
            case NetworkFaultKind::several_paths:
                notes.push_back("用户管段 " + named +
                                " 有不止一条路径（环网或旁通），每个用户只能在一条环路上。");
                break;
            case NetworkFaultKind::no_consumer:
                notes.push_back("环路 " + names_of(fault.segments, rows, " → ") + " 上没有用户。");
                break;
            case NetworkFaultKind::no_path:
                notes.push_back("用户管段 " + named + " 不在从热源出发的任何环路上。");
                break;
            case NetworkFaultKind::too_many_paths:
                notes.push_back("环路超过 " + std::to_string(most_paths) + " 条，没有列出。");
                break;
        }
    }
    if (!notes.empty()) {
        notes.emplace_back(network_held_note);
    }
    return notes;
}

std::string pipes_chosen_note(const std::vector<PipeChoice>& choices,
                              const std::vector<SheetRow>& rows) {
    std::size_t changed = 0;
    std::string beyond;
    for (const PipeChoice& choice : choices) {
        changed += choice.dn_before != choice.dn_after ? 1 : 0;
        if (!choice.within_limits) {
            beyond += (beyond.empty() ? "" : "、") + rows[choice.row].segment;
        }
    }
    std::string note = "自动选管径：" + std::to_string(choices.size()) + " 个管段，" +
                       std::to_string(changed) + " 个改了管径。";
    if (!beyond.empty()) {
        note += "管段 " + beyond + " 用了管道表中最大的管径，仍超出流速或比摩阻上限。";
    }
    return note;
}

std::string balance_change_text(const BalanceChange& change, const std::vector<SheetRow>& rows) {
    return "管段 " + rows[change.row].segment + "：DN" + std::to_string(change.dn_before) +
           " → DN" + std::to_string(change.dn_after) + "，环路 " + change.loop + " 不平衡率 " +
           fixed_text(shown_imbalance(change.imbalance_before), 1) + " % → " +
           fixed_text(shown_imbalance(change.imbalance_after), 1) + " %";
}

std::string pipes_balanced_note(const std::vector<BalanceChange>& changes,
                                const std::vector<SheetRow>& rows) {
    if (changes.empty()) {
        return "平衡管径：没有可以改小而不超速、不超过最不利环路的管径，超限的环路仍靠阀门平衡。";
    }
    std::string note = "平衡管径：";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        note += (i == 0 ? "" : "；") + balance_change_text(changes[i], rows);
    }
    return note + "。";
}

std::string network_in_words(const std::vector<SheetRow>& rows) {
    std::string words;
    for (const SheetRow& row : rows) {
        std::string upstream;
        for (const std::string& name : row.upstream) {
            upstream += (upstream.empty() ? "" : "、") + name;
        }
        words += (words.empty() ? "" : "；") + ("管段 " + row.segment);
        words += row.upstream.empty()       ? " 接热源"
                 : row.upstream.size() == 1 ? " 接管段 " + upstream
                                            : " 汇合管段 " + upstream;
        if (row.consumer > 0.0f) {
            words += "，用户负荷 " + float_box_form(row.consumer) + " W";
        }
    }
    return "各管段的水从哪里来：" + words + "。各管段的热负荷与流量由其下游用户负荷之和求得。";
}

std::string pipe_choices_in_words(const std::vector<SheetRow>& rows, float resistance_limit) {
    std::string engineer, chosen, balanced;
    for (const SheetRow& row : rows) {
        if (row.dn <= 0) {
            continue;
        }
        std::string& list = row.dn_choice == DnChoice::engineer ? engineer
                            : row.dn_choice == DnChoice::chosen ? chosen
                                                                : balanced;
        list += (list.empty() ? "" : "、") + row.segment + " DN" + std::to_string(row.dn);
    }
    std::string words = "管径：";
    words += "设计人指定 " + (engineer.empty() ? std::string("无") : engineer);
    words += "；自动选管径（流速不超过 GB 50736-2012 表 5.9.13 的限值、比摩阻不超过 " +
             float_box_form(resistance_limit) + " Pa/m 的最小管径）" +
             (chosen.empty() ? std::string("无") : chosen);
    words += "；平衡管径改小 " + (balanced.empty() ? std::string("无") : balanced);
    return words + "。";
}

std::string rows_not_sized(const std::vector<std::size_t>& unsized,
                           const std::vector<SheetRow>& rows) {
    return "管段 " + names_of(unsized, rows, "、") +
           " 无法按新负荷计算（数值溢出或温差为 0），保持原值。";
}

std::string available_pressure_refused(std::string_view entry) {
    return "入口资用压力" + in_quotes(entry) + "不行：须是不小于 0 的数（Pa），或空着。";
}

std::string resistance_limit_refused(std::string_view entry) {
    return "比摩阻上限" + in_quotes(entry) + "不行：须是大于 0 的数（Pa/m）。";
}

std::string limit_refused(std::string_view entry) {
    return "不平衡率限值" + in_quotes(entry) + "不行：须是大于 0 的百分数。";
}

std::string export_problem(const ExportError& error) {
    if (error.file) {
        return "无法写出“" + error.file->file + "”：" + file_failure_reason(*error.file) +
               "。\n原有的同名文件没有改动，计算表也没有改动。";
    }
    if (!error.missing_glyphs.empty()) {
        return "中文字体缺少计算书要用的字形（" + error.missing_glyphs +
               "），没有写出计算书。请安装完整的宋体字体后再试。";
    }
    std::string names;
    for (const FontChoice& choice : chinese_font_choices()) {
        if (names.find(choice.name) == std::string::npos) {
            names += (names.empty() ? "" : "、") + std::string(choice.name);
        }
    }
    return "在本机找不到中文字体（依次找过：" + names +
           "），没有写出计算书，以免其中缺字。请安装其中一种字体后再试。";
}

std::string paste_does_not_fit(std::size_t rows, std::size_t columns, std::size_t rows_left,
                               std::size_t columns_left) {
    return "要粘贴的是 " + std::to_string(rows) + " 行 " + std::to_string(columns) +
           " 列，从当前格往下只有 " + std::to_string(rows_left) + " 行、往右只有 " +
           std::to_string(columns_left) + " 列，没有粘贴。";
}

std::string paste_into_read_only(std::string_view header) {
    return "“" + std::string(header) + "”一列由程序计算，不能粘贴，没有粘贴。";
}

std::string loop_summary_heading(std::string_view limit_percent) {
    return "环路（不平衡率限值 " + std::string(limit_percent) + " %）";
}

std::string segments_in_no_loop(std::string_view segments) {
    return "管段 " + std::string(segments) + " 不属于任何环路。";
}

}  // namespace kestrune
