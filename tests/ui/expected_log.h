// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "design_state.h"
#include "print_line.h"
#include "print_statements.h"
#include "temp_folder.h"

namespace kestrune::testing {

// A small table with the row 25 / 21.25 of the worked example.
inline const char* const worked_dn = "15\r\n24\r\n25\r\n26\r\n27\r\n";
inline const char* const worked_d = "15.75\r\n20\r\n21.25\r\n22\r\n0\r\n";

// The pipe table's two files written into the working folder; a null one is left out.
inline void write_pipe_table(const char* dn_file, const char* d_file) {
    if (dn_file != nullptr) {
        write_bytes("indata1.txt", dn_file);
    }
    if (d_file != nullptr) {
        write_bytes("indata2.txt", d_file);
    }
}

inline std::string header_bytes() {
    return file_line(log_header());
}

inline std::string row_bytes(float q_user, float q_design, float g, std::int16_t dn, float v,
                             float r) {
    design_state s;
    s.q_user = q_user;
    s.q_design = q_design;
    s.g_design = g;
    s.dn = dn;
    s.v = v;
    s.r = r;
    return file_line(result_values(s));
}

inline const std::string worked_row = row_bytes(10000, 12000, 412.71f, 25, 0.329f, 101.17f);
// The same values as the results window prints them, items joined by "|".
inline const char* const worked_values = " 10000 | 12000 | 412.71 | 25 | .329 | 101.17 ";

}  // namespace kestrune::testing
