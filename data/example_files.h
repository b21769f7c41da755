// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace kestrune {

// The example files the program carries within itself, byte for byte those of examples/: the
// pipe table (indata1.txt, indata2.txt) and the coefficient table (fittings.txt). They serve
// when no copy lies beside the program, as when it is started from inside its zip. Empty for
// any other name.
std::string_view example_file(std::string_view name);

}  // namespace kestrune
