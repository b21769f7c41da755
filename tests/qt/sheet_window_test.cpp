// SPDX-License-Identifier: GPL-3.0-or-later
// What only Qt does for the calculation sheet's window: it opens from the button and from
// Ctrl+T and fits on the screen, the editor keeps its own keys, an input method's Chinese
// starts an entry, and read-only cells have their own ground. Entries, refusals and the
// clipboard: the conformance scenarios.
#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

#include "column_widths.h"
#include "fitting_drive.h"
#include "fitting_table.h"
#include "network_sheet.h"
#include "number_text.h"
#include "qt_program.h"
#include "qt_text.h"
#include "sheet_file.h"
#include "sheet_layout.h"
#include "sketch_view.h"
#include "twips.h"
#include "worked_sheet.h"

using namespace kestrune;
using namespace kestrune::testing;

namespace {

const int length = static_cast<int>(column_index(SheetColumn::length)),
          dn = static_cast<int>(column_index(SheetColumn::dn));

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
};

}  // namespace

class SheetWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void opensFromTheButtonAndFromCtrlTAndFitsTheScreen();
    void theEditorKeepsItsOwnKeysAndTakesAnInputMethodsText();
    void everyColumnShowsAt1366PixelsAndTheSegmentStaysWhileTheGridScrollsSideways();
    void theSketchStandsBesideTheGridAndAClickOnASegmentSelectsItsRow();
    void aShortCodeOffersItsFittingsUnderTheCellAndAClickOrEnterTakesOne();
    void fourteenRowsOfFittingsAreTypedByShortCodeInUnderAHundredKeys();
    void columnWidthsDraggedAreKeptAndTheNextWindowOpensWithThem();
    void ctrlOInTheMainWindowAndCtrlNInTheSheetSwitchProjectsAndTheTitlesFollow();
    void ctrlPPrintsTheCalculationThroughThePrintDialog();
};

void SheetWindowTest::opensFromTheButtonAndFromCtrlTAndFitsTheScreen() {
    // State: one sizing. Action: 计算表, close, then Ctrl+T in the main window. Expected: the
    // window with its caption each time, on the newest row's length, inside the work area.
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    QVERIFY(sheet->isVisible());
    // The window says which project it shows: the working folder's, as no name was given.
    QCOMPARE(sheet->windowTitle(),
             qt_text(project_title(frmsheet_window,
                                   path_text(std::filesystem::current_path().filename()))));
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

void SheetWindowTest::theEditorKeepsItsOwnKeysAndTakesAnInputMethodsText() {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    QTest::keyClicks(sheet->view(), "12.5");
    QTest::keyClick(sheet->editor(), Qt::Key_Backspace);
    QTest::keyClick(sheet->editor(), Qt::Key_Return);
    QCOMPARE(run.sheet_cell(0, length), QStringLiteral("12"));
    QTest::keyClick(sheet->view(), Qt::Key_End);
    QInputMethodEvent chinese;
    chinese.setCommitString(QStringLiteral("立管"));
    QApplication::sendEvent(sheet->view(), &chinese);
    QCOMPARE(sheet->editor()->text(), QStringLiteral("立管"));
    QTest::keyClick(sheet->editor(), Qt::Key_Return);
    QCOMPARE(run.sheet_cell(0, static_cast<int>(column_index(SheetColumn::note))),
             QStringLiteral("立管"));
    // Read-only columns look it: another ground than the editable ones.
    const QAbstractItemModel* model = sheet->view()->model();
    QVERIFY(model->data(model->index(0, dn + 1), Qt::BackgroundRole) !=
            model->data(model->index(0, dn), Qt::BackgroundRole));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::everyColumnShowsAt1366PixelsAndTheSegmentStaysWhileTheGridScrollsSideways() {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    SheetView* grid = sheet->view();
    SheetView* frozen = sheet->frozen_view();
    // The titles on two lines: the header is two lines high.
    QVERIFY(grid->horizontalHeader()->height() >= 2 * QFontMetrics(grid->font()).height());
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("管段号"));
    QCOMPARE(grid->model()->headerData(length, Qt::Horizontal).toString(),
             QStringLiteral("管长\nL (m)"));
    // A 1366 px screen at 100 %, less the window's frame: nothing to scroll sideways.
    sheet->resize(1366 - 2 * 8, 650);
    QTRY_COMPARE(grid->horizontalScrollBar()->maximum(), 0);
    QVERIFY(!frozen->isVisible());
    // 150 % of the same screen leaves about 900 px: End goes to 备注, the grid scrolls, and
    // the row numbers and 管段号 stay at its left edge.
    sheet->resize(900, 500);
    QTRY_VERIFY(grid->horizontalScrollBar()->maximum() > 0);
    QTest::keyClick(grid, Qt::Key_End);
    QCOMPARE(grid->currentIndex().column(), static_cast<int>(sheet_columns.size()) - 1);
    QVERIFY(grid->horizontalScrollBar()->value() > 0);
    QVERIFY(frozen->isVisible());
    QCOMPARE(frozen->geometry().left(), grid->frameWidth());
    QCOMPARE(frozen->columnWidth(0), grid->columnWidth(0));
    QVERIFY(frozen->isColumnHidden(1));
    QCOMPARE(frozen->model()->data(frozen->model()->index(0, 0)).toString(), QStringLiteral("1"));
    // Left to 上游: brought out from under the frozen column, not left beneath it.
    for (int c = grid->currentIndex().column(); c > 1; --c) {
        QTest::keyClick(grid, Qt::Key_Left);
    }
    QCOMPARE(grid->currentIndex().column(), 1);
    QVERIFY(grid->visualRect(grid->currentIndex()).left() >= grid->columnWidth(0));
    // A click on the frozen 管段号 is a click on the row's 管段号.
    QTest::keyClick(grid, Qt::Key_End);
    const QRect cell = frozen->visualRect(frozen->model()->index(0, 0));
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(grid->currentIndex().column(), 0);
    QCOMPARE(grid->horizontalScrollBar()->value(), 0);
    QVERIFY(!frozen->isVisible());
    QCOMPARE(sheet->focusWidget(), static_cast<QWidget*>(grid));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::theSketchStandsBesideTheGridAndAClickOnASegmentSelectsItsRow() {
    // State: the two-pipe system of ten segments in the folder's sheet. Action: open the
    // sheet, click radiator 5's line in the sketch. Expected: the sketch right of the grid, and
    // the grid on row 5 in the column it was in.
    SheetProgram run;
    SheetData data = small_system();
    settle_network(data);
    choose_pipes(data, example_pipes(), shipped_fittings());
    QVERIFY(!save_sheet(sheet_file_name, data));
    QVERIFY(run.start());
    run.click("cmdsheet");
    SheetWindow* sheet = run.windows.sheet_window();
    QVERIFY(sheet != nullptr);
    SketchPane* pane = sheet->sketch();
    QVERIFY(pane->isVisible());
    // No column given up for it: under the grid in a window without room beside it...
    sheet->resize(1000, 700);
    QCOMPARE(sheet->view()->horizontalScrollBar()->maximum() > 0, true);
    QVERIFY(pane->geometry().top() > sheet->view()->geometry().bottom());
    // ... and beside it in one with room.
    sheet->resize(1900, 700);
    QVERIFY(pane->geometry().left() > sheet->view()->geometry().right());
    QTRY_COMPARE(sheet->view()->horizontalScrollBar()->maximum(), 0);
    SketchPicture* picture = pane->picture();
    QCOMPARE(picture->sketch().lines.size() > 10, true);
    const int column = sheet->view()->currentIndex().column();
    // Found first: the click draws the sketch anew.
    QPointF middle;
    for (const SketchLine& line : picture->sketch().lines) {
        if (line.row == 4 && !line.joint) {
            middle = (picture->at(line.points[0]) + picture->at(line.points[1])) / 2;
        }
    }
    pane->ensureVisible(static_cast<int>(middle.x()), static_cast<int>(middle.y()));
    QTest::mouseClick(picture, Qt::LeftButton, {}, middle.toPoint());
    QCOMPARE(sheet->view()->currentIndex().row(), 4);
    QCOMPARE(sheet->view()->currentIndex().column(), column);
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::aShortCodeOffersItsFittingsUnderTheCellAndAClickOrEnterTakesOne() {
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    for (int c = length; c < static_cast<int>(column_index(SheetColumn::xi)); ++c) {
        QTest::keyClick(sheet->view(), Qt::Key_Right);
    }
    QTest::keyClicks(sheet->view(), "2");
    QTest::keyClicks(sheet->editor(), "w");
    QListWidget* offers = sheet->offers();
    QVERIFY(offers->isVisible());
    QCOMPARE(offers->count(), 1);
    QVERIFY(offers->item(0)->text().startsWith(QStringLiteral("90°煨弯  ξ ")));
    const QRect cell(sheet->editor()->mapTo(sheet, QPoint(0, 0)), sheet->editor()->size());
    QVERIFY(offers->geometry().top() >= cell.bottom());
    QCOMPARE(sheet->focusWidget(), sheet->editor());
    // A click takes the highlighted fitting; the entry stays open for the next one.
    QTest::mouseClick(offers->viewport(), Qt::LeftButton, {},
                      offers->visualItemRect(offers->item(0)).center());
    QCOMPARE(sheet->editor()->text(), QStringLiteral("2×90°煨弯"));
    QVERIFY(!offers->isVisible());
    QTest::keyClicks(sheet->editor(), "+j");
    QVERIFY(offers->isVisible());
    QTest::keyClick(sheet->editor(), Qt::Key_Return);
    QVERIFY(!sheet->editor()->isVisible());
    QVERIFY(!offers->isVisible());
    const int dn_shown = run.sheet_cell(0, dn).toInt();
    const auto xi =
        evaluate_xi("2×90°煨弯+截止阀", shipped_fittings(), static_cast<std::int16_t>(dn_shown));
    QVERIFY(xi.has_value());
    QCOMPARE(run.sheet_cell(0, static_cast<int>(column_index(SheetColumn::xi))),
             qt_text(shortest_text(xi.value())));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::fourteenRowsOfFittingsAreTypedByShortCodeInUnderAHundredKeys() {
    // State: a sheet of 14 segments at DN 20. Action: the keys of the trial's system, each to
    // the widget that has them (the grid, or the editor once an entry is open). Expected:
    // every Σξ kept by its fittings' names, in under 100 keys.
    SheetProgram run;
    QVERIFY(!save_sheet(sheet_file_name, worked_sheet(fourteen_rows.size() - 3).data()));
    QVERIFY(run.start());
    run.click("cmdsheet");
    SheetWindow* sheet = run.windows.sheet_window();
    QVERIFY(sheet != nullptr);
    const auto to = [sheet]() -> QWidget* {
        return sheet->editor()->isVisible() ? static_cast<QWidget*>(sheet->editor())
                                            : static_cast<QWidget*>(sheet->view());
    };
    QTest::keyClick(to(), Qt::Key_Home, Qt::ControlModifier);
    std::size_t pressed = 1;
    for (std::size_t c = 0; c < column_index(SheetColumn::xi); ++c, ++pressed) {
        QTest::keyClick(to(), Qt::Key_Right);
    }
    for (const DrivenXi& row : fourteen_rows) {
        for (const char* c = row.keys; *c != '\0'; ++c) {
            QTest::keyClicks(to(), QString(QChar(*c)));
        }
        QTest::keyClick(to(), Qt::Key_Return);
        pressed += keys_for(row);
    }
    for (std::size_t r = 0; r < fourteen_rows.size(); ++r) {
        QCOMPARE(QString::fromStdString(run.handlers.sheet().edit_text(r, SheetColumn::xi)),
                 QString::fromUtf8(fourteen_rows[r].kept));
        QCOMPARE(run.sheet_cell(r, static_cast<int>(column_index(SheetColumn::xi))),
                 QString::fromUtf8(fourteen_rows[r].xi));
    }
    QVERIFY(pressed < 100);
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::columnWidthsDraggedAreKeptAndTheNextWindowOpensWithThem() {
    SheetProgram run;
    std::vector<int> twips(sheet_columns.size(), 1500);
    twips[0] = 3000;
    keep_column_widths(".", twips);
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    QCOMPARE(sheet->view()->columnWidth(0), px(3000));
    sheet->view()->horizontalHeader()->resizeSection(1, 150);  // as a drag leaves it
    QTRY_COMPARE(kept_column_widths(".")[1], std::optional<int>(twips_of(150)));
    QCOMPARE(kept_column_widths(".")[0], std::optional<int>(3000));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::ctrlOInTheMainWindowAndCtrlNInTheSheetSwitchProjectsAndTheTitlesFollow() {
    // State: the sheet open, a second project folder beside the first one's files. Action:
    // Ctrl+O in the main window, that folder chosen; then Ctrl+N in the sheet, a name typed.
    // Expected: both titles name each project in turn, and the sheet shows its rows.
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    const std::filesystem::path second = run.folder.path() / utf8_path("二号楼");
    std::filesystem::create_directory(second);
    std::filesystem::copy_file("indata1.txt", second / "indata1.txt");
    std::filesystem::copy_file("indata2.txt", second / "indata2.txt");
    run.watch.choose_folder(qt_text(path_text(second)));
    run.windows.main_window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(run.windows.main_window()));
    QTest::keyClick(run.windows.main_window(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(run.windows.main_window()->windowTitle(), QStringLiteral("Kestrune：二号楼"));
    QCOMPARE(sheet->windowTitle(), QStringLiteral("计算表：二号楼"));
    QCOMPARE(sheet->view()->model()->rowCount(), 0);

    run.watch.answer_input(QStringLiteral("三号楼"));
    run.windows.show_sheet();
    QTest::keyClick(sheet->view(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("计算表：三号楼"));
    QVERIFY(std::filesystem::equivalent(std::filesystem::current_path(),
                                        run.folder.path() / utf8_path("三号楼")));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SheetWindowTest::ctrlPPrintsTheCalculationThroughThePrintDialog() {
    // State: one sizing, the sheet open. Action: Ctrl+P, the dialog's printer writing a file.
    // Expected: the dialog offers every page, and the printer gets the 计算书's pages.
    SheetProgram run;
    SheetWindow* sheet = run.open();
    QVERIFY(sheet != nullptr);
    const QString file = qt_text(path_text(run.folder.path() / "printed.pdf"));
    int offered = 0;
    run.watch.print_to_file(file, &offered);
    QTest::keyClick(sheet->view(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(run.watch.unexpected().isEmpty());
    QVERIFY(offered >= 1);
    QVERIFY(std::filesystem::exists(run.folder.path() / "printed.pdf"));
    QVERIFY(sheet->message()->text().contains(QStringLiteral("计算书已送往打印机")));
    // Cancelled: nothing printed, nothing said.
    run.watch.print_to_file({});
    QTest::keyClick(sheet->view(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(run.watch.unexpected().isEmpty());
    QVERIFY(!sheet->message()->text().contains(QStringLiteral("计算书已送往打印机")));
    // The same through the module the program loads when it first prints.
    run.windows.set_paper_printer(module_printer(KESTRUNE_PRINT_MODULE));
    run.watch.print_to_file(qt_text(path_text(run.folder.path() / "module.pdf")));
    QTest::keyClick(sheet->view(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(run.watch.unexpected().isEmpty());
    QVERIFY(std::filesystem::exists(run.folder.path() / "module.pdf"));
    // No module where it should be: the engineer is told the print failed.
    run.windows.set_paper_printer(module_printer(run.folder.path() / "missing.so"));
    QTest::keyClick(sheet->view(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(run.watch.unexpected().isEmpty());
    QVERIFY(sheet->message()->text().startsWith(QStringLiteral("无法打印")));
}

QTEST_MAIN(SheetWindowTest)
#include "sheet_window_test.moc"
