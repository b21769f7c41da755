// SPDX-License-Identifier: GPL-3.0-or-later
// What Qt does for the calculation sheet's window: it opens from the button and from Ctrl+T,
// keys reach the grid, the in-place editor commits and cancels, the clipboard holds the
// copied text, and the window fits on the screen. What each key means is decided and
// tested once, without a toolkit.
#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <QtTest>

#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

namespace {

constexpr int length = 3, dn = 4;

// Started, the worked example sized, the sheet open from its button.
struct SheetProgram : QtProgram {
    SheetWindow* open() {
        if (!start()) {
            return nullptr;
        }
        size_worked_example();
        click("cmdsheet");
        return windows.sheet_window();
    }
    QString cell(int row, int column) const {
        const QAbstractItemModel* model = windows.sheet_window()->view()->model();
        return model->data(model->index(row, column)).toString();
    }
};

}  // namespace

class SheetWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void opensFromTheButtonAndFromCtrlTAndFitsTheScreen();
    void keysReachTheGridAndTheEditorCommitsAndCancels();
    void copyingPutsTheCellsOnTheClipboard();
};

void SheetWindowTest::opensFromTheButtonAndFromCtrlTAndFitsTheScreen() {
    // State: one sizing. Action: 计算表, close, then Ctrl+T in the main window. Expected: the
    // window captioned 计算表 each time, on the newest row's length, inside the work area.
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    QVERIFY(sheet->isVisible());
    QCOMPARE(sheet->windowTitle(), QStringLiteral("计算表"));
    QCOMPARE(sheet->view()->model()->rowCount(), 1);
    QCOMPARE(sheet->view()->currentIndex().column(), length);
    QVERIFY(sheet->screen()->availableGeometry().contains(sheet->frameGeometry()));
    QVERIFY(sheet->view()->font().families().contains(QStringLiteral("SimSun")));
    sheet->close();
    QVERIFY(!sheet->isVisible());
    run.windows.main_window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(run.windows.main_window()));
    QTest::keyClick(run.windows.main_window(), Qt::Key_T, Qt::ControlModifier);
    QVERIFY(sheet->isVisible());
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::keysReachTheGridAndTheEditorCommitsAndCancels() {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    QTest::keyClicks(sheet->view(), "12.5");
    QVERIFY(sheet->editor()->isVisible());
    QCOMPARE(sheet->editor()->text(), QStringLiteral("12.5"));
    QTest::keyClick(sheet->editor(), Qt::Key_Backspace);  // the editor's own key
    QTest::keyClick(sheet->editor(), Qt::Key_Return);
    QVERIFY(!sheet->editor()->isVisible());
    QCOMPARE(run.cell(0, length), QStringLiteral("12"));
    // Chinese from an input method starts an entry as typed characters do.
    QTest::keyClick(sheet->view(), Qt::Key_End);
    QInputMethodEvent chinese;
    chinese.setCommitString(QStringLiteral("立管"));
    QApplication::sendEvent(sheet->view(), &chinese);
    QCOMPARE(sheet->editor()->text(), QStringLiteral("立管"));
    QTest::keyClick(sheet->editor(), Qt::Key_Return);
    QCOMPARE(run.cell(0, 14), QStringLiteral("立管"));
    QTest::keyClick(sheet->view(), Qt::Key_Home);
    for (int column = 0; column < length; ++column) {
        QTest::keyClick(sheet->view(), Qt::Key_Right);
    }
    QTest::keyClicks(sheet->view(), "-1");
    QTest::keyClick(sheet->editor(), Qt::Key_Tab);
    // Refused: the editor stays with the text, the reason on the message line.
    QVERIFY(sheet->editor()->isVisible());
    QCOMPARE(sheet->editor()->text(), QStringLiteral("-1"));
    QVERIFY(!sheet->message()->text().isEmpty());
    QTest::keyClick(sheet->editor(), Qt::Key_Escape);
    QVERIFY(!sheet->editor()->isVisible());
    QCOMPARE(run.cell(0, length), QStringLiteral("12"));
    QTest::keyClick(sheet->view(), Qt::Key_Tab);
    QCOMPARE(sheet->view()->currentIndex().column(), dn);
    // Read-only columns look it: another ground than the editable ones.
    const QAbstractItemModel* model = sheet->view()->model();
    QVERIFY(model->data(model->index(0, dn + 1), Qt::BackgroundRole) !=
            model->data(model->index(0, dn), Qt::BackgroundRole));
    // A row gone before the view has heard of it (a message told meanwhile) draws empty.
    run.handlers.sheet().remove_rows({0});
    QVERIFY(!model->data(model->index(0, dn)).isValid());
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::copyingPutsTheCellsOnTheClipboard() {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    QTest::keyClick(sheet->view(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(sheet->view(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0\t25\r\n"));
    QGuiApplication::clipboard()->setText(QStringLiteral("7.5"));
    QTest::keyClick(sheet->view(), Qt::Key_Left);
    QTest::keyClick(sheet->view(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(run.cell(0, length), QStringLiteral("7.5"));
    QVERIFY(run.watch.unexpected().isEmpty());
}

QTEST_MAIN(SheetWindowTest)
#include "sheet_window_test.moc"
