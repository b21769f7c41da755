// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollArea>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>

#include "system_sketch.h"

namespace kestrune {

// The system sketch drawn at a zoom: a click on a segment names its row, Ctrl with the wheel
// zooms; it scrolls inside a SketchPane.
class SketchPicture : public QWidget {
    Q_OBJECT
  public:
    explicit SketchPicture(QWidget* parent);
    void show_sketch(SystemSketch sketch, std::optional<std::size_t> current);
    const SystemSketch& sketch() const { return sketch_; }
    double zoom() const { return zoom_; }
    // Where a point of the sketch (twips) is drawn, in this widget's pixels.
    QPointF at(SketchPoint point) const;
    std::function<void(std::size_t row)> on_row;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void resize_to_sketch();
    // Pixels of this widget as the sketch's twips.
    SketchBox twips_of(const QRect& pixels) const;

    SystemSketch sketch_;
    std::optional<std::size_t> current_;
    double zoom_ = 1.0;
};

// The sketch beside the sheet's grid, scrolled to keep the current row's segment in view.
class SketchPane : public QScrollArea {
    Q_OBJECT
  public:
    explicit SketchPane(QWidget* parent);
    SketchPicture* picture() const { return picture_; }
    void show_sketch(SystemSketch sketch, std::optional<std::size_t> current);

  protected:
    void wheelEvent(QWheelEvent* event) override;  // Shift: sideways, as on Windows
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // The current row's segment into view, once the pane has its size.
    void scroll_to_current();

    SketchPicture* picture_;
    std::optional<std::size_t> current_;
    bool scroll_pending_ = false;  // the current row changed since it was last scrolled to
};

}  // namespace kestrune
