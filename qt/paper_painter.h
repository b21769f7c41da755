// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPagedPaintDevice>

#include "paper_pages.h"

namespace kestrune {

// Pages first to last (counted from 1) of the 计算书 painted on a printer or any paged
// device, each fitted to the device's paper, in the font the PDF embeds. False when nothing
// could be painted (the printer was not ready).
bool paint_paper(QPagedPaintDevice& device, const PaperReport& paper, int first, int last);

}  // namespace kestrune
