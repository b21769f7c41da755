// SPDX-License-Identifier: GPL-3.0-or-later
#include "child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace kestrune::testing {

int run_in_child(const ChildLimits& limits, const std::function<int()>& work) {
    pid_t pid = fork();
    if (pid < 0) {
        return -1;
    }
    if (pid == 0) {
        if (limits.largest_file) {
            // A write past the limit must fail with EFBIG rather than kill the child.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{static_cast<rlim_t>(*limits.largest_file),
                         static_cast<rlim_t>(*limits.largest_file)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                _exit(250);
            }
        }
        if (limits.drop_privileges && geteuid() == 0) {
            const uid_t nobody = 65534;
            if (setgid(nobody) != 0 || setuid(nobody) != 0) {
                _exit(251);
            }
        }
        _exit(work());
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace kestrune::testing
