// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the program starts against a bare window of its toolkit: each started in turn in
// a fresh working folder holding the example table, on the display the benchmark runs on.
// The time runs from the spawn until the X server maps the program's first window; the
// memory is the peak resident size, read when the process is ended a moment later.
//   kestrune_startup_bench PROGRAM BARE_WINDOW TABLE_FOLDER [ROUNDS [LAUNCHER]]
// With a launcher (wine), each program is started through it: the Windows program against a
// bare Win32 window, with the wineserver kept running by the caller.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Start {
    double ms = 0;
    double rss_mb = 0;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One start: spawn, wait for a window to be mapped, let it settle, end it.
bool start_once(const std::string& launcher, const std::string& program,
                const std::filesystem::path& tables, xcb_connection_t* x, Start& start) {
    char pattern[] = "/tmp/kestrune-start-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
        return false;
    }
    const std::filesystem::path folder = made;
    for (const char* table : {"indata1.txt", "indata2.txt"}) {
        std::filesystem::copy_file(tables / table, folder / table);
    }
    const auto spawned = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0) {
            _exit(126);
        }
        std::freopen("/dev/null", "w", stderr);  // the toolkit's notes
        if (launcher.empty()) {
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        } else {
            execlp(launcher.c_str(), launcher.c_str(), program.c_str(),
                   static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    bool mapped = false;
    while (!mapped) {
        xcb_generic_event_t* event = xcb_wait_for_event(x);
        if (event == nullptr) {
            break;
        }
        mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
        std::free(event);
    }
    start.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - spawned)
                   .count();
    usleep(300 * 1000);  // what it does just after showing counts too
    kill(child, SIGTERM);
    int status = 0;
    rusage used{};
    wait4(child, &status, 0, &used);
    start.rss_mb = static_cast<double>(used.ru_maxrss) / 1024.0;
    std::filesystem::remove_all(folder);
    return mapped;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PROGRAM BARE_WINDOW TABLE_FOLDER [ROUNDS [LAUNCHER]]\n",
                     argv[0]);
        return 2;
    }
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 15;
    const std::string launcher = argc > 5 ? argv[5] : "";
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x) != 0) {
        std::fprintf(stderr, "no X display to start the programs on\n");
        return 1;
    }
    // Every window mapped on the screen is told to us.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    std::vector<double> ms[2], rss[2];
    const std::string programs[2] = {argv[1], argv[2]};
    for (int round = 0; round < rounds + 1; ++round) {
        for (int which = 0; which < 2; ++which) {
            Start start;
            if (!start_once(launcher, programs[which], argv[3], x, start)) {
                std::fprintf(stderr, "%s showed no window\n", programs[which].c_str());
                return 1;
            }
            if (round > 0) {  // the first round warms the disk cache
                ms[which].push_back(start.ms);
                rss[which].push_back(start.rss_mb);
            }
        }
    }
    const double start_ratio = median(ms[0]) / median(ms[1]);
    const double rss_ratio = median(rss[0]) / median(rss[1]);
    std::printf("start-up, median of %d alternating starts:\n", rounds);
    std::printf("  %-12s %7.1f ms  %6.1f MB peak RSS\n", "program", median(ms[0]), median(rss[0]));
    std::printf("  %-12s %7.1f ms  %6.1f MB peak RSS\n", "bare window", median(ms[1]),
                median(rss[1]));
    std::printf("  ratio        %7.2fx     %6.2fx\n", start_ratio, rss_ratio);
    xcb_disconnect(x);
    return 0;
}
