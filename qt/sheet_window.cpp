// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_window.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

#include "fonts.h"
#include "print_colours.h"
#include "problem_line.h"
#include "qt_text.h"
#include "sheet_cells.h"
#include "twips.h"

namespace kestrune {
namespace {

Rgb rgb_of(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

QColor colour_of(Rgb rgb) {
    return {rgb.r, rgb.g, rgb.b};
}

// The colours of a cell under the system's palette.
QVariant cell_role(const ShownCell& cell, int role) {
    const QPalette palette = QApplication::palette();
    const Rgb text = rgb_of(palette.color(QPalette::Text));
    const Rgb base = rgb_of(palette.color(QPalette::Base));
    const Rgb ground = cell.read_only ? read_only_background(text, base) : base;
    switch (role) {
        case Qt::DisplayRole:
            return qt_text(cell.text);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (cell.right_aligned ? Qt::AlignRight : Qt::AlignLeft));
        case Qt::ForegroundRole:
            return colour_of(tone_colour(cell.tone, text, ground));
        case Qt::BackgroundRole:
            return colour_of(ground);
        default:
            return {};
    }
}

int column_width(const QFontMetrics& metrics, int characters, const QString& title) {
    return column_pixels(metrics.averageCharWidth(), characters, metrics.horizontalAdvance(title));
}

}  // namespace

KeyStroke key_stroke(const QKeyEvent& event) {
    KeyStroke stroke;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    stroke.shift = modifiers.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab;
    stroke.ctrl = modifiers.testFlag(Qt::ControlModifier);
    stroke.alt = modifiers.testFlag(Qt::AltModifier);
    if (auto key = key_named<int>(qt_named_keys, event.key())) {
        stroke.key = *key;
    } else if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) {
        stroke.key = PhysicalKey::letter;
        stroke.letter = static_cast<char>('A' + (event.key() - Qt::Key_A));
    }
    stroke.text = utf8_text(event.text());
    return stroke;
}

SheetModel::SheetModel(const frmsheet& sheet, QObject* parent)
    : QAbstractTableModel(parent), sheet_(sheet), rows_(static_cast<int>(sheet.rows())) {}

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(sheet_columns.size());
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) {
        return {};
    }
    return cell_role(shown_cell(sheet_.sheet(), static_cast<std::size_t>(index.row()),
                                static_cast<std::size_t>(index.column())),
                     role);
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return qt_text(column_title(static_cast<std::size_t>(section)));
    }
    return section + 1;
}

void SheetModel::refresh() {
    const int now = static_cast<int>(sheet_.rows());
    if (now > rows_) {
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    } else if (now < rows_) {
        beginRemoveRows({}, now, rows_ - 1);
        rows_ = now;
        endRemoveRows();
    }
    if (rows_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    }
}

SheetView::SheetView(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
}

bool SheetView::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QTableView::event(event);
}

void SheetView::keyPressEvent(QKeyEvent* event) {
    if (on_key) {
        on_key(key_stroke(*event));
    }
    event->accept();
}

void SheetView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    setFocus();
    if (at.isValid() && on_click) {
        on_click(at.row(), at.column(), event->modifiers().testFlag(Qt::ShiftModifier));
    }
}

void SheetView::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double-click edits the cell, as F2 does.
    mousePressEvent(event);
    if (on_key) {
        on_key({PhysicalKey::f2, 0, false, false, false, {}});
    }
}

void SheetView::inputMethodEvent(QInputMethodEvent* event) {
    // What an input method commits on a cell starts an entry, as typed characters do.
    if (on_key && !event->commitString().isEmpty()) {
        on_key({PhysicalKey::other, 0, false, false, false, utf8_text(event->commitString())});
    }
    event->accept();
}

SheetWindow::SheetWindow(SheetGrid& grid, const frmsheet& sheet)
    : QWidget(nullptr, Qt::Window),
      grid_(grid),
      sheet_(sheet),
      model_(new SheetModel(sheet, this)),
      view_(new SheetView(this)),
      editor_(new QLineEdit(view_->viewport())),
      message_(new QLabel(this)),
      loops_title_(new QLabel(this)),
      loops_(new QTableWidget(this)),
      loop_notes_(new QLabel(this)) {
    setObjectName(qt_text(frmsheet_window.name));
    setWindowTitle(qt_text(frmsheet_window.caption));
    resize(px(frmsheet_window.width), px(frmsheet_window.height));
    setFont(control_font(sheet_window_layout.points));
    for (const CommandLayout& command : sheet_commands) {
        auto* button = new QPushButton(qt_text(command.caption), this);
        button->setToolTip(qt_text(command.key));
        button->setFocusPolicy(Qt::NoFocus);  // the keys stay with the grid
        const KeyPress key = command_key(command.command);
        connect(button, &QPushButton::clicked, this, [this, key] { press(key); });
        buttons_.push_back(button);
    }
    view_->setModel(model_);
    const QFontMetrics metrics(font());
    for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
        view_->setColumnWidth(static_cast<int>(c), column_width(metrics, sheet_columns[c].width,
                                                                qt_text(column_title(c))));
    }
    view_->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
    view_->on_key = [this](const KeyStroke& stroke) {
        if (auto key = grid_key(stroke)) {
            press(*key);
        }
    };
    view_->on_click = [this](int row, int column, bool extend) {
        grid_.click(static_cast<std::size_t>(row), static_cast<std::size_t>(column), extend);
    };
    connect(view_->verticalHeader(), &QHeaderView::sectionClicked, this, [this](int row) {
        const bool extend = QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
        const auto at = static_cast<std::size_t>(row);
        grid_.select_rows(extend ? grid_.anchor().row : at, at);
    });
    editor_->hide();
    editor_->installEventFilter(this);
    connect(editor_, &QLineEdit::textEdited, this,
            [this](const QString& text) { grid_.edited(utf8_text(text)); });
    colour_as_problem_line(message_);
    loops_->setColumnCount(static_cast<int>(loop_columns.size()));
    QStringList headers;
    for (std::size_t c = 0; c < loop_columns.size(); ++c) {
        headers << qt_text(loop_columns[c].header);
    }
    loops_->setHorizontalHeaderLabels(headers);
    for (std::size_t c = 0; c < loop_columns.size(); ++c) {
        loops_->setColumnWidth(static_cast<int>(c),
                               column_width(metrics, loop_columns[c].width, headers[c]));
    }
    loops_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    loops_->verticalHeader()->hide();
    lay_out();
}

void SheetWindow::press(const KeyPress& key) {
    if (grid_.editing()) {
        grid_.edited(utf8_text(editor_->text()));
    }
    grid_.key(key);
}

bool SheetWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor_ || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    // Enter, Tab, Esc and the vertical arrows belong to the grid; the rest to the editor.
    const KeyStroke stroke = key_stroke(*static_cast<QKeyEvent*>(event));
    switch (stroke.key) {
        case PhysicalKey::enter:
        case PhysicalKey::tab:
        case PhysicalKey::escape:
        case PhysicalKey::up:
        case PhysicalKey::down:
            if (auto key = grid_key(stroke)) {
                press(*key);
            }
            return true;
        default:
            return false;
    }
}

void SheetWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lay_out();
}

void SheetWindow::lay_out() {
    const SheetWindowLayout& l = sheet_window_layout;
    const int margin = px(l.margin);
    int x = margin;
    for (QPushButton* button : buttons_) {
        button->setGeometry(x, margin, px(l.button_width), px(l.button_height));
        x += px(l.button_width) + margin;
    }
    const int line = px(l.line_height);
    const int below_grid = line * 3 + px(l.loops_height) + margin;
    const int grid_top = margin * 2 + px(l.button_height);
    const int grid_height = std::max(line * 3, height() - grid_top - below_grid - margin);
    const int inner = width() - 2 * margin;
    view_->setGeometry(margin, grid_top, inner, grid_height);
    int y = grid_top + grid_height;
    message_->setGeometry(margin, y, inner, line);
    loops_title_->setGeometry(margin, y + line, inner, line);
    loops_->setGeometry(margin, y + 2 * line, inner, px(l.loops_height));
    loop_notes_->setGeometry(margin, y + 2 * line + px(l.loops_height), inner, line);
    refresh_editor();
}

void SheetWindow::refresh() {
    model_->refresh();
    refresh_selection();
    refresh_editor();
    message_->setText(qt_text(grid_.message()));
    refresh_loops();
}

void SheetWindow::refresh_selection() {
    if (sheet_.rows() == 0) {
        return;
    }
    const CellPosition at = grid_.current();
    const QModelIndex current =
        model_->index(static_cast<int>(at.row), static_cast<int>(at.column));
    view_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    QItemSelection selection;
    for (std::size_t row = 0; row < sheet_.rows(); ++row) {
        for (std::size_t column = 0; column < sheet_columns.size(); ++column) {
            if (grid_.selected(row, column)) {
                const QModelIndex cell =
                    model_->index(static_cast<int>(row), static_cast<int>(column));
                selection.select(cell, cell);
            }
        }
    }
    view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    view_->scrollTo(current);
}

void SheetWindow::refresh_editor() {
    if (!grid_.editing()) {
        if (editor_->isVisible()) {
            editor_->hide();
            view_->setFocus();
        }
        return;
    }
    const CellPosition at = grid_.current();
    editor_->setGeometry(
        view_->visualRect(model_->index(static_cast<int>(at.row), static_cast<int>(at.column))));
    const QString text = qt_text(grid_.edit_text());
    if (!editor_->isVisible() || editor_->text() != text) {
        editor_->setText(text);
    }
    editor_->show();
    editor_->setFocus();
}

void SheetWindow::refresh_loops() {
    loops_title_->setText(qt_text(loop_summary_title(sheet_.sheet())));
    loops_->setRowCount(static_cast<int>(sheet_.loops()));
    for (std::size_t loop = 0; loop < sheet_.loops(); ++loop) {
        for (std::size_t column = 0; column < loop_columns.size(); ++column) {
            const ShownCell cell = shown_loop_cell(sheet_.sheet(), loop, column);
            auto* item = new QTableWidgetItem;
            for (int role :
                 {Qt::DisplayRole, Qt::TextAlignmentRole, Qt::ForegroundRole, Qt::BackgroundRole}) {
                item->setData(role, cell_role(cell, role));
            }
            loops_->setItem(static_cast<int>(loop), static_cast<int>(column), item);
        }
    }
    QString notes;
    for (const std::string& note : sheet_.loop_notes()) {
        notes += qt_text(note) + ' ';
    }
    loop_notes_->setText(notes.trimmed());
}

}  // namespace kestrune
