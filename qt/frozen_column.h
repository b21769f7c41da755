// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTableView>

namespace kestrune {

// The grid's first column (管段号) and its row numbers, held in place while the grid
// scrolls sideways: a second view of the same model and selection laid over the grid's
// left edge, shown only while the grid is scrolled, so that each row still names its
// segment however far right the engineer looks.
class FrozenColumn : public QObject {
    Q_OBJECT
  public:
    // frozen: a view made for this, a child of grid; its clicks are wired by its owner.
    FrozenColumn(QTableView* grid, QTableView* frozen);
    // Scrolls the grid so that a cell right of the frozen column is not hidden under it.
    void keep_clear(const QModelIndex& index);
    // The frozen column's place and visibility, after the grid's size, widths or scrolling.
    void follow();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTableView* grid_;
    QTableView* frozen_;
    QWidget* viewport_;  // the grid's, whose resizing moves the frozen column
};

}  // namespace kestrune
