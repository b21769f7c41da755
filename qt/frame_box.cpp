// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_box.h"

#include <QPainter>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace kestrune {

// As the Fusion style lays its frame out: the caption above, the panel below it, a light
// panel within a grey line.
void FrameBox::paintEvent(QPaintEvent*) {
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    constexpr int caption_gap = 3;  // px between the caption's line and the panel
    const int caption = std::max(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight),
                                 option.fontMetrics.height());
    const QRect panel =
        style()
            ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, this)
            .adjusted(0, caption + caption_gap, 0, 0);
    const QColor window = palette().color(QPalette::Window);
    QPainter painter(this);
    painter.fillRect(panel, window.darker(101));
    painter.setPen(window.darker(111));
    painter.drawRect(panel.adjusted(0, 0, -1, -1));
    const QRect label =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    style()->drawItemText(&painter, label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                          palette(), isEnabled(), title(), QPalette::WindowText);
}

}  // namespace kestrune
