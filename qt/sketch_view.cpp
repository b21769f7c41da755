// SPDX-License-Identifier: GPL-3.0-or-later
#include "sketch_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "fonts.h"
#include "qt_text.h"
#include "sheet_layout.h"
#include "twips.h"

namespace kestrune {
namespace {

QColor colour_of(Rgb rgb) {
    return {rgb.r, rgb.g, rgb.b};
}

Rgb rgb_of(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

// The sketch's twips as logical pixels at a zoom.
double scaled(int twips, double zoom) {
    return twips * zoom / 15.0;
}

class PainterCanvas : public SketchCanvas {
  public:
    PainterCanvas(QPainter& painter, double zoom) : painter_(painter), zoom_(zoom) {
        painter_.setFont(control_font(sketch_points * zoom));
    }
    void line(const std::vector<SketchPoint>& points, int width, Rgb colour) override {
        QPen pen(colour_of(colour), std::max(1.0, scaled(width, zoom_)));
        pen.setCapStyle(Qt::SquareCap);
        painter_.setPen(pen);
        QPainterPath path(point(points.front()));
        for (std::size_t k = 1; k < points.size(); ++k) {
            path.lineTo(point(points[k]));
        }
        painter_.drawPath(path);
    }
    void fill(const SketchBox& box, Rgb colour) override {
        painter_.fillRect(rect(box), colour_of(colour));
    }
    void text(const std::string& text, const SketchBox& box, Rgb colour) override {
        painter_.setPen(colour_of(colour));
        painter_.drawText(rect(box), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                          qt_text(text));
    }

  private:
    QPointF point(SketchPoint p) const { return {scaled(p.x, zoom_), scaled(p.y, zoom_)}; }
    QRectF rect(const SketchBox& b) const {
        return {scaled(b.x, zoom_), scaled(b.y, zoom_), scaled(b.width, zoom_),
                scaled(b.height, zoom_)};
    }
    QPainter& painter_;
    double zoom_;
};

}  // namespace

SketchBox SketchPicture::twips_of(const QRect& pixels) const {
    const auto twips = [this](int pixel) { return static_cast<int>(pixel * 15.0 / zoom_); };
    return {twips(pixels.x()), twips(pixels.y()), twips(pixels.width() + 1),
            twips(pixels.height() + 1)};
}

SketchPicture::SketchPicture(QWidget* parent) : QWidget(parent) {
    setToolTip(qt_text(sketch_tip));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void SketchPicture::show_sketch(SystemSketch sketch, std::optional<std::size_t> current) {
    sketch_ = std::move(sketch);
    current_ = current;
    resize_to_sketch();
    update();
}

QPointF SketchPicture::at(SketchPoint point) const {
    return {scaled(point.x, zoom_), scaled(point.y, zoom_)};
}

void SketchPicture::resize_to_sketch() {
    const int width = std::max(sketch_.width, sketch_text_twips(sketch_.note) + 480);
    const int height = std::max(sketch_.height, 720);
    resize(sketch_pixels(width, zoom_, px), sketch_pixels(height, zoom_, px));
}

void SketchPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPalette palette = QApplication::palette();
    PainterCanvas canvas(painter, zoom_);
    draw_sketch(sketch_, current_,
                {rgb_of(palette.color(QPalette::Text)), rgb_of(palette.color(QPalette::Base)),
                 rgb_of(palette.color(QPalette::Highlight))},
                canvas, twips_of(event->rect()));
}

void SketchPicture::mousePressEvent(QMouseEvent* event) {
    const SketchBox at = twips_of({event->position().toPoint(), QSize(0, 0)});
    const auto row = sketch_row_at(sketch_, {at.x, at.y});
    if (row && on_row) {
        on_row(*row);
    }
}

void SketchPicture::wheelEvent(QWheelEvent* event) {
    if (!event->modifiers().testFlag(Qt::ControlModifier) || event->angleDelta().y() == 0) {
        event->ignore();  // the pane scrolls
        return;
    }
    zoom_ = next_sketch_zoom(zoom_, event->angleDelta().y() > 0 ? 1 : -1);
    resize_to_sketch();
    update();
    event->accept();
}

SketchPane::SketchPane(QWidget* parent) : QScrollArea(parent), picture_(new SketchPicture(this)) {
    setWidget(picture_);
    setWidgetResizable(false);
    // The keys stay with the grid: the sketch is read and clicked, never typed into.
    setFocusPolicy(Qt::NoFocus);
    picture_->setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Base);
}

void SketchPane::wheelEvent(QWheelEvent* event) {
    if (event->modifiers().testFlag(Qt::ShiftModifier) && event->angleDelta().x() == 0) {
        QScrollBar* across = horizontalScrollBar();
        across->setValue(across->value() - event->angleDelta().y() * across->singleStep() / 40);
        event->accept();
        return;
    }
    QScrollArea::wheelEvent(event);
}

void SketchPane::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    scroll_to_current();
}

void SketchPane::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    scroll_to_current();
}

void SketchPane::show_sketch(SystemSketch sketch, std::optional<std::size_t> current) {
    scroll_pending_ = scroll_pending_ || (current && current != current_);
    current_ = current;
    picture_->show_sketch(std::move(sketch), current);
    scroll_to_current();
}

void SketchPane::scroll_to_current() {
    if (!scroll_pending_ || !current_ || viewport()->width() <= 1 || !isVisible()) {
        return;
    }
    scroll_pending_ = false;
    const auto box = sketch_row_box(picture_->sketch(), *current_);
    if (!box) {
        return;
    }
    // Once the scroll bars have followed the picture's new size.
    QTimer::singleShot(0, this, [this, box = *box] {
        const QPointF a = picture_->at({box.x, box.y});
        const QPointF b = picture_->at({box.right(), box.bottom()});
        ensureVisible(static_cast<int>((a.x() + b.x()) / 2), static_cast<int>((a.y() + b.y()) / 2),
                      static_cast<int>((b.x() - a.x()) / 2) + 8,
                      static_cast<int>((b.y() - a.y()) / 2) + 8);
    });
}

}  // namespace kestrune
