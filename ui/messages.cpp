// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include "number_text.h"

namespace kestrune {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
QString number(float value) {
    return qs(float_box_form(value));
}

QString arith_error_words(ArithError error) {
    switch (error) {
        case ArithError::division_by_zero:
            return QStringLiteral("除数为零");
        case ArithError::overflow:
            return QStringLiteral("数值溢出");
        case ArithError::invalid_operation:
            return QStringLiteral("无效运算");
    }
    return {};
}

QString restart_hint(const QString& working_folder) {
    return QStringLiteral("\n工作目录：%1\n请改正后重新启动程序。").arg(working_folder);
}

}  // namespace

QString table_problem(const TableError& e, const QString& folder) {
    const QString file = qs(e.file);
    const QString field =
        QString::fromLocal8Bit(e.field_text.data(), static_cast<qsizetype>(e.field_text.size()));
    QString what;
    switch (e.fault) {
        case TableFault::missing_file:
            what = QStringLiteral(
                       "找不到管道表文件“%1”。管道表由 indata1.txt（公称直径）和 "
                       "indata2.txt（管道内径）两个文件组成，须放在工作目录中。")
                       .arg(file);
            break;
        case TableFault::unreadable:
            what = QStringLiteral("无法读取管道表文件“%1”：%2。").arg(file, qs(e.reason));
            break;
        case TableFault::too_large:
            what = QStringLiteral("管道表文件“%1”太大（超过 %2 MB），不是管道表。")
                       .arg(file)
                       .arg(largest_table_file / (1024 * 1024));
            break;
        case TableFault::too_many_fields:
            what = QStringLiteral("管道表文件“%1”有 %2 个数值，最多只能有 %3 个。")
                       .arg(file)
                       .arg(e.field_count)
                       .arg(pipe_rows);
            break;
        case TableFault::empty_field:
            what = QStringLiteral("管道表文件“%1”的第 %2 个数值是空的（两个逗号之间没有数）。")
                       .arg(file)
                       .arg(e.position);
            break;
        case TableFault::not_a_number:
            what = QStringLiteral("管道表文件“%1”的第 %2 个数值“%3”不是数。")
                       .arg(file)
                       .arg(e.position)
                       .arg(field);
            break;
        case TableFault::out_of_range:
            what = QStringLiteral(
                       "管道表文件“%1”的第 %2 个数值“%3”超出范围（公称直径须在 "
                       "-32768 到 32767 之间，内径须是单精度数）。")
                       .arg(file)
                       .arg(e.position)
                       .arg(field);
            break;
    }
    return what + restart_hint(folder);
}

QString missing_table_question(const TableError& e, const QString& folder) {
    return QStringLiteral(
               "在文件夹 %1 中找不到管道表文件“%2”。\n"
               "管道表由 indata1.txt（公称直径）和 indata2.txt（管道内径）两个文件组成。"
               "请选择存放这两个文件的文件夹（结果文件 outdata.txt 也将写在那里），"
               "或者退出。")
        .arg(folder, qs(e.file));
}

QString log_recreate_problem(const FileError& e, const QString& folder) {
    return QStringLiteral(
               "无法建立结果文件“%1”：%2。\n工作目录：%3\n"
               "仍可计算，但结果要等此问题解决后才能记入文件；每次计算都会再试。")
        .arg(qs(e.file), qs(e.reason), folder);
}

QString log_append_problem(const FileError& e) {
    return QStringLiteral(
               "无法把本次结果写入“%1”：%2。\n文件保持原样，本次结果只显示在结果窗口中。"
               "请解决此问题后再计算一次本管段。")
        .arg(qs(e.file), qs(e.reason));
}

QString load_problem(const LoadFault& fault, const design_state& s) {
    switch (fault.step) {
        case LoadStep::user_load:
            return QStringLiteral("用户负荷数值太大，无法计算。");
        case LoadStep::design_load:
            return QStringLiteral("设计负荷（富裕系数 × 用户负荷）太大，无法计算。");
        case LoadStep::design_flow:
            break;
    }
    if (s.dt == 0) {
        return QStringLiteral(
            "供水温度等于回水温度（温差为 0），无法计算流量。请更改供水或回水温度。");
    }
    return QStringLiteral("无法计算设计流量（%1）。").arg(arith_error_words(fault.error));
}

QString margin_problem() {
    return QStringLiteral("富裕系数数值太大，仍用原来的富裕系数。");
}

QString load_blocks_sizing(const QString& problem) {
    return QStringLiteral("负荷输入有误：%1\n请先改正用户负荷，再点“确定”。").arg(problem);
}

QString sizing_problem(const SizingFault& fault, const design_state& s) {
    QString what;
    if (s.g_design == 0.0f) {
        what = QStringLiteral("还没有输入用户负荷（设计流量为 0），无法计算。请先输入用户负荷。");
    } else if (s.d == 0.0f) {
        what =
            QStringLiteral("公称直径 %1 的管道内径为 0，无法计算。请检查管道表文件 indata2.txt。")
                .arg(s.dn);
    } else if (s.g_design < 0.0f || s.d < 0.0f) {
        what = QStringLiteral("用户负荷或管道内径为负数，无法计算。请输入正的用户负荷。");
    } else {
        const QString step = fault.step == SizingStep::velocity ? QStringLiteral("流速")
                             : fault.step == SizingStep::friction_factor
                                 ? QStringLiteral("摩擦系数")
                                 : QStringLiteral("比摩阻");
        what = QStringLiteral("计算%1时%2。请检查密度（%3）和粘滞系数（%4）的设置。")
                   .arg(step, arith_error_words(fault.error), number(s.rho), number(s.nu));
    }
    return what + QStringLiteral("\n本次计算没有记入结果文件。");
}

QString diameter_out_of_range(const QString& answer) {
    return QStringLiteral(
               "公称直径“%1”超出范围（须在 -32768 到 32767 之间）。本次计算已取消，"
               "请再点“确定”重新选择。")
        .arg(answer.left(40));
}

QString diameter_not_in_table(std::int16_t dn) {
    return QStringLiteral(
               "管道表中没有公称直径 %1。本次计算已取消，请再点“确定”，"
               "从列表中选择一个公称直径。")
        .arg(dn);
}

QString positive_value_needed(const QString& quantity, const QString& answer, float kept) {
    return QStringLiteral("%1须是大于 0 的有限数，“%2”不行。%1仍为 %3。")
        .arg(quantity, answer.left(40), number(kept));
}

QString temperature_out_of_range(const QString& quantity, const QString& answer,
                                 std::int16_t kept) {
    return QStringLiteral("%1“%2”超出范围（须在 -32768 到 32767 之间）。%1仍为 %3。")
        .arg(quantity, answer.left(40))
        .arg(kept);
}

QString temperature_difference_out_of_range(const design_state& s) {
    return QStringLiteral(
               "供回水温差超出范围（须在 -32768 到 32767 之间）。温度保持不变：供水 %1，回水 %2。")
        .arg(s.t_supply)
        .arg(s.t_return);
}

}  // namespace kestrune
