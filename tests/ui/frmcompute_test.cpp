// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startShowsTheDefaultsAndWritesTheHeader();
    void typingALoadKeyByKeyShowsDesignLoadAndFlow();
    void lettersInTheLoadShowZero();
    void newMarginTakesEffectAtTheNextLoadChange();
    void outputBoxesAreReadOnlyButSelectable();
    void closingTheMainWindowEndsTheProgram();
    void tabOrderAndFontsFollowTheLayout();
};

void MainWindowTest::startShowsTheDefaultsAndWritesTheHeader() {
    // State: a working folder with the table. Action: start. Expected: defaults shown,
    // log holds the header only, results window loaded but hidden.
    ProgramRun run;
    QVERIFY(run.start());
    QCOMPARE(run.window->windowTitle(), QStringLiteral("Kestrune："));
    QCOMPARE(run.text("Text1")->text(), QString());
    QCOMPARE(run.text("Text4")->text(), QStringLiteral("1.2"));
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("0"));
    QCOMPARE(run.text("Text3")->text(), QStringLiteral("0"));
    QCOMPARE(run.window->findChild<QLabel*>("Label1")->text(), QStringLiteral("用户负荷(w):"));
    QCOMPARE(run.window->findChild<QLabel*>("Label2")->text(), QStringLiteral("富裕系数："));
    QCOMPARE(run.window->findChild<QLabel*>("Label3")->text(), QStringLiteral("设计负荷(w):"));
    QCOMPARE(run.window->findChild<QLabel*>("Label4")->text(), QStringLiteral("设计流量(kg/h):"));
    QCOMPARE(run.button("cmdok")->text(), QStringLiteral("确      定"));
    QCOMPARE(run.button("Cmdexit")->text(), QStringLiteral("退       出"));
    QCOMPARE(run.button("cmdset1")->text(), QStringLiteral("密     度"));
    QCOMPARE(run.window->size(), QSize(711, 478));
    QCOMPARE(run.text("Text1")->geometry(), QRect(104, 96, 185, 41));
    QVERIFY(run.log() == header_bytes());
    QVERIFY(run.window->display_window() != nullptr);
    QVERIFY(!run.window->display_window()->isVisible());
    QCOMPARE(run.window->display_window()->windowTitle(), QStringLiteral("display"));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void MainWindowTest::typingALoadKeyByKeyShowsDesignLoadAndFlow() {
    // State: started. Action: type 1, then 0000. Expected: 1.2 / 0.05, then 12000 / 412.71.
    ProgramRun run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "1");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("1.2"));
    QCOMPARE(run.text("Text3")->text(), QStringLiteral("0.05"));
    QTest::keyClicks(run.text("Text1"), "0000");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("12000"));
    QCOMPARE(run.text("Text3")->text(), QStringLiteral("412.71"));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void MainWindowTest::lettersInTheLoadShowZero() {
    ProgramRun run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "abc");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("0"));
    QCOMPARE(run.text("Text3")->text(), QStringLiteral("0"));
}

void MainWindowTest::newMarginTakesEffectAtTheNextLoadChange() {
    // State: load 1000 shown as 1200. Action: margin 1.5, then one more key.
    // Expected: unchanged until the load changes, then 1.5 x 10000.
    ProgramRun run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "1000");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("1200"));
    run.text("Text4")->selectAll();
    QTest::keyClicks(run.text("Text4"), "1.5");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("1200"));
    QTest::keyClicks(run.text("Text1"), "0");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("15000"));
}

void MainWindowTest::outputBoxesAreReadOnlyButSelectable() {
    ProgramRun run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    QLineEdit* flow = run.text("Text3");
    QVERIFY(flow->isReadOnly());
    QTest::keyClicks(flow, "99");
    QCOMPARE(flow->text(), QStringLiteral("412.71"));
    flow->selectAll();
    QCOMPARE(flow->selectedText(), QStringLiteral("412.71"));
}

void MainWindowTest::closingTheMainWindowEndsTheProgram() {
    // State: a result on screen. Action: close box of the main window. Expected: every
    // window is gone, nothing more written.
    ProgramRun run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    run.watch.answer_input("25");
    QTest::mouseClick(run.button("cmdok"), Qt::LeftButton);
    QVERIFY(run.window->display_window()->isVisible());
    const std::string before = run.log();
    run.window->close();
    QVERIFY(!run.window->isVisible());
    QVERIFY(!run.window->display_window()->isVisible());
    QVERIFY(run.log() == before);
}

void MainWindowTest::tabOrderAndFontsFollowTheLayout() {
    // State: started. Action: walk the focus chain from Text1. Expected: the controls that
    // take focus in their tab order; Song font 10.5 pt for boxes, 12 pt for the big buttons.
    ProgramRun run;
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
                                 "cmdset2", "cmdset3", "cmdset4"}));
    QCOMPARE(run.text("Text1")->font().pointSizeF(), 10.5);
    QVERIFY(run.text("Text1")->font().families().contains(QStringLiteral("SimSun")));
    QCOMPARE(run.window->findChild<QLabel*>("Label4")->font().pointSizeF(), 10.5);
    QCOMPARE(run.button("cmdok")->font().pointSizeF(), 12.0);
    QCOMPARE(run.button("cmdset1")->font().pointSizeF(), QApplication::font().pointSizeF());
}

QTEST_MAIN(MainWindowTest)
#include "frmcompute_test.moc"
