// SPDX-License-Identifier: GPL-3.0-or-later
#include "late_libraries.h"

#include <objbase.h>
#include <shellapi.h>

namespace kestrune {
namespace {

// A function of a system library, the library loaded on the first call for it; null when
// the system has neither.
template <class Function>
Function* late(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr) {
        module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (module == nullptr) {
        module = LoadLibraryW(library);  // Windows 7 without the search flags
    }
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool shell_open(HWND owner, const wchar_t* file) {
    static auto* const execute = late<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (execute == nullptr) {
        return false;
    }
    // ShellExecute answers above 32 when it started the program for the file's type.
    return reinterpret_cast<INT_PTR>(
               execute(owner, L"open", file, nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

HRESULT create_com_object(REFCLSID type, REFIID interface_id, void** object) {
    static auto* const initialize = late<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    static auto* const create = late<decltype(CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    if (initialize == nullptr || create == nullptr) {
        return E_NOTIMPL;
    }
    // Once for the window thread, for as long as the program runs: the system's dialogs are
    // apartment objects.
    static const HRESULT ready =
        initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    (void)ready;
    return create(type, nullptr, CLSCTX_INPROC_SERVER, interface_id, object);
}

HRESULT shell_item_of(const wchar_t* path, IShellItem** item) {
    static auto* const parse =
        late<decltype(SHCreateItemFromParsingName)>(L"shell32.dll", "SHCreateItemFromParsingName");
    return parse == nullptr ? E_NOTIMPL
                            : parse(path, nullptr, IID_IShellItem, reinterpret_cast<void**>(item));
}

HRESULT print_dialog(PRINTDLGEXW* dialog) {
    static auto* const show = late<decltype(PrintDlgExW)>(L"comdlg32.dll", "PrintDlgExW");
    return show == nullptr ? E_NOTIMPL : show(dialog);
}

void free_com_memory(void* memory) {
    static auto* const free = late<decltype(CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (free != nullptr) {
        free(memory);
    }
}

}  // namespace kestrune
