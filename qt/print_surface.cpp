// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "qt_text.h"

namespace kestrune {

PrintSurface::PrintSurface(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
}

void PrintSurface::clear() {
    lines_.clear();
    muted_from_.clear();
    update();
}

void PrintSurface::print_line(const PrintStatement& statement, std::size_t muted_from) {
    const QFontMetricsF metrics(font());
    auto width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(qt_text(text));
    };
    lines_.push_back(place_items(statement, width, zone_columns * metrics.averageCharWidth()));
    muted_from_.push_back(muted_from);
    update();
}

QSizeF PrintSurface::printed_extent() const {
    const QFontMetricsF metrics(font());
    qreal right = 0;
    for (const auto& line : lines_) {
        for (const PlacedText& item : line) {
            right = std::max(right, item.x + metrics.horizontalAdvance(qt_text(item.text)));
        }
    }
    return {right, metrics.lineSpacing() * static_cast<qreal>(lines_.size())};
}

void PrintSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetricsF metrics(font());
    const QColor plain = palette().color(QPalette::WindowText);
    // The preview reads as set apart from the table, yet stays easy to read: the text colour
    // taken a little more than half way towards the background.
    const QColor ground = palette().color(QPalette::Window);
    const QColor muted = QColor::fromRgbF(0.55f * plain.redF() + 0.45f * ground.redF(),
                                          0.55f * plain.greenF() + 0.45f * ground.greenF(),
                                          0.55f * plain.blueF() + 0.45f * ground.blueF());
    qreal baseline = metrics.ascent();
    for (std::size_t line = 0; line < lines_.size(); ++line) {
        for (std::size_t item = 0; item < lines_[line].size(); ++item) {
            const PlacedText& placed = lines_[line][item];
            painter.setPen(is_muted(line, item) ? muted : plain);
            painter.drawText(QPointF(placed.x, baseline), qt_text(placed.text));
        }
        baseline += metrics.lineSpacing();
    }
}

}  // namespace kestrune
