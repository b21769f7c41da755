// SPDX-License-Identifier: GPL-3.0-or-later
#include "frozen_column.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

namespace kestrune {

FrozenColumn::FrozenColumn(QTableView* grid, QTableView* frozen)
    : QObject(grid), grid_(grid), frozen_(frozen), viewport_(grid->viewport()) {
    frozen_->setModel(grid_->model());
    frozen_->setSelectionModel(grid_->selectionModel());
    for (int c = 1; c < grid_->model()->columnCount(); ++c) {
        frozen_->setColumnHidden(c, true);
    }
    frozen_->setFocusProxy(grid_);  // the keys stay with the grid
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->verticalHeader()->setDefaultSectionSize(grid_->verticalHeader()->defaultSectionSize());
    // Pixel by pixel sideways, so that a cell can be scrolled just clear of the column.
    grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    frozen_->hide();
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, grid_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FrozenColumn::follow);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, &FrozenColumn::follow);
    connect(grid_->horizontalHeader(), &QHeaderView::geometriesChanged, this,
            &FrozenColumn::follow);
    viewport_->installEventFilter(this);
}

void FrozenColumn::keep_clear(const QModelIndex& index) {
    QScrollBar* sideways = grid_->horizontalScrollBar();
    const int covered = grid_->columnWidth(0);
    const int left = grid_->visualRect(index).left();
    if (index.column() > 0 && sideways->value() > 0 && left < covered) {
        sideways->setValue(std::max(0, sideways->value() - (covered - left)));
    }
}

void FrozenColumn::follow() {
    const int frame = grid_->frameWidth();
    const int numbers = grid_->verticalHeader()->width();
    frozen_->verticalHeader()->setFixedWidth(numbers);
    frozen_->horizontalHeader()->setFixedHeight(grid_->horizontalHeader()->height());
    frozen_->setColumnWidth(0, grid_->columnWidth(0));
    frozen_->setGeometry(frame, frame, numbers + grid_->columnWidth(0),
                         grid_->horizontalHeader()->height() + grid_->viewport()->height());
    frozen_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->value());
    frozen_->setVisible(grid_->horizontalScrollBar()->value() > 0);
}

bool FrozenColumn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && event->type() == QEvent::Resize) {
        follow();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kestrune
