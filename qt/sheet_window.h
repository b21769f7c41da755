// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "sheet_grid.h"
#include "sheet_keys.h"

class QPushButton;

namespace kestrune {

class FrozenColumn;
class SketchPane;

// The sheet's cells for a table view, read from the sheet each time they are drawn.
class SheetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    SheetModel(const frmsheet& sheet, const SheetGrid& grid, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The sheet changed: rows added or gone, any cell anew.
    void refresh();

  private:
    const frmsheet& sheet_;
    const SheetGrid& grid_;  // the cells' tips
    int rows_ = 0;
};

// The grid: keys and clicks go to the sheet's grid, which decides; nothing is edited here.
class SheetView : public QTableView {
    Q_OBJECT
  public:
    explicit SheetView(QWidget* parent);
    std::function<void(const KeyStroke&)> on_key;
    std::function<void(int row, int column, bool extend)> on_click;
    std::function<void(int row, int column)> on_double_click;

  protected:
    bool event(QEvent* event) override;  // Tab and Shift+Tab stay in the grid
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;  // Chinese typed on a cell
};

// The keys the grid knows by name, as Qt codes them.
inline constexpr NamedKey<int> qt_named_keys[] = {
    {Qt::Key_Up, PhysicalKey::up},
    {Qt::Key_Down, PhysicalKey::down},
    {Qt::Key_Left, PhysicalKey::left},
    {Qt::Key_Right, PhysicalKey::right},
    {Qt::Key_Tab, PhysicalKey::tab},
    {Qt::Key_Backtab, PhysicalKey::tab},
    {Qt::Key_Return, PhysicalKey::enter},
    {Qt::Key_Enter, PhysicalKey::enter},
    {Qt::Key_Escape, PhysicalKey::escape},
    {Qt::Key_F2, PhysicalKey::f2},
    {Qt::Key_Delete, PhysicalKey::delete_key},
    {Qt::Key_Home, PhysicalKey::home},
    {Qt::Key_End, PhysicalKey::end},
    {Qt::Key_Space, PhysicalKey::space},
};

// The key as the sheet's grid names it.
KeyStroke key_stroke(const QKeyEvent& event);

// The calculation sheet's window: the commands' buttons, the grid with its in-place editor,
// the message line and the loop summary, all drawn from the sheet and the grid.
class SheetWindow : public QWidget {
    Q_OBJECT
  public:
    SheetWindow(SheetGrid& grid, const frmsheet& sheet);
    ~SheetWindow() override;

    void refresh();
    // Another project: its title, and its columns' widths.
    void project_changed(const QString& title);
    SheetView* view() const { return view_; }
    SheetView* frozen_view() const { return frozen_view_; }  // 管段号 while scrolled sideways
    QLineEdit* editor() const { return editor_; }
    QTableWidget* loops() const { return loops_; }
    QLabel* message() const { return message_; }
    SketchPane* sketch() const { return sketch_; }
    QListWidget* offers() const { return offers_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // an entry in progress is taken or asked

  private:
    void lay_out();
    void apply_column_widths();
    int grid_width() const;  // the grid with every column shown
    void press(const KeyPress& key);
    void refresh_selection();
    void refresh_editor();
    void refresh_offers();
    void refresh_loops();

    SheetGrid& grid_;
    const frmsheet& sheet_;
    std::vector<QPushButton*> buttons_;
    SheetModel* model_;
    SheetView* view_;
    SheetView* frozen_view_;
    FrozenColumn* frozen_ = nullptr;
    QLineEdit* editor_;
    QLabel* message_;
    QLabel* loops_title_;
    QTableWidget* loops_;
    QLabel* loop_notes_;
    SketchPane* sketch_;
    QListWidget* offers_;        // the fittings offered while a Σξ is typed
    QTimer* keep_widths_;        // the columns' widths kept once a drag has stopped
    bool sketch_shown_ = false;  // the layout gives it room
};

}  // namespace kestrune
