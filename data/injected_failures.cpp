// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform_files.h"

namespace kestrune {

InjectedFailures& injected_failures() {
    static InjectedFailures failures;
    return failures;
}

}  // namespace kestrune
