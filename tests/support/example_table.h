// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune::testing {

// The standard welded steel heating pipes DN15 to DN150 as the two table files hold them,
// the same bytes as examples/indata1.txt and examples/indata2.txt.
inline const char* const example_dn =
    "15\r\n20\r\n25\r\n32\r\n40\r\n50\r\n70\r\n80\r\n100\r\n125\r\n150\r\n";
inline const char* const example_d =
    "15.75\r\n21.25\r\n27\r\n35.75\r\n41\r\n53\r\n68\r\n80.5\r\n106\r\n131\r\n156\r\n";

}  // namespace kestrune::testing
