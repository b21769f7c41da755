// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QInputDialog>
#include <QScreen>
#include <QtTest>

#include "file_error.h"
#include "messages.h"
#include "parameter_dialogs.h"
#include "print_colours.h"
#include "qt_program.h"
#include "qt_text.h"

using namespace kestrune;
using namespace kestrune::testing;

namespace {
QString caption(ControlId control) {
    return qt_text(control_spec(control).caption);
}
}  // namespace

class QtWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void theMainWindowIsPaintedWithoutLoadingAnImagePlugin();  // first: nothing loaded yet
    void windowsAreBuiltFromTheTable();
    void tabOrderAndFontsFollowTheTable();
    void outputBoxesAreReadOnlyButSelectable();
    void keystrokesInTheBoxesReachTheHandlers();
    void okRunsTheSizingThroughTheRealInputBox();
    void messagesComeInARealMessageBox();
    void enterInTheLoadBoxAndOnAButtonPresses();
    void theListStaysOnTheScreen();
    void enterAndEscGiveTheSafeAnswerOfAQuestion();
    void aClickOnTheListFillsTheBoxWhichKeepsTheFocus();
    void thePreviewIsDrawnInReadableTones();
    void f1ShowsHelpFromEveryWindow();
    void aSecondProgramReachesTheFirstByItsToken();
    void theSaveDialogOffersTheNameAndEnterTakesIt();
};

void QtWindowsTest::theMainWindowIsPaintedWithoutLoadingAnImagePlugin() {
    // State: started, shown and painted. Expected: no image format plugin in the process,
    // which the style's picture of a group box frame would have loaded.
    QtProgram run;
    QVERIFY(run.start());
    QVERIFY(QTest::qWaitForWindowExposed(run.windows.main_window()));
    run.windows.main_window()->grab();
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray loaded = maps.readAll();
    QVERIFY(loaded.contains("libQt6Widgets"));
    QVERIFY2(!loaded.contains("imageformats"), "an image format plugin was loaded");
}

void QtWindowsTest::windowsAreBuiltFromTheTable() {
    // State: started. Expected: sizes and positions in pixels at 15 twips each, captions.
    QtProgram run;
    QVERIFY(run.start());
    MainWindow* main = run.windows.main_window();
    QCOMPARE(main->windowTitle(),
             qt_text(project_title(frmcompute_window,
                                   path_text(std::filesystem::current_path().filename()))));
    QCOMPARE(main->size(), QSize(711, 478));
    QCOMPARE(run.text("Text1")->geometry(), QRect(104, 96, 185, 41));
    QCOMPARE(run.text("Text4")->text(), QStringLiteral("1.2"));
    QCOMPARE(main->findChild<QLabel*>("Label4")->text(), caption(ControlId::Label4));
    QCOMPARE(run.button("Cmdexit")->text(), caption(ControlId::Cmdexit));
    auto* frame = main->findChild<QGroupBox*>("Frame1");
    QCOMPARE(frame->title(), caption(ControlId::Frame1));
    QCOMPARE(run.button("cmdset1")->parentWidget(), frame);
    QCOMPARE(run.button("cmdset1")->geometry(), QRect(48, 24, 89, 33));
    QCOMPARE(run.list()->windowTitle(), qt_text(window_spec(PrintWindowId::frmchoose).caption));
    QCOMPARE(run.list()->size(), QSize(663, 271));
    QCOMPARE(run.results()->windowTitle(), QStringLiteral("display"));
    QCOMPARE(run.results()->size(), QSize(717, 556));
    QVERIFY(!run.results()->isVisible());
    QVERIFY(run.watch.unexpected().isEmpty());
}

void QtWindowsTest::tabOrderAndFontsFollowTheTable() {
    // State: started. Action: walk the focus chain from Text1. Expected: the controls that
    // take focus in their tab order; Song font 10.5 pt for boxes, 12 pt for the big buttons.
    QtProgram run;
    QVERIFY(run.start());
    QStringList order;
    QWidget* w = run.text("Text1");
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            order << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != run.text("Text1") && order.size() < 30);
    QCOMPARE(order, QStringList({"Text1", "Text2", "cmdok", "Text4", "Text3", "Cmdexit", "cmdset1",
                                 "cmdset2", "cmdset3", "cmdset4", "cmdsheet"}));
    QCOMPARE(run.text("Text1")->font().pointSizeF(), 10.5);
    QVERIFY(run.text("Text1")->font().families().contains(QStringLiteral("SimSun")));
    QCOMPARE(run.windows.main_window()->findChild<QLabel*>("Label4")->font().pointSizeF(), 10.5);
    QCOMPARE(run.button("cmdok")->font().pointSizeF(), 12.0);
    QCOMPARE(run.button("cmdset1")->font().pointSizeF(), QApplication::font().pointSizeF());
}

void QtWindowsTest::outputBoxesAreReadOnlyButSelectable() {
    QtProgram run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    QLineEdit* flow = run.text("Text3");
    QVERIFY(flow->isReadOnly());
    QTest::keyClicks(flow, "99");
    QCOMPARE(flow->text(), QStringLiteral("412.71"));
    flow->selectAll();
    QCOMPARE(flow->selectedText(), QStringLiteral("412.71"));
}

void QtWindowsTest::keystrokesInTheBoxesReachTheHandlers() {
    // Action: type 1, then 0000, then a margin of 1.5 and one more key. Expected: each key
    // shows at once; the margin at the next key in the load box; the problem line shown.
    QtProgram run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "1");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("1.2"));
    QCOMPARE(run.text("Text3")->text(), QStringLiteral("0.05"));
    QTest::keyClicks(run.text("Text1"), "0000");
    QCOMPARE(run.text("Text3")->text(), QStringLiteral("412.71"));
    run.text("Text4")->selectAll();
    QTest::keyClicks(run.text("Text4"), "1.5");
    QTest::keyClicks(run.text("Text1"), "0");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("150000"));
    run.text("Text4")->selectAll();
    QTest::keyClicks(run.text("Text4"), "1e39");
    QCOMPARE(run.windows.main_window()->findChild<QLabel*>("problem_line")->text(),
             qt_text(margin_problem()));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void QtWindowsTest::okRunsTheSizingThroughTheRealInputBox() {
    // State: load 10000 typed. Action: click OK, answer 25 in the real input box. Expected:
    // its buttons in Chinese, the list visible meanwhile; the result at zone starts evenly
    // spaced. (What is asked, listed, shown and logged: the conformance scenarios.)
    QtProgram run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    InputSeen seen;
    bool list_visible = false;
    run.watch.answer_input("25", &seen, [&] { list_visible = run.list()->isVisible(); });
    run.click("cmdok");
    QVERIFY(run.watch.unexpected().isEmpty());
    QCOMPARE(seen.ok_text, QStringLiteral("确定"));
    QCOMPARE(seen.cancel_text, QStringLiteral("取消"));
    QVERIFY(list_visible);
    QVERIFY(!run.list()->isVisible());
    const auto& values = run.results()->surface()->lines().at(1);
    const double zone = values.at(1).x;
    QVERIFY(zone > 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        QCOMPARE(values.at(i).x, zone * static_cast<double>(i));
    }
}

void QtWindowsTest::messagesComeInARealMessageBox() {
    QtProgram run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    QString message;
    run.watch.answer_input("65");
    run.watch.accept_message(&message);
    run.click("cmdok");
    QCOMPARE(message, qt_text(diameter_not_in_table(65)));
    QVERIFY(run.watch.unexpected().isEmpty());
    QCOMPARE(run.watch.still_expected(), std::size_t{0});
}

void QtWindowsTest::enterInTheLoadBoxAndOnAButtonPresses() {
    QtProgram run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    InputSeen seen;
    run.watch.answer_input("25", &seen);
    QTest::keyClick(run.text("Text1"), Qt::Key_Return);
    QCOMPARE(seen.title, qt_text(diameter_title));
    QCOMPARE(run.handlers.state().dn, std::int16_t{25});
    run.watch.cancel_input(&seen);
    run.button("cmdset2")->setFocus();
    QTest::keyClick(run.button("cmdset2"), Qt::Key_Return);
    QCOMPARE(seen.title, qt_text(parameter_dialogs[1].title));
    QVERIFY(run.watch.unexpected().isEmpty());
    QCOMPARE(run.watch.still_expected(), std::size_t{0});
}

void QtWindowsTest::theListStaysOnTheScreen() {
    QtProgram run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    QRect list;
    run.watch.answer_input("25", nullptr, [&] { list = run.list()->frameGeometry(); });
    run.click("cmdok");
    const QRect area = run.windows.main_window()->screen()->availableGeometry();
    QVERIFY2(area.contains(list.topLeft()),
             qPrintable(QStringLiteral("%1,%2").arg(list.x()).arg(list.y())));
}

void QtWindowsTest::enterAndEscGiveTheSafeAnswerOfAQuestion() {
    // State: a question with a default button that is not the first. Action: Enter, then Esc.
    // Expected: Enter presses the default, Esc gives the last button.
    QtProgram run;
    const std::vector<std::string> buttons{"清空结果文件", "保留并退出"};
    run.watch.press_key(Qt::Key_Return);
    QCOMPARE(run.windows.ask_choice("问题", buttons, 1), std::size_t{1});
    run.watch.press_key(Qt::Key_Escape);
    QCOMPARE(run.windows.ask_choice("问题", {"甲", "乙", "丙"}, 0), std::size_t{2});
    run.watch.press_key(Qt::Key_Return);
    QCOMPARE(run.windows.ask_choice("问题", {"甲", "乙", "丙"}, 0), std::size_t{0});
    QVERIFY(run.watch.unexpected().isEmpty());
}

void QtWindowsTest::aClickOnTheListFillsTheBoxWhichKeepsTheFocus() {
    // State: the DN input box waits. Action: a click on the row of DN 24, then "2" typed
    // into the focused widget; later a double-click on the row of DN 26. Expected: the box
    // holds 24 selected and keeps the focus, so "2" replaces it; the double-click answers 26.
    QtProgram run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    QString after_click, after_typing, answered_with;
    bool box_has_focus = false;
    bool answered = false;
    run.watch.answer_input("26", nullptr, [&] {
        const auto spacing = QFontMetricsF(run.list()->surface()->font()).lineSpacing();
        // Through the window system, where a window blocked by the box would not take it.
        QTest::mouseClick(run.list()->windowHandle(), Qt::LeftButton, {},
                          QPoint(20, static_cast<int>(spacing * 2.5)));
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        after_click = box->textValue();
        QWidget* focused = box->focusWidget();
        box_has_focus = focused != nullptr && focused->hasFocus() == box->isActiveWindow();
        box_has_focus = box_has_focus && qobject_cast<QLineEdit*>(focused) != nullptr &&
                        qobject_cast<QLineEdit*>(focused)->selectedText() == QStringLiteral("24");
        QTest::keyClicks(focused, "2");
        after_typing = box->textValue();
        QTest::mouseDClick(run.list()->windowHandle(), Qt::LeftButton, {},
                           QPoint(20, static_cast<int>(spacing * 4.5)));
        answered = box->result() == QDialog::Accepted;
        answered_with = box->textValue();
    });
    run.click("cmdok");
    QCOMPARE(after_click, QStringLiteral("24"));
    QVERIFY(box_has_focus);
    QCOMPARE(after_typing, QStringLiteral("2"));
    QVERIFY(answered);
    QCOMPARE(answered_with, QStringLiteral("26"));
    QCOMPARE(run.handlers.state().dn, std::int16_t{26});
    QVERIFY(run.watch.unexpected().isEmpty());
}

void QtWindowsTest::thePreviewIsDrawnInReadableTones() {
    QtProgram run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    std::vector<QColor> preview, marks;
    QColor ground;
    run.watch.answer_input("25", nullptr, [&] {
        const PrintSurface* list = run.list()->surface();
        ground = list->palette().color(QPalette::Window);
        for (std::size_t line = 1; line < list->lines().size(); ++line) {
            const std::size_t last = list->lines()[line].size() - 1;
            if (list->tone(line, last) == Tone::suggested) {
                marks.push_back(list->colour(line, last));
            }
            if (list->lines()[line].size() > 2) {
                preview.push_back(list->colour(line, 2));
            }
        }
    });
    run.click("cmdok");
    const auto rgb = [](const QColor& c) {
        return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue())};
    };
    QVERIFY(!preview.empty());
    QCOMPARE(marks.size(), std::size_t{1});
    for (const QColor& c : preview) {
        QVERIFY(contrast_ratio(rgb(c), rgb(ground)) >= least_contrast);
    }
    QVERIFY(contrast_ratio(rgb(marks.front()), rgb(ground)) >= least_contrast);
    QVERIFY(marks.front() != preview.front());
}

void QtWindowsTest::f1ShowsHelpFromEveryWindow() {
    QtProgram run;
    QVERIFY(run.start());
    run.size_worked_example();
    for (QWidget* window :
         {static_cast<QWidget*>(run.windows.main_window()), static_cast<QWidget*>(run.results())}) {
        QString help;
        run.watch.accept_message(&help);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
        QVERIFY2(help.startsWith(QStringLiteral("Kestrune ")), qPrintable(help));
    }
    // The sheet's window has help of its own.
    run.click("cmdsheet");
    QWidget* sheet = run.windows.sheet_window();
    QString sheet_help;
    run.watch.accept_message(&sheet_help);
    sheet->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    QTest::keyClick(sheet, Qt::Key_F1);
    QVERIFY2(sheet_help.startsWith(QStringLiteral("计算表：")), qPrintable(sheet_help));
    QVERIFY(run.watch.unexpected().isEmpty());
    QCOMPARE(run.watch.still_expected(), std::size_t{0});
}

void QtWindowsTest::theSaveDialogOffersTheNameAndEnterTakesIt() {
    QtProgram run;
    const std::filesystem::path offered =
        std::filesystem::current_path() / utf8_path("计算表-20261208-0930.xlsx");
    QString shown;
    run.watch.accept_file_by_enter(&shown);
    const auto chosen =
        run.windows.choose_save_file("导出 Excel", offered, "Excel 工作簿", ".xlsx");
    QCOMPARE(shown, QStringLiteral("计算表-20261208-0930.xlsx"));
    QVERIFY(chosen.has_value());
    QCOMPARE(QString::fromStdString(path_text(*chosen)),
             QString::fromStdString(path_text(offered)));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void QtWindowsTest::aSecondProgramReachesTheFirstByItsToken() {
    QtWindows first;
    QtWindows second;
    const std::string token = first.window_token();
    QCOMPARE(first.window_token(), token);  // one token for the program's whole run
    QVERIFY(second.bring_to_front(token));
    QVERIFY(!second.bring_to_front("kestrune-no-such-program"));
}

QTEST_MAIN(QtWindowsTest)
#include "qt_windows_test.moc"
