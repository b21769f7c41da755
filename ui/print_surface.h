#pragma once

#include <QWidget>
#include <vector>

#include "print_line.h"

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
    // Draws one statement at the print position and moves one text line lower.
    void print_line(const PrintStatement& statement);

    // What has been printed, line by line, item by item, with positions in pixels.
    const std::vector<std::vector<PlacedText>>& lines() const { return lines_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<std::vector<PlacedText>> lines_;
};

}  // namespace kestrune
