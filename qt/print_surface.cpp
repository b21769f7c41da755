// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "print_colours.h"
#include "qt_text.h"

namespace kestrune {

PrintSurface::PrintSurface(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
}

void PrintSurface::clear() {
    page_.clear();
    update();
}

void PrintSurface::print_line(const PrintStatement& statement, std::size_t muted_from,
                              Tone last_item) {
    const QFontMetricsF metrics(font());
    auto width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(qt_text(text));
    };
    page_.print(statement, width, metrics.averageCharWidth(), muted_from, last_item);
    update();
}

QSizeF PrintSurface::printed_extent() const {
    const QFontMetricsF metrics(font());
    qreal right = 0;
    for (const auto& line : lines()) {
        for (const PlacedText& item : line) {
            right = std::max(right, item.x + metrics.horizontalAdvance(qt_text(item.text)));
        }
    }
    return {right, metrics.lineSpacing() * static_cast<qreal>(lines().size())};
}

QColor PrintSurface::colour(std::size_t line, std::size_t item) const {
    const auto rgb = [](const QColor& c) {
        return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue())};
    };
    const Rgb chosen = tone_colour(tone(line, item), rgb(palette().color(QPalette::WindowText)),
                                   rgb(palette().color(QPalette::Window)));
    return QColor(chosen.r, chosen.g, chosen.b);
}

std::optional<std::size_t> PrintSurface::line_at(qreal y) const {
    return page_.line_at(y, QFontMetricsF(font()).lineSpacing());
}

void PrintSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetricsF metrics(font());
    qreal baseline = metrics.ascent();
    for (std::size_t line = 0; line < lines().size(); ++line) {
        for (std::size_t item = 0; item < lines()[line].size(); ++item) {
            const PlacedText& placed = lines()[line][item];
            painter.setPen(colour(line, item));
            painter.drawText(QPointF(placed.x, baseline), qt_text(placed.text));
        }
        baseline += metrics.lineSpacing();
    }
}

}  // namespace kestrune
