// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program: the same windows' behaviour on the Win32 front-end.
#include <objbase.h>
#include <windows.h>

#include "frmcompute.h"
#include "win32_windows.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The system's folder chooser is a COM object.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = 1;
    {
        kestrune::Win32Windows windows;
        kestrune::frmcompute handlers(windows);
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
