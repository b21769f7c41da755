// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>

namespace kestrune::testing {

// Limits under which a piece of work runs in a child process, so that a test can make a
// disk "full" or a folder truly read-only without privileges of its own.
struct ChildLimits {
    std::optional<off_t> largest_file;  // RLIMIT_FSIZE in bytes; writes past it fail
    bool drop_privileges = false;       // run as "nobody" when started as root
};

// Runs work in a forked child under the limits and returns its exit code (0 to 255), or
// -1 when the child did not exit normally.
int run_in_child(const ChildLimits& limits, const std::function<int()>& work);

}  // namespace kestrune::testing
