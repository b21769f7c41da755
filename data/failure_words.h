// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "arith_error.h"
#include "design_state.h"
#include "design_steps.h"
#include "file_error.h"

namespace kestrune {

// What went wrong with a file or a formula, in the engineer's words: said alike by the main
// window and by the calculation sheet. UTF-8.

// Why a file could not be used, in the engineer's words with the system's after them, or
// what stands in its place.
std::string file_failure_reason(const FileError& error);
std::string failure_reason(FileKind in_the_way, int code, const std::string& system_words);

std::string_view arith_error_words(ArithError error);

// A sizing whose formulas failed: why, and that nothing was logged.
std::string sizing_problem(const SizingFault& fault, const design_state& s);

}  // namespace kestrune
