// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "example_files.h"

namespace kestrune::testing {

using kestrune::example_file;

// The standard welded steel heating pipes DN15 to DN150 as the two table files hold them:
// the program's own copy of examples/indata1.txt and examples/indata2.txt.
inline const char* const example_dn = example_file("indata1.txt").data();
inline const char* const example_d = example_file("indata2.txt").data();

}  // namespace kestrune::testing
