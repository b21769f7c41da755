// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program: the same windows' behaviour on the Win32 front-end.
#include <objbase.h>
#include <shellapi.h>
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
    int count = 0;
    if (wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> texts;
        for (int i = 1; i < count; ++i) {
            texts.push_back(kestrune::utf8_text(arguments[i]));
        }
        LocalFree(arguments);
        kestrune::take_start_arguments(places, texts);
    }
    return places;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The system's folder chooser is a COM object.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = 1;
    {
        kestrune::Win32Windows windows;
        kestrune::frmcompute handlers(windows, places(), kestrune::sheet_exports());
        windows.connect_to(handlers);
        if (handlers.start()) {
            windows.show_main();
            code = windows.run();
        }
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return code;
}
