// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_help.h"

#include <cstdint>

#include "number_text.h"
#include "sheet_keys.h"

namespace kestrune {
namespace {

// The commands that only have a key: named here, as they have no button.
std::string_view key_only_name(SheetCommand command) {
    switch (command) {
        case SheetCommand::copy:
            return "复制";
        case SheetCommand::paste:
            return "粘贴";
        case SheetCommand::select_all:
            return "全选";
        default:
            return {};
    }
}

std::string commands_text() {
    std::string text;
    for (const CommandLayout& command : sheet_commands) {
        const std::string key = chord_name(command.chord);
        const std::string_view name =
            command.caption.empty() ? key_only_name(command.command) : command.caption;
        text += (text.empty() ? "" : "；") + std::string(name) +
                (key.empty() ? "（" + std::string(command.note) + "）" : " " + key);
    }
    return text + "。";
}

}  // namespace

std::string fitting_xi_text(const Fitting& fitting) {
    std::string text;
    for (const DnRange& range : fitting.ranges) {
        std::string sizes;
        if (range.from <= 0 && range.to == INT16_MAX) {
            sizes = "";
        } else if (range.to == INT16_MAX) {
            sizes = "DN" + std::to_string(range.from) + " 及以上 ";
        } else if (range.from == range.to) {
            sizes = "DN" + std::to_string(range.from) + " ";
        } else {
            sizes = "DN" + std::to_string(range.from) + "～" + std::to_string(range.to) + " ";
        }
        text += (text.empty() ? "" : "、") + sizes + shortest_text(range.xi);
    }
    return text;
}

std::string fitting_lines(const FittingTable& fittings) {
    std::string text;
    if (fittings.fittings.empty()) {
        text += "  （表中没有管件）\n";
    }
    for (const Fitting& fitting : fittings.fittings) {
        text += "  " + fitting.name + "  ξ " + fitting_xi_text(fitting);
        for (std::size_t i = 0; i < fitting.aliases.size(); ++i) {
            text += (i == 0 ? "  别名 " : " ") + fitting.aliases[i];
        }
        text += "\n";
    }
    return text;
}

std::string sheet_help_text(const FittingTable& fittings) {
    std::string text =
        "计算表：每行一个管段\n\n"
        "移动与输入：方向键、Tab、Enter 在单元格间移动，Shift 加方向键扩大选区；直接打字即开始"
        "输入，Enter 或 Tab 确认，Esc 放弃，F2 修改单元格原有的内容；Ctrl+Enter 在下面添一行；"
        "Delete 清除选中的单元格；Home、End 到行首、行尾，加 Ctrl 到表首、表尾。\n"
        "命令：" +
        commands_text() +
        "\n\n"
        "Σξ 的写法：一个数（13），或“个数×管件”用 + 连接（2×90°煨弯+截止阀）；× 也可写作 * 或 "
        "x，或者省去（2wt+jzf）。管件可以写名称、别名或拼音首字母简码。输入时，名称或别名以"
        "所输文字开头的管件列在单元格下，带本行管径下的 ξ：↑、↓ 选择，Enter 或 Tab 取用并确认，"
        "单击取用后可接着输入 +。表中记下、打印的是管件的名称。\n\n"
        "局部阻力系数表（工作目录中的 " +
        std::string(fitting_table_file) +
        "，点“局部阻力…”查看、编辑；每行：名称 | 系数 | 出处 | 别名）：\n";
    text += fitting_lines(fittings);
    text +=
        "\n环路：上游写该管段的水从哪个管段来（空着：从热源来），回水管段写它汇集的各管段；用户负荷"
        "写该管段上用户的负荷。有了上游，程序自己找出环路（从热源到末端的每条路径，以其用户的"
        "管段号命名）、各管段所带的负荷和流量；没有上游时，环路列由你填写环路名称，用空格分开。"
        "压降最大的环路为最不利环路，其余环路与它比较不共用管段的压降，不平衡率超过限值（默认 "
        "15 %）时标出，并给出需消耗的剩余压力和平衡阀的 Kv。";
    return text;
}

}  // namespace kestrune
