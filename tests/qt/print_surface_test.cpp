// SPDX-License-Identifier: GPL-3.0-or-later
#include <QImage>
#include <QtTest>

#include "example_table.h"
#include "qt_program.h"

using namespace kestrune;
using namespace kestrune::testing;

namespace {

// How many pixels of the widget, as drawn now, differ from its background.
int inked_pixels(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    const QRgb ground = widget->palette().color(QPalette::Window).rgb();
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            inked += image.pixel(x, y) != ground ? 1 : 0;
        }
    }
    return inked;
}

}  // namespace

class PrintSurfaceTest : public QObject {
    Q_OBJECT
  private slots:
    void printedLinesAreDrawnAgainAfterARepaint();
    void theListFitsItsWindowEvenForLargeLoads();
    void previewItemsAreDrawnInAMutedColour();
};

void PrintSurfaceTest::printedLinesAreDrawnAgainAfterARepaint() {
    // State: two lines printed. Action: draw the window anew, then clear it. Expected: ink
    // after the repaint, none after the clear.
    QWidget parent;
    PrintWindow window(&parent, frmdisplay_window);
    window.show();
    window.surface()->print_line(results_header());
    design_state s;
    s.q_user = 10000;
    window.surface()->print_line(result_values(s));
    QVERIFY(inked_pixels(window.surface()) > 100);
    window.surface()->clear();
    QCOMPARE(inked_pixels(window.surface()), 0);
}

void PrintSurfaceTest::theListFitsItsWindowEvenForLargeLoads() {
    QtProgram run(example_dn, example_d);
    QVERIFY(run.start());
    struct Case {
        const char* load;
        bool refused;  // -1 W and 0.5 W (v rounds to 0) cannot be sized
    };
    for (Case c :
         {Case{"10000", false}, Case{"1000000", false}, Case{"-1", true}, Case{"0.5", true}}) {
        run.text("Text1")->setText(QString::fromUtf8(c.load));
        QSizeF extent;
        run.watch.answer_input("15", nullptr,
                               [&] { extent = run.list()->surface()->printed_extent(); });
        if (c.refused) {
            run.watch.accept_message();
        }
        run.click("cmdok");
        QVERIFY2(extent.width() <= run.list()->width(), c.load);
        QVERIFY2(extent.height() <= run.list()->height(), c.load);
    }
    QVERIFY(run.watch.unexpected().isEmpty());
}

void PrintSurfaceTest::previewItemsAreDrawnInAMutedColour() {
    // A line whose items are all muted leaves no pixel as dark as the plain text's.
    QWidget parent;
    PrintWindow window(&parent, frmchoose_window);
    window.show();
    auto darkest = [&window] {
        const QImage image = window.surface()->grab().toImage();
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
            }
        }
        return darkest;
    };
    window.surface()->print_line(diameter_list_header());
    const int plain = darkest();
    window.surface()->clear();
    window.surface()->print_line(diameter_list_header(), 0);
    QVERIFY(darkest() > plain + 40);
}

QTEST_MAIN(PrintSurfaceTest)
#include "print_surface_test.moc"
