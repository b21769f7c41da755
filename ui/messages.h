// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "design_state.h"
#include "design_steps.h"
#include "file_error.h"
#include "pipe_table.h"

namespace kestrune {

// What the engineer is told, in the program's voice, with what to do next.

QString table_problem(const TableError& error, const QString& working_folder);
// A table file is missing: choose another folder, or quit.
QString missing_table_question(const TableError& error, const QString& working_folder);
QString log_recreate_problem(const FileError& error, const QString& working_folder);
QString log_append_problem(const FileError& error);

// Shown under the output boxes while the load entry is in error.
QString load_problem(const LoadFault& fault, const design_state& s);
QString margin_problem();
// When OK is clicked while the load entry is in error.
QString load_blocks_sizing(const QString& problem);

QString sizing_problem(const SizingFault& fault, const design_state& s);
QString diameter_out_of_range(const QString& answer);
QString diameter_not_in_table(std::int16_t dn);

QString positive_value_needed(const QString& quantity, const QString& answer, float kept);
QString temperature_out_of_range(const QString& quantity, const QString& answer, std::int16_t kept);
QString temperature_difference_out_of_range(const design_state& s);

}  // namespace kestrune
