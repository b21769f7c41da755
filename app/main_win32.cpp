// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program: the same windows' behaviour on the Win32 front-end.
#include <stdlib.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "frmcompute.h"
#include "program_places.h"
#include "sheet_export.h"
#include "wide_text.h"
#include "win32_windows.h"

namespace {

// The program's own folder, and the engineer's profile folder as home.
kestrune::ProgramPlaces places() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    const wchar_t* profile = _wgetenv(L"USERPROFILE");
    kestrune::ProgramPlaces places = kestrune::program_places(
        std::filesystem::path(program).parent_path(),
        profile != nullptr ? std::filesystem::path(profile) : std::filesystem::path());
    // The recent projects, in the roaming profile as Windows programs keep their settings.
    if (const wchar_t* app_data = _wgetenv(L"APPDATA")) {
        places.settings = std::filesystem::path(app_data) / L"Kestrune";
    }
    // The C runtime's split of the command line: the shell's would load it at every start.
    std::vector<std::string> texts;
    for (int i = 1; i < __argc && __wargv != nullptr; ++i) {
        texts.push_back(kestrune::utf8_text(__wargv[i]));
    }
    kestrune::take_start_arguments(places, texts);
    return places;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // COM, for the system's file dialogs, is made ready when one is first shown.
    kestrune::Win32Windows windows;
    kestrune::frmcompute handlers(windows, places(), kestrune::sheet_exports());
    windows.connect_to(handlers);
    if (!handlers.start()) {
        return 1;
    }
    windows.show_main();
    return windows.run();
}
