// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "column_widths.h"
#include "fonts.h"
#include "frozen_column.h"
#include "problem_line.h"
#include "qt_text.h"
#include "sheet_layout.h"
#include "sketch_view.h"
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

// The system's colours, as the palette gives them.
SystemColours system_colours() {
    const QPalette palette = QApplication::palette();
    return {rgb_of(palette.color(QPalette::Text)),
            rgb_of(palette.color(QPalette::Base)),
            rgb_of(palette.color(QPalette::HighlightedText)),
            rgb_of(palette.color(QPalette::Highlight)),
            rgb_of(palette.color(QPalette::ButtonText)),
            rgb_of(palette.color(QPalette::Button))};
}

// A cell's roles; the view draws the selection itself.
QVariant cell_role(const ShownCell& cell, int role) {
    const CellColours colours = cell_colours(cell, false, system_colours());
    switch (role) {
        case Qt::DisplayRole:
            return qt_text(cell.text);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (cell.right_aligned ? Qt::AlignRight : Qt::AlignLeft));
        case Qt::ForegroundRole:
            return colour_of(colours.text);
        case Qt::BackgroundRole:
            return colour_of(colours.ground);
        default:
            return {};
    }
}

int column_width(const QFontMetrics& metrics, int characters, const QString& title) {
    int widest = 0;
    for (const QString& line : title.split(QChar('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return column_pixels(metrics.averageCharWidth(), characters, widest);
}

// A sheet column's title on the header's two lines.
QString header_text(std::size_t column) {
    const auto lines = column_title_lines(column);
    return qt_text(lines[1].empty() ? lines[0] : lines[0] + "\n" + lines[1]);
}

QRect rect_of(const ScreenBox& box) {
    return {box.left, box.top, box.width, box.height};
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

SheetModel::SheetModel(const frmsheet& sheet, const SheetGrid& grid, QObject* parent)
    : QAbstractTableModel(parent),
      sheet_(sheet),
      grid_(grid),
      rows_(static_cast<int>(sheet.rows())) {}

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
    if (role == Qt::ToolTipRole) {
        const std::string tip = grid_.tip(static_cast<std::size_t>(index.row()),
                                          static_cast<std::size_t>(index.column()));
        return tip.empty() ? QVariant() : QVariant(qt_text(tip));
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
        return header_text(static_cast<std::size_t>(section));
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
    const QModelIndex at = indexAt(event->position().toPoint());
    setFocus();
    if (at.isValid() && on_double_click) {
        on_double_click(at.row(), at.column());
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
      model_(new SheetModel(sheet, grid, this)),
      view_(new SheetView(this)),
      frozen_view_(new SheetView(view_)),
      editor_(new QLineEdit(view_->viewport())),
      message_(new QLabel(this)),
      loops_title_(new QLabel(this)),
      loops_(new QTableWidget(this)),
      loop_notes_(new QLabel(this)),
      sketch_(new SketchPane(this)),
      offers_(new QListWidget(this)),
      keep_widths_(new QTimer(this)) {
    setObjectName(qt_text(frmsheet_window.name));
    setWindowTitle(qt_text(frmsheet_window.caption));
    setFont(control_font(sheet_window_layout.points));
    for (const CommandLayout& command : sheet_commands) {
        if (command.caption.empty()) {
            continue;  // a key only
        }
        auto* button = new QPushButton(qt_text(command.caption), this);
        button->setToolTip(qt_text(command_tip(command)));
        button->setFocusPolicy(Qt::NoFocus);  // the keys stay with the grid
        const KeyPress key = command_key(command.command);
        connect(button, &QPushButton::clicked, this, [this, key] { press(key); });
        buttons_.push_back(button);
    }
    view_->setModel(model_);
    const QFontMetrics metrics(font());
    apply_column_widths();
    // Widths the engineer drags are kept, once the dragging has stopped.
    keep_widths_->setSingleShot(true);
    keep_widths_->setInterval(400);
    connect(view_->horizontalHeader(), &QHeaderView::sectionResized, keep_widths_,
            qOverload<>(&QTimer::start));
    connect(keep_widths_, &QTimer::timeout, this, [this] {
        std::vector<int> twips;
        for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
            twips.push_back(twips_of(view_->columnWidth(static_cast<int>(c))));
        }
        std::error_code ignored;
        keep_column_widths(std::filesystem::current_path(ignored), twips);
    });
    view_->verticalHeader()->setDefaultSectionSize(row_pixels(metrics.height(), px));
    view_->verticalHeader()->setMinimumWidth(row_number_pixels(metrics.averageCharWidth()));
    frozen_ = new FrozenColumn(view_, frozen_view_);
    setMinimumSize(px(sheet_least_width), px(sheet_least_height));
    // Wide enough for every column, where the screen has room (placed by the caller).
    resize(sheet_window_width(grid_width(), px), px(frmsheet_window.height));
    for (SheetView* view : {view_, frozen_view_}) {
        view->on_key = [this](const KeyStroke& stroke) {
            if (auto key = grid_key(stroke)) {
                press(*key);
            }
        };
        view->on_click = [this](int row, int column, bool extend) {
            grid_.click(static_cast<std::size_t>(row), static_cast<std::size_t>(column), extend);
        };
        view->on_double_click = [this](int row, int column) {
            grid_.double_click(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
        };
        connect(view->verticalHeader(), &QHeaderView::sectionClicked, this, [this](int row) {
            grid_.row_header_click(static_cast<std::size_t>(row),
                                   QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
        });
    }
    editor_->hide();
    editor_->installEventFilter(this);
    connect(editor_, &QLineEdit::textEdited, this, [this](const QString& text) {
        grid_.edited(utf8_text(text));
        refresh_offers();
    });
    offers_->hide();
    offers_->setFocusPolicy(Qt::NoFocus);  // the typing stays in the editor
    offers_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    offers_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(offers_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        grid_.edited(utf8_text(editor_->text()));
        grid_.take_offer(static_cast<std::size_t>(offers_->row(item)));
        refresh_editor();
    });
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
    sketch_->picture()->on_row = [this](std::size_t row) {
        view_->setFocus();
        grid_.click(row, grid_.current().column, false);
    };
    sketch_shown_ = grid_.sketch().room;
    lay_out();
}

SheetWindow::~SheetWindow() {
    // Gone before the grid it follows, which signals and sends events as it is taken down.
    delete frozen_;
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
    if (auto key = editor_key(key_stroke(*static_cast<QKeyEvent*>(event)))) {
        press(*key);
        return true;
    }
    return false;
}

void SheetWindow::closeEvent(QCloseEvent* event) {
    if (grid_.editing()) {
        grid_.edited(utf8_text(editor_->text()));
    }
    if (!grid_.closing()) {
        event->ignore();  // the entry waits to be put right
        return;
    }
    QWidget::closeEvent(event);
}

void SheetWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lay_out();
}

void SheetWindow::lay_out() {
    const SheetWindowBoxes boxes =
        sheet_window_boxes(width(), height(), px, sketch_shown_, grid_width());
    for (std::size_t i = 0; i < buttons_.size() && i < boxes.buttons.size(); ++i) {
        buttons_[i]->setGeometry(rect_of(boxes.buttons[i]));
    }
    view_->setGeometry(rect_of(boxes.grid));
    message_->setGeometry(rect_of(boxes.message));
    loops_title_->setGeometry(rect_of(boxes.loops_title));
    loops_->setGeometry(rect_of(boxes.loops));
    loop_notes_->setGeometry(rect_of(boxes.notes));
    sketch_->setGeometry(rect_of(boxes.sketch));
    sketch_->setVisible(sketch_shown_);
    refresh_editor();
}

int SheetWindow::grid_width() const {
    // Room for a vertical scroll bar too, so that a long sheet still shows every column.
    const QHeaderView* numbers = view_->verticalHeader();
    int width = 2 * view_->frameWidth() + view_->verticalScrollBar()->sizeHint().width() +
                std::max(numbers->minimumWidth(), numbers->sizeHint().width());
    for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
        width += view_->columnWidth(static_cast<int>(c));
    }
    return width;
}

void SheetWindow::apply_column_widths() {
    // The table's widths, and over them the ones the engineer gave this project's columns.
    const QFontMetrics metrics(font());
    std::error_code ignored;
    const auto kept = kept_column_widths(std::filesystem::current_path(ignored));
    for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
        view_->setColumnWidth(
            static_cast<int>(c),
            kept[c] ? px(*kept[c]) : column_width(metrics, sheet_columns[c].width, header_text(c)));
    }
}

void SheetWindow::project_changed(const QString& title) {
    setWindowTitle(title);
    keep_widths_->stop();  // a drag in the project left behind is not kept in this one
    apply_column_widths();
    keep_widths_->stop();  // nor are the widths just given, which are this project's own
}

void SheetWindow::refresh() {
    model_->refresh();
    refresh_selection();
    refresh_editor();
    message_->setText(qt_text(grid_.message()));
    refresh_loops();
    SketchShown shown = grid_.sketch();
    sketch_->show_sketch(std::move(shown.sketch), shown.current);
    if (std::exchange(sketch_shown_, shown.room) != shown.room) {
        lay_out();  // the sketch came or went
    }
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
    frozen_->keep_clear(current);
}

void SheetWindow::refresh_editor() {
    if (!grid_.editing()) {
        offers_->hide();
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
    refresh_offers();
}

void SheetWindow::refresh_offers() {
    const std::vector<FittingOffer> offered = grid_.offers();
    if (offered.empty() || !editor_->isVisible()) {
        offers_->hide();
        return;
    }
    offers_->clear();
    const QFontMetrics metrics(offers_->font());
    int widest = 0;
    for (const FittingOffer& offer : offered) {
        offers_->addItem(qt_text(offer.label));
        widest = std::max(widest, metrics.horizontalAdvance(qt_text(offer.label)));
    }
    offers_->setCurrentRow(static_cast<int>(grid_.highlighted_offer()));
    const QRect cell(editor_->mapTo(this, QPoint(0, 0)), editor_->size());
    const ScreenBox box =
        offers_box({cell.x(), cell.y(), cell.width(), cell.height()}, offered.size(),
                   offers_->sizeHintForRow(0), widest + 2 * metrics.averageCharWidth(), height());
    offers_->setGeometry(rect_of(box));
    offers_->show();
    offers_->raise();
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
    loop_notes_->setText(qt_text(loop_notes_line(sheet_.sheet())));
}

}  // namespace kestrune
