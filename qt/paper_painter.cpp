// SPDX-License-Identifier: GPL-3.0-or-later
#include "paper_painter.h"

#include <QFontDatabase>
#include <QMap>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "qt_text.h"

namespace kestrune {
namespace {

// The family of the PDF's font file, added to the application once; the system's default
// font where the file cannot be read.
QString family_of(const PaperReport& paper) {
    static QMap<QString, QStringList> added;
    const QString file = QString::fromStdWString(paper.font_file.wstring());
    if (!added.contains(file)) {
        const int id = QFontDatabase::addApplicationFont(file);
        added.insert(file, id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id));
    }
    const QStringList& families = added.value(file);
    if (families.isEmpty()) {
        return {};
    }
    return families.value(std::clamp(paper.font_index, 0, static_cast<int>(families.size()) - 1));
}

QColor colour_of(Rgb colour) {
    return {colour.r, colour.g, colour.b};
}

}  // namespace

bool paint_paper(QPagedPaintDevice& device, const PaperReport& paper, int first, int last) {
    QPainter painter;
    if (paper.pages.empty() || !painter.begin(&device)) {
        return false;
    }
    // Points to the device's pixels, the page fitted to the paper and centred on it.
    const PaperFit fit = fit_paper(paper, 0, 0, device.width(), device.height());
    const double scale = fit.scale;
    const auto at = [&](PaperPoint p) { return QPointF(fit.x(p), fit.y(p)); };
    QFont font(family_of(paper));
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(paper.pages.size()));
    for (int k = first; k <= last; ++k) {
        if (k > first && !device.newPage()) {
            return false;
        }
        for (const PaperMark& m : paper.pages[static_cast<std::size_t>(k - 1)].marks) {
            switch (m.kind) {
                case PaperMark::Kind::text:
                    font.setPointSizeF(m.size * scale * 72.0 / device.logicalDpiY());
                    painter.setFont(font);
                    painter.setPen(colour_of(m.colour));
                    painter.drawText(at(m.points[0]), qt_text(m.text));
                    break;
                case PaperMark::Kind::line: {
                    QPolygonF line;
                    for (const PaperPoint& p : m.points) {
                        line << at(p);
                    }
                    painter.setPen(QPen(colour_of(m.colour), std::max(1.0, m.size * scale)));
                    painter.drawPolyline(line);
                    break;
                }
                case PaperMark::Kind::box:
                    painter.fillRect(QRectF(at(m.points[0]), at(m.points[1])).normalized(),
                                     colour_of(m.colour));
                    break;
                case PaperMark::Kind::clip:
                    painter.save();
                    painter.setClipRect(QRectF(at(m.points[0]), at(m.points[1])).normalized());
                    break;
                case PaperMark::Kind::unclip:
                    painter.restore();
                    break;
            }
        }
    }
    return painter.end();
}

}  // namespace kestrune
