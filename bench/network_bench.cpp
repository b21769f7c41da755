// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the sheet answers as a network: 50 risers of 10 floors off a supply main and a
// reverse-order return main, 2100 segments serving 500 radiators. Prints the time of one
// edit (the network settled and the sheet recomputed), of 自动选管径 and of 平衡管径, each the
// median of repeated runs; then the system sketch laid out for a 504-segment part of it and
// for the whole, and the printed calculation with the sketch.
#include "network_bench.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "calc_sheet.h"
#include "example_files.h"
#include "fitting_table.h"
#include "pipe_balance.h"
#include "pipe_table.h"
#include "sheet_export.h"
#include "sheet_network.h"
#include "system_sketch.h"
#include "timing.h"

namespace kestrune {
namespace {

constexpr int floors = 10;

std::string name(char kind, int riser, int floor = 0) {
    return std::string(1, kind) + std::to_string(riser) + "." + std::to_string(floor);
}

SheetData network(int risers) {
    SheetData sheet;
    const auto add = [&](std::string segment, std::vector<std::string> upstream, float load,
                         double length) {
        SheetRow row = typed_row(sheet.rows, sheet.rows.size());
        row.segment = std::move(segment);
        row.upstream = std::move(upstream);
        row.consumer = load;
        row.length = length;
        row.xi = 2.0;
        sheet.rows.push_back(std::move(row));
    };
    for (int k = 0; k < risers; ++k) {
        add(name('M', k), k == 0 ? std::vector<std::string>{} : std::vector{name('M', k - 1)}, 0,
            8.0);
        for (int f = 0; f < floors; ++f) {
            add(name('S', k, f), {f == 0 ? name('M', k) : name('S', k, f - 1)}, 0, 3.0);
            add(name('B', k, f), {name('S', k, f)}, 0, 1.5 + f % 3);
            add(name('R', k, f), {name('B', k, f)}, 800.0f + 40.0f * static_cast<float>(f), 1.0);
            std::vector<std::string> returns{name('R', k, f)};
            if (f + 1 < floors) {
                returns.push_back(name('T', k, f + 1));
            }
            add(name('T', k, f), returns, 0, 3.0);
        }
    }
    for (int k = risers - 1; k >= 0; --k) {
        std::vector<std::string> returns{name('T', k, 0)};
        if (k + 1 < risers) {
            returns.push_back(name('N', k + 1));
        }
        add(name('N', k), returns, 0, 8.0);
    }
    return sheet;
}

// Loops over the imbalance limit.
std::size_t flagged_loops(const SheetData& data) {
    CalcSheet sheet;
    sheet.reset(data);
    std::size_t flagged = 0;
    for (const LoopResult& loop : sheet.report().loops) {
        flagged += loop.flagged ? 1 : 0;
    }
    return flagged;
}

// Draws nothing: what the windows' drawing costs beyond the toolkit's own.
struct NoCanvas : SketchCanvas {
    std::size_t calls = 0;
    void line(const std::vector<SketchPoint>&, int, Rgb) override { ++calls; }
    void fill(const SketchBox&, Rgb) override { ++calls; }
    void text(const std::string&, const SketchBox&, Rgb) override { ++calls; }
};

void sketch_bench(const SheetData& data, const PipeTable& pipes, const FittingTable& fittings) {
    SheetData sized = data;
    settle_network(sized);
    choose_pipes(sized, pipes, fittings);
    CalcSheet sheet;
    sheet.reset(sized);
    SystemSketch sketch;
    const double layout = median_ms(20, [&](int) { sketch = system_sketch(sheet); });
    NoCanvas canvas;
    const double draw = median_ms(20, [&](int) {
        draw_sketch(sketch, std::size_t{3}, {{0, 0, 0}, {255, 255, 255}, {0, 120, 215}}, canvas);
    });
    const ExportStamp stamp{"bench", "", "2026-12-08 09:30", "Kestrune"};
    const double pdf = median_ms(3, [&](int) {
        if (export_pdf("network.pdf", sheet, stamp)) {
            std::fprintf(stderr, "pdf export failed\n");
        }
    });
    std::printf(
        "system sketch of %zu segments: layout %.2f ms, drawing calls %.2f ms, "
        "%zu x %zu twips; 计算书 with it %.0f ms\n",
        sized.rows.size(), layout, draw, static_cast<std::size_t>(sketch.width),
        static_cast<std::size_t>(sketch.height), pdf);
}

}  // namespace

void network_bench() {
    const PipeTable pipes =
        parse_pipe_table(example_file("indata1.txt"), example_file("indata2.txt")).value();
    const FittingTable fittings = parse_fitting_table(example_file(fitting_table_file)).value();
    SheetData data = network(50);
    settle_network(data);
    CalcSheet sheet;
    sheet.reset(data);
    // One radiator's load changed: the network settled anew and the sheet recomputed.
    const double edit = median_ms(50, [&](int i) {
        SheetData after = sheet.data();
        after.rows[1000].consumer = 900.0f + static_cast<float>(i % 2);
        settle_network(after);
        sheet.replace(std::move(after));
    });
    SheetData plain;
    const double choose = median_ms(10, [&](int) {
        plain = sheet.data();
        choose_pipes(plain, pipes, fittings);
    });
    std::size_t changed = 0;
    SheetData balanced;
    const double balance = median_ms(5, [&](int) {
        balanced = plain;
        changed = balance_pipes(balanced, pipes, fittings).size();
    });
    std::printf("network of %zu segments, %zu loops (%zu over the limit after 自动选管径)\n",
                data.rows.size(), plain.loops.size(), flagged_loops(plain));
    std::printf("recompute after one edit: %.2f ms\n", edit);
    std::printf("自动选管径: %.1f ms\n", choose);
    const std::size_t still = flagged_loops(balanced);
    std::printf("平衡管径: %.1f ms (%zu segments narrowed, %zu loops still over the limit)\n",
                balance, changed, still);
    sketch_bench(network(12), pipes, fittings);
    sketch_bench(network(50), pipes, fittings);
}

}  // namespace kestrune
