// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "loop_balance.h"
#include "network.h"
#include "segment_losses.h"
#include "sheet_columns.h"
#include "sheet_file.h"

namespace kestrune {

// The sheet's rows and loops, what they give (losses per segment, the loop balance), and
// the history of its changes for undo and redo. Every change is one step of that history
// and recomputes what follows from it.
class CalcSheet {
  public:
    // Steps kept for undo; older ones are let go.
    static constexpr std::size_t kept_steps = 100;

    CalcSheet() { recompute(); }

    const SheetData& data() const { return data_; }
    const std::vector<SegmentLosses>& losses() const { return losses_; }
    const LoopReport& report() const { return report_; }
    // The network its 上游 column gives; empty (no loops, no faults) without one.
    const Network& network() const { return network_; }
    bool has_network() const { return !network_.carried.empty(); }

    // A sheet read from its file: no history before it.
    void reset(SheetData data);

    // The sheet as one action leaves it (rows changed, added or taken away, its loops and
    // limit): one step; false when nothing changed. With a network its loops are exactly
    // those given; without one, loops the rows name become known.
    bool replace(SheetData after);

    void add_row(SheetRow row);
    // A row changed; loops it names that the sheet does not know yet become known.
    void change_row(std::size_t index, SheetRow row);
    // Several rows changed by one action (a paste, a Delete over a selection): one step, so
    // one undo takes the whole action back. Rows equal to what they were make no step; false
    // when nothing changed.
    bool change_rows(std::vector<std::pair<std::size_t, SheetRow>> changes);
    void remove_rows(std::vector<std::size_t> indices);
    // Swaps a row with its neighbour above (-1) or below (+1); false at the edge.
    bool move_row(std::size_t index, int direction);
    void set_limit(double limit);

    bool undo();
    bool redo();
    bool can_undo() const { return !undo_.empty(); }
    bool can_redo() const { return !redo_.empty(); }

    // The 管段号 a new row gets: one more than the largest whole number among them.
    std::string next_segment_number() const;

  private:
    // Rows [at, at + before.size()) replaced by after.
    struct Splice {
        std::size_t at = 0;
        std::vector<SheetRow> before;
        std::vector<SheetRow> after;
    };
    struct Step {
        std::vector<Splice> splices;  // applied in order
        SheetSettings before, after;  // everything but the rows
    };

    Step begin_step() const;
    // Loops a row names that the sheet does not know yet become known with the step.
    static void know_loops(Step& step, const SheetRow& row);
    void commit(Step step);
    void apply(const Step& step, bool forward);
    void recompute();

    SheetData data_;
    std::vector<SegmentLosses> losses_;
    LoopReport report_;
    Network network_;
    std::deque<Step> undo_;
    std::vector<Step> redo_;
};

// Each row's losses and the loop balance they give: what the sheet shows for data.
LoopReport loop_report(const SheetData& data, std::vector<SegmentLosses>& losses);
// A row's volume flow, m³/h.
double volume_flow(const SheetRow& row);

// The 管段号 a new row among these gets: one more than the largest whole number among them.
std::string next_segment_number(const std::vector<SheetRow>& rows);

// A cell of the sheet as the windows, the clipboard and the printed calculation show it:
// logged values with the digits the results window shows, losses to 0.1 Pa, Σξ as its sum.
std::string cell_text(const CalcSheet& calc, std::size_t row, SheetColumn column);

}  // namespace kestrune
