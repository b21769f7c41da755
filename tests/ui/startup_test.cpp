// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>
#include <filesystem>

#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void missingTableIsNamedAndNoLogIsTouched();
    void chosenFolderBecomesTheWorkingFolder();
    void badTablesAreExplainedBeforeTheLogIsTouched();
    void startingTwiceLeavesTheHeaderOnly();
};

void StartupTest::missingTableIsNamedAndNoLogIsTouched() {
    // State: only indata1.txt, and a log from an earlier run. Action: start, then quit at
    // the question. Expected: the question names indata2.txt and the folder; start-up
    // refused; the old log kept.
    ProgramRun run(worked_dn, nullptr);
    write_bytes("outdata.txt", "earlier rows");
    QString question;
    run.watch.click_button(QStringLiteral("退出"), &question);
    QVERIFY(!run.window->start());
    QVERIFY(question.contains(QStringLiteral("indata2.txt")));
    QVERIFY(question.contains(QString::fromStdString(run.folder.path().string())));
    QVERIFY(read_bytes("outdata.txt") == "earlier rows");
    QVERIFY(run.watch.unexpected().isEmpty());
}

void StartupTest::chosenFolderBecomesTheWorkingFolder() {
    // State: started in an empty folder; the table lies in a sub-folder. Action: cancel the
    // chooser once, choose a folder without a table, then the right one. Expected: asked
    // again each time; the log is made in the chosen folder only, and sizings log there.
    ProgramRun run(nullptr, nullptr);
    const std::filesystem::path empty = run.folder.path() / "empty";
    const std::filesystem::path tables = run.folder.path() / "tables";
    std::filesystem::create_directory(empty);
    std::filesystem::create_directory(tables);
    write_bytes(tables / "indata1.txt", worked_dn);
    write_bytes(tables / "indata2.txt", worked_d);
    run.watch.click_button(QStringLiteral("选择文件夹…"));
    run.watch.choose_folder(QString());
    run.watch.click_button(QStringLiteral("选择文件夹…"));
    run.watch.choose_folder(QString::fromStdString(empty.string()));
    run.watch.click_button(QStringLiteral("选择文件夹…"));
    run.watch.choose_folder(QString::fromStdString(tables.string()));
    QVERIFY(run.start());
    QCOMPARE(run.watch.still_expected(), std::size_t{0});
    QVERIFY(run.watch.unexpected().isEmpty());
    QCOMPARE(std::filesystem::current_path(), tables);
    QVERIFY(!std::filesystem::exists(run.folder.path() / "outdata.txt"));
    QVERIFY(!std::filesystem::exists(empty / "outdata.txt"));
    QTest::keyClicks(run.text("Text1"), "10000");
    run.watch.answer_input("25");
    QTest::mouseClick(run.button("cmdok"), Qt::LeftButton);
    QVERIFY(read_bytes(tables / "outdata.txt") ==
            header_bytes() + row_bytes(10000, 12000, 412.71f, 25, 0.329f, 101.17f));
}

void StartupTest::badTablesAreExplainedBeforeTheLogIsTouched() {
    struct Case {
        const char* dn;
        const char* d;
        const char* expected;
    };
    for (const Case& c :
         {Case{"1 2 3 4 5 6 7 8 9 10 11 12", "1", "12 个"}, Case{"15 abc", "1", "“abc”"},
          Case{"15 99999", "1", "99999"}, Case{"15,,20", "1", "空"}}) {
        ProgramRun run(c.dn, c.d);
        QString message;
        run.watch.accept_message(&message);
        QVERIFY(!run.window->start());
        QVERIFY2(message.contains(QString::fromUtf8(c.expected)), c.dn);
        QVERIFY(!std::filesystem::exists("outdata.txt"));
        QVERIFY(run.watch.unexpected().isEmpty());
    }
}

void StartupTest::startingTwiceLeavesTheHeaderOnly() {
    ProgramRun run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "10000");
    run.watch.answer_input("25");
    QTest::mouseClick(run.button("cmdok"), Qt::LeftButton);
    run.window = std::make_unique<frmcompute>();
    QVERIFY(run.start());
    QVERIFY(run.log() == header_bytes());
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
