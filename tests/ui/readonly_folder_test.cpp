// SPDX-License-Identifier: GPL-3.0-or-later
// Runs as an unprivileged user (CTest starts it through run_unprivileged.sh when it is root),
// since for root a read-only folder is no obstacle.
#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>
#include <filesystem>

#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

class ReadOnlyFolderTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void readOnlyFolderAtStartIsReportedAndSizingStillShows();
    void readOnlyLogIsReportedAndLeftAsItWas();
};

void ReadOnlyFolderTest::initTestCase() {
    QVERIFY2(geteuid() != 0, "must not run as root: permissions would not hold");
}

void ReadOnlyFolderTest::readOnlyFolderAtStartIsReportedAndSizingStillShows() {
    // State: a folder with the table but no write permission. Action: start, size.
    // Expected: both times told why, the result shown, nothing created.
    ProgramRun run;
    QCOMPARE(chmod(run.folder.path().c_str(), 0555), 0);
    QString at_start;
    run.watch.accept_message(&at_start);
    QVERIFY(run.start());
    QVERIFY(at_start.contains(QStringLiteral("Permission denied")));
    QTest::keyClicks(run.text("Text1"), "10000");
    QString at_sizing;
    run.watch.answer_input("25");
    run.watch.accept_message(&at_sizing);
    QTest::mouseClick(run.button("cmdok"), Qt::LeftButton);
    QVERIFY(at_sizing.contains(QStringLiteral("Permission denied")));
    QVERIFY(run.window->display_window()->isVisible());
    QVERIFY(!std::filesystem::exists("outdata.txt"));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void ReadOnlyFolderTest::readOnlyLogIsReportedAndLeftAsItWas() {
    ProgramRun run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    run.watch.answer_input("25");
    QTest::mouseClick(run.button("cmdok"), Qt::LeftButton);
    const std::string before = run.log();
    QCOMPARE(chmod("outdata.txt", 0444), 0);
    QString message;
    run.watch.answer_input("24");
    run.watch.accept_message(&message);
    QTest::mouseClick(run.button("cmdok"), Qt::LeftButton);
    QVERIFY(message.contains(QStringLiteral("Permission denied")));
    QVERIFY(run.log() == before);
    QVERIFY(run.watch.unexpected().isEmpty());
}

QTEST_MAIN(ReadOnlyFolderTest)
#include "readonly_folder_test.moc"
