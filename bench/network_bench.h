// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

// Times the sheet as a network of 2100 segments and 500 consumers, and prints the figures.
void network_bench();

}  // namespace kestrune
