// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The system libraries the main window does not need (the shell, COM), loaded when the
// engineer first opens a file, chooses a folder or saves: a start that never does is spared
// loading them, and the shell's many libraries with them.

// COM before the dialogs, which declare PRINTDLGEX only where COM is.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <commdlg.h>
#include <shobjidl.h>
// clang-format on

namespace kestrune {

// ShellExecuteW's "open": true when the system started a program for the file.
bool shell_open(HWND owner, const wchar_t* file);
// CoCreateInstance of an in-process object, COM made ready on this thread the first time.
HRESULT create_com_object(REFCLSID type, REFIID interface_id, void** object);
// SHCreateItemFromParsingName.
HRESULT shell_item_of(const wchar_t* path, IShellItem** item);
// PrintDlgExW: the system's print dialog.
HRESULT print_dialog(PRINTDLGEXW* dialog);
// CoTaskMemFree, for what a COM object handed over.
void free_com_memory(void* memory);

}  // namespace kestrune
