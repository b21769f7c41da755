// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

#include "paper_pages.h"
#include "window_toolkit.h"

namespace kestrune {

// One page of the 计算书 drawn with GDI into area (device units), fitted to it and centred,
// in the font the PDF embeds where the system has it by name.
void draw_paper_page(HDC dc, const PaperReport& paper, std::size_t page, const RECT& area);

// The system's print dialog over owner, then the pages chosen to the printer chosen, as a
// job named title.
PrintOutcome print_paper_pages(HWND owner, const PaperReport& paper, const std::wstring& title);

}  // namespace kestrune
