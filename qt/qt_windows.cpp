// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_windows.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <vector>

#include "dialogs.h"
#include "file_error.h"
#include "fonts.h"
#include "frame_box.h"
#include "frmcompute.h"
#include "print_colours.h"
#include "problem_line.h"
#include "qt_text.h"
#include "sheet_layout.h"
#include "twips.h"
#include "wake_socket.h"
#include "window_placement.h"

namespace kestrune {
namespace {

QWidget* make_control(const ControlSpec& layout, QWidget* parent) {
    const QString caption = qt_text(layout.caption);
    switch (layout.kind) {
        case ControlKind::label:
            return new QLabel(caption, parent);
        case ControlKind::problem_line: {
            auto* line = new QLabel(caption, parent);
            colour_as_problem_line(line);
            line->setWordWrap(true);
            return line;
        }
        case ControlKind::text_box:
            return new QLineEdit(caption, parent);
        case ControlKind::output_box: {
            // Written by the program only, still selectable for copying.
            auto* box = new QLineEdit(caption, parent);
            box->setReadOnly(true);
            return box;
        }
        case ControlKind::push_button: {
            // Enter on a focused button presses it, as Space does.
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(true);
            return button;
        }
        case ControlKind::group_frame:
            return new FrameBox(caption, parent);
    }
    return nullptr;
}

}  // namespace

MainWindow::MainWindow() {
    setObjectName(qt_text(frmcompute_window.name));
    setWindowTitle(qt_text(frmcompute_window.caption));
    setFixedSize(px(frmcompute_window.width), px(frmcompute_window.height));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (close_) {
        close_();
    }
}

QtWindows::QtWindows()
    : main_(new MainWindow),
      // The list is a window of its own, not the main window's: the DN box, modal to the main
      // window, would block a window that belongs to it, and the list must take clicks.
      choose_(new PrintWindow(nullptr, frmchoose_window)),
      display_(new PrintWindow(main_, frmdisplay_window)) {
    build_controls();
}

QtWindows::~QtWindows() {
    delete sheet_;
    delete choose_;
    delete main_;
}

void QtWindows::build_controls() {
    // The table lists each container before what it holds.
    for (const ControlSpec& layout : frmcompute_controls) {
        QWidget* parent = layout.container ? controls_.at(*layout.container) : main_;
        QWidget* w = make_control(layout, parent);
        w->setObjectName(qt_text(layout.name));
        w->setGeometry(px(layout.left), px(layout.top), px(layout.width), px(layout.height));
        w->setFont(control_font(layout.points));
        controls_[layout.id] = w;
    }
    std::vector<const ControlSpec*> by_tab;
    for (const ControlSpec& layout : frmcompute_controls) {
        by_tab.push_back(&layout);
    }
    std::sort(by_tab.begin(), by_tab.end(), [](const ControlSpec* a, const ControlSpec* b) {
        return a->tab_index < b->tab_index;
    });
    for (std::size_t i = 1; i < by_tab.size(); ++i) {
        QWidget::setTabOrder(controls_.at(by_tab[i - 1]->id), controls_.at(by_tab[i]->id));
    }
}

void QtWindows::connect_to(frmcompute& handlers) {
    handlers_ = &handlers;
    for (const ControlSpec& layout : frmcompute_controls) {
        const ControlId id = layout.id;
        if (layout.kind == ControlKind::text_box) {
            auto* box = static_cast<QLineEdit*>(controls_.at(id));
            QObject::connect(box, &QLineEdit::textChanged, main_,
                             [&handlers, id] { handlers.text_changed(id); });
            QObject::connect(box, &QLineEdit::returnPressed, main_,
                             [&handlers, id] { handlers.enter_pressed(id); });
        } else if (layout.kind == ControlKind::push_button) {
            QObject::connect(static_cast<QPushButton*>(controls_.at(id)), &QPushButton::clicked,
                             main_, [&handlers, id] { handlers.clicked(id); });
        }
    }
    main_->on_close([&handlers] { handlers.close_box(); });
    for (const PrintWindowId id : {PrintWindowId::frmchoose, PrintWindowId::frmdisplay}) {
        print_window(id)->on_gesture(
            [&handlers, id](Gesture gesture) { handlers.print_window_gesture(id, gesture); });
    }
    choose_->on_line_click(
        [&handlers](std::size_t line, bool twice) { handlers.list_clicked(line, twice); });
    // F1 in any of the program's windows, none of which is blocked by a dialog.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), main_);
    help->setContext(Qt::ApplicationShortcut);
    QObject::connect(help, &QShortcut::activated, main_, [this, &handlers] {
        handlers.help_requested(sheet_ != nullptr && QApplication::activeWindow() == sheet_);
    });
    // Ctrl with a letter in the main window: a button's key, or a project's.
    const auto ctrl_key = [this](char letter, std::function<void()> act) {
        auto* keys = new QShortcut(
            QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_A + (letter - 'A'))), main_);
        QObject::connect(keys, &QShortcut::activated, main_, std::move(act));
    };
    for (const ButtonShortcut& shortcut : frmcompute_shortcuts) {
        ctrl_key(shortcut.ctrl_letter,
                 [&handlers, button = shortcut.button] { handlers.clicked(button); });
    }
    // The sheet's window has the same project keys among its commands.
    for (const ProjectShortcut& shortcut : project_shortcuts) {
        ctrl_key(shortcut.ctrl_letter,
                 [&handlers, command = shortcut.command] { handlers.project_command(command); });
    }
}

void QtWindows::show_main() {
    if (QScreen* s = main_->screen()) {
        main_->move(s->availableGeometry().center() - main_->rect().center());
    }
    main_->show();
}

PrintWindow* QtWindows::print_window(PrintWindowId id) const {
    return id == PrintWindowId::frmchoose ? choose_ : display_;
}

std::string QtWindows::text(ControlId control) const {
    QWidget* w = controls_.at(control);
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
        return utf8_text(box->text());
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return utf8_text(label->text());
    }
    return {};
}

void QtWindows::set_text(ControlId control, std::string_view text) {
    QWidget* w = controls_.at(control);
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
        box->setText(qt_text(text));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(qt_text(text));
    }
}

void QtWindows::set_tip(ControlId control, std::string_view tip) {
    controls_.at(control)->setToolTip(qt_text(tip));
}

std::optional<std::string> QtWindows::ask_text(const InputRequest& request) {
    auto answer = kestrune::ask_text(dialog_owner(), qt_text(request.prompt),
                                     qt_text(request.title), qt_text(request.offered), &input_);
    if (!answer) {
        return std::nullopt;
    }
    return utf8_text(*answer);
}

void QtWindows::tell(std::string_view message, Severity severity) {
    kestrune::tell(dialog_owner(), qt_text(message),
                   severity == Severity::critical  ? QMessageBox::Critical
                   : severity == Severity::warning ? QMessageBox::Warning
                                                   : QMessageBox::Information);
}

std::size_t QtWindows::ask_choice(std::string_view question,
                                  const std::vector<std::string>& buttons,
                                  std::size_t default_button) {
    QStringList labels;
    for (const std::string& b : buttons) {
        labels << qt_text(b);
    }
    return static_cast<std::size_t>(kestrune::ask_choice(dialog_owner(), qt_text(question), labels,
                                                         static_cast<int>(default_button)));
}

void QtWindows::offer_answer(std::string_view text, bool answer_now) {
    if (!input_) {
        return;
    }
    input_->setTextValue(qt_text(text));
    if (answer_now) {
        input_->accept();
        return;
    }
    // The click went to the list: the box takes the focus back, its text selected.
    input_->activateWindow();
    if (auto* box = input_->findChild<QLineEdit*>()) {
        box->setFocus();
        box->selectAll();
    }
}

void QtWindows::focus(ControlId control, bool select_all) {
    main_->activateWindow();
    QWidget* w = controls_.at(control);
    w->setFocus();
    if (auto* box = qobject_cast<QLineEdit*>(w); box != nullptr && select_all) {
        box->selectAll();
    }
}

std::string QtWindows::window_token() {
    if (wake_ == nullptr) {
        const std::string name =
            "kestrune-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
            QString::number(reinterpret_cast<quintptr>(this), 16).toStdString();
        wake_ = new WakeSocket(
            name,
            [this] {
                main_->showNormal();
                main_->raise();
                main_->activateWindow();
            },
            main_);
    }
    return wake_->name();
}

bool QtWindows::bring_to_front(std::string_view token) {
    return wake_program(token);
}

bool QtWindows::open_with_system(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(qt_text(path_text(file))));
}

std::optional<std::filesystem::path> QtWindows::choose_folder(std::string_view title,
                                                              const std::filesystem::path& start) {
    const std::u8string start_text = start.u8string();
    auto folder =
        ask_folder(main_, qt_text(title),
                   qt_text(std::string_view(reinterpret_cast<const char*>(start_text.data()),
                                            start_text.size())));
    if (!folder) {
        return std::nullopt;
    }
    const QByteArray bytes = folder->toUtf8();
    return std::filesystem::path(std::u8string(bytes.begin(), bytes.end()));
}

std::optional<std::filesystem::path> QtWindows::choose_save_file(
    std::string_view title, const std::filesystem::path& offered, std::string_view type_name,
    std::string_view extension) {
    const QString suffix = qt_text(extension).mid(1);
    auto file = ask_save_file(dialog_owner(), qt_text(title), qt_text(path_text(offered)),
                              qt_text(type_name) + QStringLiteral(" (*.") + suffix + ')', suffix);
    if (!file) {
        return std::nullopt;
    }
    return utf8_path(utf8_text(*file));
}

void QtWindows::show(PrintWindowId window) {
    if (window == PrintWindowId::frmchoose && main_->isVisible()) {
        place_list();
    }
    if (window == PrintWindowId::frmdisplay) {
        forget_typing_history();
    }
    print_window(window)->show_window();
}

void QtWindows::forget_typing_history() {
    // A line edit keeps every keystroke for its undo, without end; a sizing is a good moment
    // to let the past ones go, as the system's own text boxes keep only the last one.
    for (QLineEdit* box : main_->findChildren<QLineEdit*>()) {
        if (!box->isUndoAvailable() && !box->isRedoAvailable()) {
            continue;
        }
        const int cursor = box->cursorPosition();
        const int selection_start = box->selectionStart();
        const int selection_length = box->selectedText().size();
        const QSignalBlocker quiet(box);
        box->setText(box->text());
        if (selection_start >= 0) {
            box->setSelection(selection_start, selection_length);
        } else {
            box->setCursorPosition(cursor);
        }
    }
}

ScreenBox QtWindows::placed(const QWidget* window, PlacementRule rule) const {
    const QRect main = main_->frameGeometry();
    // The window's frame is as much larger than its client area as the main window's.
    const QSize frame = window->size() + (main.size() - main_->size());
    const QRect area = main_->screen()->availableGeometry();
    return rule({main.x(), main.y(), main.width(), main.height()}, frame.width(), frame.height(),
                {area.x(), area.y(), area.width(), area.height()}, px(list_gap_twips));
}

void QtWindows::place_list() {
    const ScreenBox place = placed(choose_, place_list_window);
    choose_->move(place.left, place.top);
}

void QtWindows::hide(PrintWindowId window) {
    print_window(window)->hide();
}

void QtWindows::clear(PrintWindowId window) {
    print_window(window)->surface()->clear();
}

void QtWindows::print(PrintWindowId window, const PrintStatement& statement, std::size_t muted_from,
                      Tone last_item) {
    print_window(window)->surface()->print_line(statement, muted_from, last_item);
}

QWidget* QtWindows::dialog_owner() const {
    return sheet_ != nullptr && sheet_->isActiveWindow() ? static_cast<QWidget*>(sheet_) : main_;
}

void QtWindows::show_sheet() {
    if (handlers_ == nullptr) {
        return;
    }
    if (sheet_ == nullptr) {
        sheet_ = new SheetWindow(handlers_->grid(), handlers_->sheet());
        sheet_->setWindowTitle(qt_text(project_title(frmsheet_window, project_)));
        const ScreenBox place = placed(sheet_, place_sheet_window);
        const QSize border = main_->frameGeometry().size() - main_->size();
        sheet_->resize(place.width - border.width(), place.height - border.height());
        sheet_->move(place.left, place.top);
    }
    sheet_->showNormal();
    sheet_->raise();
    sheet_->activateWindow();
    sheet_->view()->setFocus();
}

void QtWindows::project_changed(std::string_view name) {
    project_ = name;
    main_->setWindowTitle(qt_text(project_title(frmcompute_window, name)));
    if (sheet_ != nullptr) {
        sheet_->project_changed(qt_text(project_title(frmsheet_window, name)));
    }
}

PrintOutcome QtWindows::print_paper(const PaperReport& paper, std::string_view title) {
    return printer_ ? printer_(dialog_owner(), paper, qt_text(title)) : PrintOutcome::failed;
}

void QtWindows::sheet_changed() {
    if (sheet_ != nullptr) {
        sheet_->refresh();
    }
}

void QtWindows::set_clipboard(std::string_view text) {
    QGuiApplication::clipboard()->setText(qt_text(text));
}

std::string QtWindows::clipboard_text() {
    return utf8_text(QGuiApplication::clipboard()->text());
}

void QtWindows::end_program() {
    if (sheet_ != nullptr) {
        sheet_->hide();
    }
    display_->hide();
    choose_->hide();
    main_->hide();
    QCoreApplication::quit();
}

}  // namespace kestrune
