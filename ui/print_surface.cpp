#include "print_surface.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kestrune {

PrintSurface::PrintSurface(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
}

void PrintSurface::clear() {
    lines_.clear();
    update();
}

void PrintSurface::print_line(const PrintStatement& statement) {
    const QFontMetricsF metrics(font());
    auto width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    lines_.push_back(place_items(statement, width, zone_columns * metrics.averageCharWidth()));
    update();
}

void PrintSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetricsF metrics(font());
    qreal baseline = metrics.ascent();
    for (const auto& line : lines_) {
        for (const PlacedText& item : line) {
            painter.drawText(QPointF(item.x, baseline), QString::fromStdString(item.text));
        }
        baseline += metrics.lineSpacing();
    }
}

}  // namespace kestrune
