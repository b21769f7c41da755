// SPDX-License-Identifier: GPL-3.0-or-later
// What a long day of sizings keeps: the heap after 300 sizings against the heap after 50.
#include <malloc.h>

#include <QTest>

#include "qt_program.h"

namespace kestrune::testing {
namespace {

// Bytes in use on the heap, small blocks and mapped ones.
std::size_t heap_in_use() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

}  // namespace

class MemoryTest : public QObject {
    Q_OBJECT
  private slots:
    void aDayOfSizingsKeepsNoMemory();
};

void MemoryTest::aDayOfSizingsKeepsNoMemory() {
    // State: the program started. Action: 300 sizings, each with its load typed over the
    // last, a DN answered and the results put away by Esc. Expected: the heap after 300
    // within 256 KiB of the heap after 50, the calculation sheet's 250 new rows included;
    // and no keystroke kept for undo in the load box once a sizing is done.
    QtProgram run;
    QVERIFY(run.start());
    std::size_t after_fifty = 0;
    for (int i = 1; i <= 300; ++i) {
        run.text("Text1")->selectAll();
        QTest::keyClicks(run.text("Text1"), QString::number(1000 + 37 * i));
        run.watch.answer_input(i % 2 == 0 ? "25" : "24");
        run.click("cmdok");
        QTest::keyClick(run.results(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        if (run.text("Text1")->isUndoAvailable()) {
            QFAIL("the load box keeps its typing after a sizing");
        }
        if (i == 50) {
            after_fifty = heap_in_use();
        }
    }
    const std::size_t after_all = heap_in_use();
    QVERIFY2(run.watch.unexpected().isEmpty(), qPrintable(run.watch.unexpected().join('\n')));
    QVERIFY2(after_all < after_fifty + 256 * 1024,
             qPrintable(QStringLiteral("grew by %1 bytes").arg(after_all - after_fifty)));
}

}  // namespace kestrune::testing

QTEST_MAIN(kestrune::testing::MemoryTest)
#include "memory_test.moc"
