// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>
#include <QWidget>
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

#include "print_line.h"
#include "print_page.h"
#include "window_toolkit.h"

namespace kestrune {

// A client area that is printed on line by line, like a sheet: each print statement is laid
// out by the same zone rule as the results log, measured in this widget's font (a text
// advances by its drawn width; zones are 14 average character widths apart). The lines are
// kept, so that they are drawn again after the window is covered or resized.
class PrintSurface : public QWidget {
    Q_OBJECT
  public:
    explicit PrintSurface(QWidget* parent = nullptr);

    // Erases everything; the next line goes to the top-left corner again.
    void clear();
    // Draws one statement at the print position and moves one text line lower. Items from
    // muted_from on are drawn in a muted colour: they are a preview, not table data.
    void print_line(const PrintStatement& statement,
                    std::size_t muted_from = std::numeric_limits<std::size_t>::max(),
                    Tone last_item = Tone::plain);

    // What has been printed, line by line, item by item, with positions in pixels.
    const std::vector<std::vector<PlacedText>>& lines() const { return page_.lines(); }
    bool is_muted(std::size_t line, std::size_t item) const { return page_.is_muted(line, item); }
    // The tone an item is drawn in, and the colour that gives under the current palette.
    Tone tone(std::size_t line, std::size_t item) const { return page_.tone(line, item); }
    QColor colour(std::size_t line, std::size_t item) const;
    // The printed line at a height in pixels; nullopt below the last one.
    std::optional<std::size_t> line_at(qreal y) const;
    // Width up to the right end of the widest line and height down to the last line, pixels.
    QSizeF printed_extent() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    PrintPage page_;
};

}  // namespace kestrune
