// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc_sheet.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <utility>

#include "number_text.h"
#include "sheet_network.h"

namespace kestrune {
namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : " ") + name;
    }
    return out;
}

}  // namespace

void CalcSheet::reset(SheetData data) {
    data_ = std::move(data);
    undo_.clear();
    redo_.clear();
    recompute();
}

CalcSheet::Step CalcSheet::begin_step() const {
    Step step;
    step.before = step.after = data_;
    return step;
}

void CalcSheet::know_loops(Step& step, const SheetRow& row) {
    for (const std::string& loop : row.loops) {
        if (std::find(step.after.loops.begin(), step.after.loops.end(), loop) ==
            step.after.loops.end()) {
            step.after.loops.push_back(loop);
        }
    }
}

void CalcSheet::commit(Step step) {
    apply(step, true);
    undo_.push_back(std::move(step));
    if (undo_.size() > kept_steps) {
        undo_.pop_front();
    }
    redo_.clear();
}

void CalcSheet::apply(const Step& step, bool forward) {
    auto splice = [this](const Splice& s, const std::vector<SheetRow>& out,
                         const std::vector<SheetRow>& in) {
        const auto at = data_.rows.begin() + static_cast<std::ptrdiff_t>(s.at);
        data_.rows.erase(at, at + static_cast<std::ptrdiff_t>(out.size()));
        data_.rows.insert(data_.rows.begin() + static_cast<std::ptrdiff_t>(s.at), in.begin(),
                          in.end());
    };
    if (forward) {
        for (const Splice& s : step.splices) {
            splice(s, s.before, s.after);
        }
    } else {
        for (auto s = step.splices.rbegin(); s != step.splices.rend(); ++s) {
            splice(*s, s->after, s->before);
        }
    }
    static_cast<SheetSettings&>(data_) = forward ? step.after : step.before;
    recompute();
}

void CalcSheet::add_row(SheetRow row) {
    Step step = begin_step();
    know_loops(step, row);
    step.splices.push_back({data_.rows.size(), {}, {std::move(row)}});
    commit(std::move(step));
}

void CalcSheet::change_row(std::size_t index, SheetRow row) {
    change_rows({{index, std::move(row)}});
}

bool CalcSheet::replace(SheetData after) {
    Step step = begin_step();
    auto& rows = data_.rows;
    if (after.rows.size() == rows.size()) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (!(after.rows[i] == rows[i])) {
                know_loops(step, after.rows[i]);
                step.splices.push_back({i, {rows[i]}, {after.rows[i]}});
            }
        }
    } else {
        // Rows added or taken away: one splice between what stayed the same at either end.
        std::size_t head = 0;
        while (head < rows.size() && head < after.rows.size() && rows[head] == after.rows[head]) {
            ++head;
        }
        std::size_t tail = 0;
        while (tail < rows.size() - head && tail < after.rows.size() - head &&
               rows[rows.size() - 1 - tail] == after.rows[after.rows.size() - 1 - tail]) {
            ++tail;
        }
        Splice splice{head, {}, {}};
        splice.before.assign(rows.begin() + static_cast<std::ptrdiff_t>(head),
                             rows.end() - static_cast<std::ptrdiff_t>(tail));
        splice.after.assign(after.rows.begin() + static_cast<std::ptrdiff_t>(head),
                            after.rows.end() - static_cast<std::ptrdiff_t>(tail));
        for (const SheetRow& row : splice.after) {
            know_loops(step, row);
        }
        step.splices.push_back(std::move(splice));
    }
    if (network_given(after.rows)) {
        step.after.loops = after.loops;  // the loops found, and only those
    }
    const std::vector<std::string> loops = step.after.loops;
    step.after = after;
    step.after.loops = loops;
    if (step.splices.empty() && step.after == step.before) {
        return false;
    }
    commit(std::move(step));
    return true;
}

bool CalcSheet::change_rows(std::vector<std::pair<std::size_t, SheetRow>> changes) {
    Step step = begin_step();
    for (auto& [index, row] : changes) {
        if (index >= data_.rows.size() || row == data_.rows[index]) {
            continue;
        }
        know_loops(step, row);
        step.splices.push_back({index, {data_.rows[index]}, {std::move(row)}});
    }
    if (step.splices.empty()) {
        return false;
    }
    commit(std::move(step));
    return true;
}

void CalcSheet::remove_rows(std::vector<std::size_t> indices) {
    std::sort(indices.begin(), indices.end(), std::greater<>());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    Step step = begin_step();
    for (std::size_t index : indices) {
        if (index < data_.rows.size()) {
            // From the bottom up, so that each index still names its row.
            step.splices.push_back({index, {data_.rows[index]}, {}});
        }
    }
    if (!step.splices.empty()) {
        commit(std::move(step));
    }
}

bool CalcSheet::move_row(std::size_t index, int direction) {
    if (index >= data_.rows.size() || (direction < 0 && index == 0) ||
        (direction > 0 && index + 1 >= data_.rows.size())) {
        return false;
    }
    const std::size_t top = direction < 0 ? index - 1 : index;
    Step step = begin_step();
    step.splices.push_back(
        {top, {data_.rows[top], data_.rows[top + 1]}, {data_.rows[top + 1], data_.rows[top]}});
    commit(std::move(step));
    return true;
}

void CalcSheet::set_limit(double limit) {
    Step step = begin_step();
    step.after.limit = limit;
    commit(std::move(step));
}

bool CalcSheet::undo() {
    if (undo_.empty()) {
        return false;
    }
    Step step = std::move(undo_.back());
    undo_.pop_back();
    apply(step, false);
    redo_.push_back(std::move(step));
    return true;
}

bool CalcSheet::redo() {
    if (redo_.empty()) {
        return false;
    }
    Step step = std::move(redo_.back());
    redo_.pop_back();
    apply(step, true);
    undo_.push_back(std::move(step));
    return true;
}

std::string CalcSheet::next_segment_number() const {
    return kestrune::next_segment_number(data_.rows);
}

std::string next_segment_number(const std::vector<SheetRow>& rows) {
    long largest = 0;
    for (const SheetRow& row : rows) {
        long number = 0;
        const char* end = row.segment.data() + row.segment.size();
        auto res = std::from_chars(row.segment.data(), end, number);
        if (res.ec == std::errc() && res.ptr == end && number > largest) {
            largest = number;
        }
    }
    return std::to_string(largest + 1);
}

void CalcSheet::recompute() {
    network_ = network_given(data_.rows) ? find_network(network_segments(data_.rows)) : Network{};
    report_ = loop_report(data_, losses_);
}

LoopReport loop_report(const SheetData& data, std::vector<SegmentLosses>& losses) {
    losses.clear();
    losses.reserve(data.rows.size());
    std::vector<LoopSegment> segments;
    segments.reserve(data.rows.size());
    for (const SheetRow& row : data.rows) {
        losses.push_back(segment_losses(row.r, row.v, row.rho, row.length, row.xi));
        segments.push_back({&row.loops, losses.back().total, volume_flow(row)});
    }
    return balance_loops(segments, data.loops, data.limit);
}

double volume_flow(const SheetRow& row) {
    // From the mass flow in kg/h and the row's own density.
    return row.rho > 0.0f ? logged_value(row.g_design) / logged_value(row.rho) : 0.0;
}

std::string cell_text(const CalcSheet& calc, std::size_t index, SheetColumn column) {
    const SheetRow& row = calc.data().rows.at(index);
    const SegmentLosses& losses = calc.losses().at(index);
    switch (column) {
        case SheetColumn::segment:
            return row.segment;
        case SheetColumn::upstream:
            return joined(row.upstream);
        case SheetColumn::consumer:
            return row.consumer > 0.0f ? float_box_form(row.consumer) : std::string();
        case SheetColumn::load:
            return float_box_form(row.q_design);
        case SheetColumn::flow:
            return float_box_form(row.g_design);
        case SheetColumn::length:
            return shortest_text(row.length);
        case SheetColumn::dn:
            return row.dn > 0 ? std::to_string(row.dn) : std::string();  // no pipe yet
        case SheetColumn::inner_diameter:
            return row.dn > 0 ? float_box_form(row.d) : std::string();
        case SheetColumn::velocity:
            return row.dn > 0 ? float_box_form(row.v) : std::string();
        case SheetColumn::resistance:
            return row.dn > 0 ? float_box_form(row.r) : std::string();
        case SheetColumn::friction_loss:
            return fixed_text(losses.friction, 1);
        case SheetColumn::xi:
            return shortest_text(row.xi);
        case SheetColumn::dynamic_pressure:
            return fixed_text(losses.dynamic, 1);
        case SheetColumn::local_loss:
            return fixed_text(losses.local, 1);
        case SheetColumn::total_loss:
            return fixed_text(losses.total, 1);
        case SheetColumn::loops:
            return joined(row.loops);
        case SheetColumn::note:
            return row.note;
    }
    return {};
}

}  // namespace kestrune
