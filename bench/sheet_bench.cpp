// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the calculation sheet answers on a large system: 2000 segments in 50 loops.
// Prints the time of one edit's recomputation, of a save and of a load, each the median of
// repeated runs. Run from a scratch folder: it writes calcsheet.txt there.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "calc_sheet.h"
#include "design_state.h"
#include "example_files.h"
#include "fitting_table.h"
#include "network_bench.h"
#include "sheet_export.h"
#include "sheet_file.h"
#include "timing.h"

namespace {

using kestrune::CalcSheet;
using kestrune::median_ms;
using kestrune::SheetData;
using kestrune::SheetRow;

constexpr int segments = 2000;
constexpr int loops = 50;

SheetData large_sheet() {
    SheetData sheet;
    for (int i = 0; i < segments; ++i) {
        SheetRow row = kestrune::sheet_row_of(kestrune::design_state{});  // the defaults
        row.segment = std::to_string(i + 1);
        row.q_user = 1000.0f + static_cast<float>(i);
        row.q_design = row.q_user * 1.2f;
        row.g_design = 41.27f + static_cast<float>(i % 400);
        row.dn = 20;
        row.d = 21.25f;
        row.v = 0.329f;
        row.r = 101.17f;
        row.rho = 983.25f;
        row.length = 2.5 + i % 17;
        row.xi_entry = "2×90°煨弯 + 截止阀";
        row.xi = 13;
        // A main shared by every loop, then each loop's own risers and branches.
        if (i < 40) {
            for (int l = 1; l <= loops; ++l) {
                row.loops.push_back(std::to_string(l));
            }
        } else {
            row.loops.push_back(std::to_string(1 + i % loops));
        }
        sheet.rows.push_back(row);
    }
    return sheet;
}

}  // namespace

int main() {
    CalcSheet sheet;
    sheet.reset(large_sheet());
    const double edit = median_ms(200, [&sheet](int i) {
        SheetRow row = sheet.data().rows[1000];
        row.length = 3.0 + i;
        sheet.change_row(1000, row);
    });
    const std::filesystem::path file{kestrune::sheet_file_name};
    const double save = median_ms(20, [&sheet, &file](int) {
        if (kestrune::save_sheet(file, sheet.data())) {
            std::fprintf(stderr, "save failed\n");
        }
    });
    const double load = median_ms(20, [&file](int) {
        if (!kestrune::load_sheet(file)) {
            std::fprintf(stderr, "load failed\n");
        }
    });
    const auto fittings =
        kestrune::parse_fitting_table(kestrune::example_file(kestrune::fitting_table_file)).value();
    const kestrune::ExportStamp stamp{"bench", "", "2026-12-08 09:30", "Kestrune"};
    const double xlsx = median_ms(3, [&](int) {
        if (kestrune::export_xlsx("bench.xlsx", sheet, fittings, stamp)) {
            std::fprintf(stderr, "xlsx export failed\n");
        }
    });
    const double pdf = median_ms(3, [&](int) {
        if (kestrune::export_pdf("bench.pdf", sheet, stamp)) {
            std::fprintf(stderr, "pdf export failed\n");
        }
    });
    std::printf("sheet of %d segments in %d loops (%zu bytes on disk)\n", segments, loops,
                static_cast<std::size_t>(std::filesystem::file_size(file)));
    std::printf("recompute after one edit: %.2f ms\n", edit);
    std::printf("save: %.2f ms\n", save);
    std::printf("load: %.2f ms\n", load);
    std::printf("export to .xlsx: %.0f ms\n", xlsx);
    std::printf("export to PDF: %.0f ms\n", pdf);
    kestrune::network_bench();
    return 0;
}
