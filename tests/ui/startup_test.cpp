#include <QtTest>
#include <filesystem>

#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void missingTableIsNamedAndNoLogIsTouched();
    void badTablesAreExplainedBeforeTheLogIsTouched();
    void startingTwiceLeavesTheHeaderOnly();
};

void StartupTest::missingTableIsNamedAndNoLogIsTouched() {
    // State: only indata1.txt, and a log from an earlier run. Action: start. Expected: a
    // message naming indata2.txt and the folder; start-up refused; the old log kept.
    ProgramRun run(worked_dn, nullptr);
    write_bytes("outdata.txt", "earlier rows");
    QString message;
    run.watch.accept_message(&message);
    QVERIFY(!run.window->start());
    QVERIFY(message.contains(QStringLiteral("indata2.txt")));
    QVERIFY(message.contains(QString::fromStdString(run.folder.path().string())));
    QVERIFY(read_bytes("outdata.txt") == "earlier rows");
    QVERIFY(run.watch.unexpected().isEmpty());
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
