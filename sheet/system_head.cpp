// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_head.h"

#include "number_text.h"

namespace kestrune {

std::optional<SystemHead> system_head(const CalcSheet& calc) {
    const LoopReport& report = calc.report();
    if (!report.critical) {
        return std::nullopt;
    }
    SystemHead head;
    const LoopResult& critical = report.loops[*report.critical];
    head.critical_loop = critical.name;
    head.critical_loss = critical.total;
    head.head = critical.total * (1.0 + head_allowance);
    const auto& rows = calc.data().rows;
    if (calc.has_network() && calc.network().faults.empty()) {
        double mass = 0.0, volume = 0.0;
        for (const SheetRow& row : rows) {
            if (row.upstream.empty()) {
                mass += logged_value(row.g_design);
                volume += volume_flow(row);
            }
        }
        head.mass_flow = mass;
        head.volume_flow = volume;
    }
    if (const auto available = calc.data().available_pressure) {
        if (*available >= head.head) {
            head.surplus = *available - head.head;
            if (head.volume_flow && *head.surplus > 0.0) {
                head.kv = valve_kv(*head.volume_flow, *head.surplus);
            }
        } else {
            head.shortfall = head.head - *available;
        }
    }
    return head;
}

std::vector<std::string> head_lines(const SystemHead& head) {
    std::vector<std::string> lines;
    lines.push_back("最不利环路 " + head.critical_loop + " 的阻力 " +
                    fixed_text(head.critical_loss, 1) + " Pa，附加 10 % 后所需压头 " +
                    fixed_text(head.head, 1) + " Pa = " + fixed_text(head.head / 1000.0, 2) +
                    " kPa = " + fixed_text(head.head / pascal_per_metre_water, 2) + " m 水柱。");
    if (head.mass_flow && head.volume_flow) {
        lines.push_back("入口流量 " + fixed_text(*head.mass_flow, 2) +
                        " kg/h = " + fixed_text(*head.volume_flow, 3) + " m³/h。");
    }
    if (head.surplus) {
        std::string line = "入口资用压力富余 " + fixed_text(*head.surplus, 1) + " Pa，需在入口消除";
        line += head.kv ? "，调节阀 Kv " + fixed_text(*head.kv, 2) + "。" : "。";
        lines.push_back(line);
    }
    if (head.shortfall) {
        lines.push_back("入口资用压力不足 " + fixed_text(*head.shortfall, 1) +
                        " Pa：须加大管径或提高入口压力。");
    }
    return lines;
}

}  // namespace kestrune
