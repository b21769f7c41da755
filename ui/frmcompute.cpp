// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmcompute.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "conversions.h"
#include "design_steps.h"
#include "dialogs.h"
#include "fonts.h"
#include "frmchoose.h"
#include "frmdisplay.h"
#include "messages.h"
#include "number_text.h"
#include "pipe_preview.h"
#include "pipe_table.h"
#include "print_statements.h"
#include "results_log.h"
#include "twips.h"

namespace kestrune {
namespace {

constexpr qreal text_points = 10.5;
constexpr qreal button_points = 12.0;

QString box_text(float value) {
    return QString::fromStdString(float_box_form(value));
}

QString working_folder() {
    return QDir::toNativeSeparators(QDir::currentPath());
}

template <class W>
W* place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(px(left), px(top), px(width), px(height));
    return widget;
}

}  // namespace

frmcompute::frmcompute(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmcompute"));
    setWindowTitle(QStringLiteral("Kestrune："));
    setFixedSize(px(10665), px(7170));
    build_controls();
}

void frmcompute::build_controls() {
    const QFont text_font = song_font(text_points);
    const QFont button_font = song_font(button_points);

    Label1 =
        place(new QLabel(QStringLiteral("用户负荷(w):"), this), "Label1", 1560, 480, 2775, 615);
    Label2 = place(new QLabel(QStringLiteral("富裕系数："), this), "Label2", 5760, 480, 2775, 615);
    Text1 = place(new QLineEdit(this), "Text1", 1560, 1440, 2775, 615);
    Text4 = place(new QLineEdit(QStringLiteral("1.2"), this), "Text4", 5760, 1440, 2775, 615);
    Label3 =
        place(new QLabel(QStringLiteral("设计负荷(w):"), this), "Label3", 1560, 2640, 2775, 615);
    Label4 =
        place(new QLabel(QStringLiteral("设计流量(kg/h):"), this), "Label4", 5760, 2640, 2775, 615);
    Text2 = place(new QLineEdit(QStringLiteral("0"), this), "Text2", 1560, 3600, 2775, 615);
    Text3 = place(new QLineEdit(QStringLiteral("0"), this), "Text3", 5760, 3600, 2775, 615);
    // The load entry's problems are shown here, between the output boxes and the buttons.
    problem_line = place(new QLabel(this), "problem_line", 1560, 4230, 6975, 420);
    cmdok =
        place(new QPushButton(QStringLiteral("确      定"), this), "cmdok", 1800, 4680, 2295, 855);
    Cmdexit = place(new QPushButton(QStringLiteral("退       出"), this), "Cmdexit", 6000, 4680,
                    2295, 855);
    Frame1 =
        place(new QGroupBox(QStringLiteral("更改设置："), this), "Frame1", 885, 5760, 8535, 1095);
    cmdset1 =
        place(new QPushButton(QStringLiteral("密     度"), Frame1), "cmdset1", 720, 360, 1335, 495);
    cmdset2 =
        place(new QPushButton(QStringLiteral("供水温度"), Frame1), "cmdset2", 2640, 360, 1335, 495);
    cmdset3 =
        place(new QPushButton(QStringLiteral("回水温度"), Frame1), "cmdset3", 4560, 360, 1335, 495);
    cmdset4 =
        place(new QPushButton(QStringLiteral("粘滞系数"), Frame1), "cmdset4", 6480, 360, 1335, 495);

    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label4),
                       static_cast<QWidget*>(Text1), static_cast<QWidget*>(Text2),
                       static_cast<QWidget*>(Text3), static_cast<QWidget*>(Text4),
                       static_cast<QWidget*>(Frame1), static_cast<QWidget*>(problem_line)}) {
        w->setFont(text_font);
    }
    cmdok->setFont(button_font);
    Cmdexit->setFont(button_font);
    // The parameter buttons keep the window's own font, not the frame's.
    QFont window_font = QApplication::font();
    window_font.setResolveMask(QFont::AllPropertiesResolved);
    for (QPushButton* b : {cmdset1, cmdset2, cmdset3, cmdset4}) {
        b->setFont(window_font);
    }
    problem_line->setStyleSheet(QStringLiteral("color: #b00000;"));
    problem_line->setWordWrap(true);

    // Outputs: written by the program only, still selectable for copying.
    Text2->setReadOnly(true);
    Text3->setReadOnly(true);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, cmdok);
    setTabOrder(cmdok, Text4);
    setTabOrder(Text4, Text3);
    setTabOrder(Text3, Cmdexit);
    setTabOrder(Cmdexit, cmdset1);
    setTabOrder(cmdset1, cmdset2);
    setTabOrder(cmdset2, cmdset3);
    setTabOrder(cmdset3, cmdset4);

    connect(Text1, &QLineEdit::textChanged, this, &frmcompute::load_changed);
    connect(Text4, &QLineEdit::textChanged, this, &frmcompute::margin_changed);
    connect(cmdok, &QPushButton::clicked, this, &frmcompute::run_sizing);
    connect(Cmdexit, &QPushButton::clicked, this, &frmcompute::end_program);
    connect(cmdset1, &QPushButton::clicked, this, [this] {
        ask_positive(QStringLiteral("请你输入需要的密度："), QStringLiteral("密度更改！"),
                     QStringLiteral("983.25"), QStringLiteral("密度"), state_.rho);
    });
    connect(cmdset2, &QPushButton::clicked, this, [this] {
        ask_temperature(QStringLiteral("请你输入新的供水温度："), QStringLiteral("供水温度更改！"),
                        QStringLiteral("95"), QStringLiteral("供水温度"), state_.t_supply,
                        &design_state::set_t_supply);
    });
    connect(cmdset3, &QPushButton::clicked, this, [this] {
        ask_temperature(QStringLiteral("请你输入新的回水温度："), QStringLiteral("回水温度更改！"),
                        QStringLiteral("70"), QStringLiteral("回水温度"), state_.t_return,
                        &design_state::set_t_return);
    });
    connect(cmdset4, &QPushButton::clicked, this, [this] {
        ask_positive(QStringLiteral("请你输入新的粘滞系数："), QStringLiteral("粘滞系数更改！"),
                     QStringLiteral("0.477"), QStringLiteral("粘滞系数"), state_.nu);
    });
}

bool frmcompute::start() {
    state_.reset();
    auto table = load_pipe_table();
    // Started from the menu, the working folder is usually the home folder, without the
    // table: offer to choose the folder that holds it, which then serves the whole run.
    while (!table && table.error().fault == TableFault::missing_file) {
        const int choice = ask_choice(this, missing_table_question(table.error(), working_folder()),
                                      {QStringLiteral("选择文件夹…"), QStringLiteral("退出")});
        if (choice != 0) {
            return false;
        }
        if (auto folder =
                ask_folder(this, QStringLiteral("选择含有管道表的文件夹"), QDir::currentPath())) {
            QDir::setCurrent(*folder);
        }
        table = load_pipe_table();
    }
    if (!table) {
        tell(this, table_problem(table.error(), working_folder()), QMessageBox::Critical);
        return false;
    }
    state_.pipes = table.value();
    if (auto error = recreate_results_log(std::string(results_log_name))) {
        tell(this, log_recreate_problem(*error, working_folder()));
    }
    display_ = new frmdisplay(this);
    return true;
}

void frmcompute::show_centred() {
    if (QScreen* s = screen()) {
        move(s->availableGeometry().center() - rect().center());
    }
    show();
}

void frmcompute::load_changed() {
    if (auto fault = enter_load(state_, Text1->text().toStdString())) {
        // No dialog from a keystroke: the problem shows under the output boxes.
        load_problem_ = load_problem(*fault, state_);
        Text2->clear();
        Text3->clear();
    } else {
        load_problem_.clear();
        Text2->setText(box_text(state_.q_design));
        Text3->setText(box_text(state_.g_design));
    }
    show_problem_line();
}

void frmcompute::margin_changed() {
    auto margin = read_float_field(Text4->text().toStdString());
    if (margin) {
        state_.k_margin = margin.value();
        margin_problem_.clear();
    } else {
        margin_problem_ = margin_problem();
    }
    show_problem_line();
}

void frmcompute::show_problem_line() {
    problem_line->setText(load_problem_.isEmpty() ? margin_problem_ : load_problem_);
}

void frmcompute::run_sizing() {
    if (!load_problem_.isEmpty()) {
        tell(this, load_blocks_sizing(load_problem_));
        return;
    }
    if (choose_ == nullptr) {
        choose_ = new frmchoose(this);
    }
    PrintSurface* list = choose_->surface();
    auto end_choice = [this, list] {
        list->clear();
        choose_->hide();
    };
    choose_->show();
    // The load entry is good here: each row shows what sizing it would give.
    choose_->list_pipes(state_.pipes, preview_table(state_));

    auto answer = ask_text(this, QStringLiteral("请你输入合适的公称直径:"),
                           QStringLiteral("输入公称直径！"), QStringLiteral("15"));
    if (!answer) {
        end_choice();
        return;
    }
    auto dn = read_int16_field(answer->toStdString());
    if (!dn) {
        tell(this, diameter_out_of_range(*answer));
        end_choice();
        return;
    }
    auto d = find_inner_diameter(state_.pipes, dn.value());
    if (!d) {
        // Never size with the inner diameter of an earlier, different choice.
        tell(this, diameter_not_in_table(dn.value()));
        end_choice();
        return;
    }
    end_choice();

    if (auto fault = size_pipe(state_, PipeSize{dn.value(), *d})) {
        tell(this, sizing_problem(*fault, state_));
        return;
    }
    auto log_error = append_results_row(std::string(results_log_name), state_);

    display_->show_results();
    display_->surface()->clear();
    display_->surface()->print_line(results_header());
    display_->surface()->print_line(result_values(state_));
    if (log_error) {
        tell(this, log_append_problem(*log_error));
    }
}

void frmcompute::ask_positive(const QString& prompt, const QString& title, const QString& offered,
                              const QString& quantity, float& field) {
    auto answer = ask_text(this, prompt, title, offered);
    if (!answer) {
        return;
    }
    auto value = read_float_field(answer->toStdString());
    if (!value || !(value.value() > 0.0f)) {
        tell(this, positive_value_needed(quantity, *answer, field));
        return;
    }
    field = value.value();
}

void frmcompute::ask_temperature(const QString& prompt, const QString& title,
                                 const QString& offered, const QString& quantity,
                                 std::int16_t current,
                                 std::optional<ArithError> (design_state::*set)(std::int16_t)) {
    auto answer = ask_text(this, prompt, title, offered);
    if (!answer) {
        return;
    }
    auto value = read_int16_field(answer->toStdString());
    if (!value) {
        tell(this, temperature_out_of_range(quantity, *answer, current));
        return;
    }
    if ((state_.*set)(value.value())) {
        tell(this, temperature_difference_out_of_range(state_));
    }
}

void frmcompute::end_program() {
    if (display_ != nullptr) {
        display_->hide();
    }
    if (choose_ != nullptr) {
        choose_->hide();
    }
    hide();
    QCoreApplication::quit();
}

void frmcompute::closeEvent(QCloseEvent* event) {
    event->accept();
    end_program();
}

}  // namespace kestrune
