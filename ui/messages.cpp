// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include <cerrno>

#include "failure_words.h"
#include "folder_lock.h"
#include "number_text.h"
#include "utf8.h"

namespace kestrune {
namespace {

// Typed answers are quoted up to this many characters: a pasted megabyte stays readable.
constexpr std::size_t quoted_characters = 40;

std::string number(float value) {
    return float_box_form(value);
}
std::string number(std::int64_t value) {
    return std::to_string(value);
}
std::string quoted(std::string_view answer) {
    return "“" + first_characters(answer, quoted_characters) + "”";
}

std::string restart_hint(std::string_view working_folder) {
    return "\n工作目录：" + std::string(working_folder) + "\n请改正后重新启动程序。";
}

}  // namespace

std::string table_fault(const TableError& e) {
    const std::string file = "“" + e.file + "”";
    const std::string field = "“" + readable_utf8(e.field_text) + "”";
    const std::string nth = "的第 " + number(static_cast<std::int64_t>(e.position)) + " 个数值";
    switch (e.fault) {
        case TableFault::missing_file:
            return "找不到管道表文件" + file +
                   "。管道表由 indata1.txt（公称直径）和 indata2.txt（管道内径）两个文件组成，"
                   "须放在工作目录中。";
        case TableFault::unreadable:
            return "无法读取管道表文件" + file + "：" +
                   failure_reason(e.in_the_way, e.code, e.reason) + "。";
        case TableFault::too_large:
            return "管道表文件" + file + "太大（超过 " +
                   number(static_cast<std::int64_t>(largest_table_file / 1024)) +
                   " KB），不是管道表。";
        case TableFault::utf16:
            return "无法读取管道表文件" + file + "：文件是 UTF-16 编码，请另存为 ANSI 或 UTF-8。";
        case TableFault::too_many_fields:
            return "管道表文件" + file + "有 " + number(static_cast<std::int64_t>(e.field_count)) +
                   " 个数值，最多只能有 " + number(static_cast<std::int64_t>(pipe_rows)) + " 个。";
        case TableFault::empty_field:
            return "管道表文件" + file + nth + "是空的（两个逗号之间没有数）。";
        case TableFault::not_a_number:
            return "管道表文件" + file + nth + field + "不是数。";
        case TableFault::out_of_range:
            return "管道表文件" + file + nth + field +
                   "超出范围（公称直径须在 -32768 到 32767 之间，内径须是单精度数）。";
    }
    return {};
}

std::string_view program_version() {
    return KESTRUNE_VERSION;
}

std::string help_text(std::string_view folder) {
    return "Kestrune " + std::string(program_version()) +
           "：热水供暖管网的管径计算\n\n"
           "输入用户负荷（W），程序加上富裕系数得出设计负荷和设计流量；点“确定”后从管道表中选一个"
           "公称直径，程序算出流速、摩擦系数和比摩阻，显示在结果窗口中，并把一行记入结果文件。"
           "每次计算也成为水力计算表的一个管段。\n\n"
           "工作目录：" +
           std::string(folder) +
           "\n  indata1.txt、indata2.txt：管道表（公称直径、内径）\n"
           "  outdata.txt：结果文件，每次启动时重建；上次的结果另存为 outdata-日期-时间.txt\n"
           "  calcsheet.txt：水力计算表；fittings.txt：局部阻力系数表\n"
           "  project.txt：工程名称和设计人\n\n"
           "一个工程就是一个文件夹：Ctrl+N 新建工程（复制示例管道表），Ctrl+O 打开别的工程。\n\n"
           "按键：在用户负荷或富裕系数框中按 Enter 即“确定”；Esc 或双击收起结果窗口；"
           "选公称直径时单击列表中的一行即填入该直径，双击即以它作答；F1 显示本帮助。\n\n"
           "Kestrune 是自由软件，按 GNU 通用公共许可证第 3 版或更高版本（GPL-3.0-or-later）"
           "发布，不提供任何担保。";
}

std::string already_running(std::string_view folder, bool brought_to_front) {
    return "Kestrune 已经在文件夹 " + std::string(folder) + " 中运行" +
           (brought_to_front ? "，它的窗口已提到最前面" : "") +
           "。\n同一文件夹中只能运行一个 Kestrune，以免两个程序写同一个结果文件；"
           "本次启动没有改动任何文件，现在退出。";
}

std::string lock_in_the_way(std::string_view folder) {
    return "文件夹 " + std::string(folder) + " 中的 " + std::string(folder_lock_name) +
           " 不是本程序能锁定的普通文件（可能是符号链接、文件夹，或属于别的用户）。\n"
           "没有这把锁，就不能保证只有一个 Kestrune 写这个文件夹；本次启动没有改动任何文件，"
           "现在退出。请删除它后再启动。";
}

std::string table_problem(const TableError& e, std::string_view folder) {
    return table_fault(e) + restart_hint(folder);
}

std::string missing_table_question(const TableError& e, std::string_view folder) {
    return "在文件夹 " + std::string(folder) + " 中找不到管道表文件“" + e.file +
           "”。\n"
           "管道表由 indata1.txt（公称直径）和 indata2.txt（管道内径）两个文件组成。"
           "可以使用示例管道表（标准焊接钢管 DN15～DN150，复制到工作目录），或选择"
           "存放这两个文件的文件夹（结果文件 outdata.txt 也将写在那里），或者退出。";
}

std::string folder_not_writable(const FileError& e, std::string_view folder) {
    return "文件夹 " + std::string(folder) + " 中不能写结果文件 outdata.txt：" +
           file_failure_reason(e) + "。\n请另选一个可以写入的文件夹。";
}

std::string example_not_copied(const FileError& e, std::string_view folder) {
    return "无法把示例管道表复制到文件夹 " + std::string(folder) + "：" + file_failure_reason(e) +
           "。";
}

std::string earlier_log_kept(std::string_view kept_name) {
    return "上次运行的结果已另存为 " + std::string(kept_name) + "。";
}

std::string earlier_log_not_kept(const FileError& e) {
    return "上次运行的结果还在 outdata.txt 中，但无法另存：" + file_failure_reason(e) +
           "。\n清空结果文件，这些结果就会丢失；也可以保留它们并退出，先把 outdata.txt "
           "复制到别处。";
}

std::string log_recreate_problem(const FileError& e, std::string_view folder) {
    const std::string what = e.step == FileStep::flush
                                 ? "结果文件“" + e.file +
                                       "”的表头写出后无法存到磁盘上（同步失败）：" +
                                       file_failure_reason(e) + "。结果文件没有建立"
                                 : "无法建立结果文件“" + e.file + "”：" + file_failure_reason(e);
    return what + "。\n工作目录：" + std::string(folder) +
           "\n仍可计算，但结果要等此问题解决后才能记入文件；每次计算都会再试。";
}

std::string log_append_problem(const FileError& e) {
    if (e.step == FileStep::header) {
        return "结果文件“" + e.file +
               "”的开头不是表头行（可能被别的程序改过或换掉了），本次结果没有写入，"
               "文件保持原样。\n请把它改名或移走后再计算一次本管段，程序会重新建立带表头的结果"
               "文件。";
    }
    const std::string what =
        e.step == FileStep::flush
            ? "本次结果写入“" + e.file + "”后无法存到磁盘上（同步失败）：" +
                  file_failure_reason(e) + "。"
            : "无法把本次结果写入“" + e.file + "”：" + file_failure_reason(e) + "。";
    if (!e.unchanged) {
        return what +
               "\n撤回没有成功，文件已经变了：本次结果可能已全部或部分写入。请先打开 "
               "outdata.txt 查看最后一行，再决定是否重新计算本管段，以免同一结果记入两次。";
    }
    return what + "\n文件保持原样，本次结果只显示在结果窗口中。请解决此问题后再计算一次本管段。";
}

std::string load_problem(const LoadFault& fault, const design_state& s) {
    switch (fault.step) {
        case LoadStep::user_load:
            return "用户负荷数值太大，无法计算。";
        case LoadStep::design_load:
            return "设计负荷（富裕系数 × 用户负荷）太大，无法计算。";
        case LoadStep::design_flow:
            break;
    }
    if (s.dt == 0) {
        return "供水温度等于回水温度（温差为 0），无法计算流量。请更改供水或回水温度。";
    }
    return "无法计算设计流量（" + std::string(arith_error_words(fault.error)) + "）。";
}

std::string margin_problem() {
    return "富裕系数数值太大，仍用原来的富裕系数。";
}

std::string reading_note(std::string_view what, float read, std::string_view rest) {
    std::string note = std::string(what) + "读作 " + number(read) + "；" + quoted(rest) + "未读入";
    if (rest.substr(0, 1) == "," || rest.substr(0, 3) == "，") {
        note += "，小数点请用“.”，不用逗号";
    }
    return note + "。";
}

std::string stale_design_note(float used_margin, float margin, std::int16_t used_dt,
                              std::int16_t dt) {
    const bool new_margin = used_margin != margin;
    const bool new_dt = used_dt != dt;
    const std::string then_margin = "富裕系数 " + number(used_margin);
    const std::string then_dt = "温差 " + number(std::int64_t{used_dt}) + " K";
    const std::string when = " 待改动用户负荷后生效。";
    if (new_margin && new_dt) {
        return "设计负荷和流量仍按" + then_margin + "、" + then_dt + " 计算，新值 " +
               number(margin) + "、" + number(std::int64_t{dt}) + " K" + when;
    }
    if (new_margin) {
        return "设计负荷仍按" + then_margin + " 计算，新值 " + number(margin) + when;
    }
    if (new_dt) {
        return "设计流量仍按" + then_dt + " 计算，新值 " + number(std::int64_t{dt}) + " K" + when;
    }
    return {};
}

std::string preview_parameters_note(const design_state& s) {
    return "按密度 " + number(s.rho) + " kg/m³、供水 " + number(std::int64_t{s.t_supply}) +
           " °C、回水 " + number(std::int64_t{s.t_return}) + " °C、粘滞系数 " + number(s.nu) +
           " mm²/s 计算";
}

std::string current_value_tip(float value, std::string_view unit) {
    return "当前：" + number(value) + " " + std::string(unit);
}

std::string load_blocks_sizing(std::string_view problem) {
    return "负荷输入有误：" + std::string(problem) + "\n请先改正用户负荷，再点“确定”。";
}

std::string diameter_out_of_range(std::string_view answer) {
    return "公称直径" + quoted(answer) +
           "超出范围（须在 -32768 到 32767 之间）。本次计算已取消，请再点“确定”重新选择。";
}

std::string diameter_not_in_table(std::int16_t dn) {
    return "管道表中没有公称直径 " + number(std::int64_t{dn}) +
           "。本次计算已取消，请再点“确定”，从列表中选择一个公称直径。";
}

std::string positive_value_needed(std::string_view quantity, std::string_view answer, float kept) {
    const std::string q(quantity);
    return q + "须是大于 0 的有限数，" + quoted(answer) + "不行。" + q + "仍为 " + number(kept) +
           "。";
}

std::string temperature_out_of_range(std::string_view quantity, std::string_view answer,
                                     std::int16_t kept) {
    const std::string q(quantity);
    return q + quoted(answer) + "超出范围（须在 -32768 到 32767 之间）。" + q + "仍为 " +
           number(std::int64_t{kept}) + "。";
}

std::string temperature_difference_out_of_range(const design_state& s) {
    return "供回水温差超出范围（须在 -32768 到 32767 之间）。温度保持不变：供水 " +
           number(std::int64_t{s.t_supply}) + "，回水 " + number(std::int64_t{s.t_return}) + "。";
}

}  // namespace kestrune
