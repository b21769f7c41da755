// SPDX-License-Identifier: GPL-3.0-or-later
#include "tooltips.h"

#include <commctrl.h>

#include <string>

#include "wide_text.h"

namespace kestrune {

HWND make_tooltips(HWND owner) {
    return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void set_control_tip(HWND tips, HWND owner, HWND control, std::string_view tip, bool added,
                     bool relayed) {
    std::wstring text = wide_text(tip);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the control
    tool.uFlags = TTF_IDISHWND | (relayed ? 0u : static_cast<UINT>(TTF_SUBCLASS));
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    SendMessageW(tips, added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
}

}  // namespace kestrune
