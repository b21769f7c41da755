// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QtTest>
#include <filesystem>

#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

namespace {

const std::string worked_row = row_bytes(10000, 12000, 412.71f, 25, 0.329f, 101.17f);

}  // namespace

class SizingRunTest : public QObject {
    Q_OBJECT
  private slots:
    void sizingDn25LogsAndShowsTheWorkedExample();
    void diameterAnswerRoundsHalvesToEven();
    void twoIdenticalRunsLogTwoRowsAndShowTheLastOnly();
    void doubleClickHidesTheResultsUntilTheNextRun();
    void cancelEndsTheRunWithNothingComputed();
    void diameterNotInTheTableIsRefusedAndNeverReusesTheOldOne();
    void diameterBeyond16BitsIsRefused();
    void sizingWithoutALoadIsExplainedAndNothingLogged();
    void negativeLoadAndZeroInnerDiameterAreExplained();
    void loadEntryInErrorShowsInlineAndBlocksSizing();
    void logThatCannotBeWrittenIsReportedAndTheResultStillShows();
    void fullDiskDuringAnAppendIsReported();
    void deletedLogIsCreatedAgainWithoutHeader();
    void listCannotBeClosedWhileTheAnswerWaits();
};

void SizingRunTest::sizingDn25LogsAndShowsTheWorkedExample() {
    // State: load 10000 typed. Action: OK, answer 25. Expected: the list shown while asking,
    // the row logged after the header, two lines in the results window.
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    InputSeen seen;
    bool list_visible = false;
    std::size_t listed = 0;
    QString listed_row;
    run.watch.answer_input("25", &seen, [&] {
        list_visible = run.window->choose_window()->isVisible();
        listed = run.window->choose_window()->surface()->lines().size();
        listed_row = printed(run.window->choose_window()->surface(), 3);
    });
    run.click("cmdok");
    QVERIFY(run.watch.unexpected().isEmpty());
    QCOMPARE(seen.prompt, QStringLiteral("请你输入合适的公称直径:"));
    QCOMPARE(seen.title, QStringLiteral("输入公称直径！"));
    QCOMPARE(seen.offered, QStringLiteral("15"));
    QCOMPARE(seen.ok_text, QStringLiteral("确定"));
    QCOMPARE(seen.cancel_text, QStringLiteral("取消"));
    QVERIFY(list_visible);
    QCOMPARE(listed, std::size_t{13});  // header, 11 rows, the note on the marks
    QCOMPARE(listed_row, QStringLiteral(" 25 | 21.25 | .329 | 101.17 |推荐"));
    QCOMPARE(run.window->choose_window()->windowTitle(), QStringLiteral("直径的选择:"));

    QVERIFY(!run.window->choose_window()->isVisible());
    QVERIFY(run.window->choose_window()->surface()->lines().empty());
    QVERIFY(run.log() == header_bytes() + worked_row);
    frmdisplay* display = run.window->display_window();
    QVERIFY(display->isVisible());
    QCOMPARE(display->surface()->lines().size(), std::size_t{2});
    QCOMPARE(printed(display->surface(), 0),
             QStringLiteral("用户负荷|设计负荷|设计流量|公称管径| 流速 | 比摩阻"));
    QCOMPARE(printed(display->surface(), 1),
             QStringLiteral(" 10000 | 12000 | 412.71 | 25 | .329 | 101.17 "));
    // Each value stands at a zone start, zones being evenly spaced.
    const auto& values = display->surface()->lines().at(1);
    const double zone = values.at(1).x;
    QVERIFY(zone > 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        QCOMPARE(values.at(i).x, zone * static_cast<double>(i));
    }
}

void SizingRunTest::diameterAnswerRoundsHalvesToEven() {
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    run.watch.answer_input("25.5");
    run.click("cmdok");
    QCOMPARE(run.window->state().dn, std::int16_t{26});
    run.watch.answer_input("24.5");
    run.click("cmdok");
    QCOMPARE(run.window->state().dn, std::int16_t{24});
    QCOMPARE(run.window->state().d, 20.0f);
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::twoIdenticalRunsLogTwoRowsAndShowTheLastOnly() {
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    run.watch.answer_input("25");
    run.watch.answer_input("25");
    run.click("cmdok");
    run.click("cmdok");
    QVERIFY(run.log() == header_bytes() + worked_row + worked_row);
    QCOMPARE(run.window->display_window()->surface()->lines().size(), std::size_t{2});
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::doubleClickHidesTheResultsUntilTheNextRun() {
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    run.watch.answer_input("25");
    run.click("cmdok");
    frmdisplay* display = run.window->display_window();
    QTest::mouseDClick(display, Qt::LeftButton, {}, QPoint(100, 100));
    QVERIFY(!display->isVisible());
    run.watch.answer_input("15");
    run.click("cmdok");
    QVERIFY(display->isVisible());
    QCOMPARE(display->surface()->lines().size(), std::size_t{2});
    QCOMPARE(display->surface()->lines().at(1).at(3).text, std::string(" 15 "));
    // Its close box hides it too; the program goes on.
    display->close();
    QVERIFY(!display->isVisible());
    QVERIFY(run.window->isVisible());
}

void SizingRunTest::cancelEndsTheRunWithNothingComputed() {
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    run.watch.cancel_input();
    run.click("cmdok");
    QVERIFY(!run.window->choose_window()->isVisible());
    QVERIFY(run.window->choose_window()->surface()->lines().empty());
    QVERIFY(!run.window->display_window()->isVisible());
    QCOMPARE(run.window->state().dn, std::int16_t{0});
    QCOMPARE(run.window->state().v, 0.0f);
    QVERIFY(run.log() == header_bytes());
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::diameterNotInTheTableIsRefusedAndNeverReusesTheOldOne() {
    // State: one good run with 25. Action: answer 65. Expected: a message naming 65, the
    // list gone, no new row, the results window still showing the 25 result.
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    run.watch.answer_input("25");
    run.click("cmdok");
    QString message;
    run.watch.answer_input("65");
    run.watch.accept_message(&message);
    run.click("cmdok");
    QVERIFY(message.contains(QStringLiteral("65")));
    QVERIFY(!run.window->choose_window()->isVisible());
    QVERIFY(run.log() == header_bytes() + worked_row);
    QCOMPARE(run.window->state().dn, std::int16_t{25});
    QCOMPARE(printed(run.window->display_window()->surface(), 1),
             QStringLiteral(" 10000 | 12000 | 412.71 | 25 | .329 | 101.17 "));
    QCOMPARE(run.watch.still_expected(), std::size_t{0});
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::diameterBeyond16BitsIsRefused() {
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    for (const char* answer : {"40000", "-32769", "1e39", "1e999"}) {
        QString message;
        run.watch.answer_input(answer);
        run.watch.accept_message(&message);
        run.click("cmdok");
        QVERIFY2(message.contains(QStringLiteral("超出范围")), answer);
        QVERIFY(!run.window->choose_window()->isVisible());
    }
    QVERIFY(run.log() == header_bytes());
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::sizingWithoutALoadIsExplainedAndNothingLogged() {
    ProgramRun run;
    QVERIFY(run.start());
    QString message;
    run.watch.answer_input("25");
    run.watch.accept_message(&message);
    run.click("cmdok");
    QVERIFY(message.contains(QStringLiteral("还没有输入用户负荷")));
    QVERIFY(run.log() == header_bytes());
    QVERIFY(!run.window->display_window()->isVisible());
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::negativeLoadAndZeroInnerDiameterAreExplained() {
    // State: a good result on screen. Action: a negative load large enough to make the
    // friction formula fail, then DN 27 whose inner diameter is 0. Expected: both explained, no
    // rows, the last result kept on screen.
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    run.watch.answer_input("25");
    run.click("cmdok");

    run.type_load("-100");
    QString negative;
    run.watch.answer_input("25");
    run.watch.accept_message(&negative);
    run.click("cmdok");
    QVERIFY(negative.contains(QStringLiteral("负数")));

    run.type_load("10000");
    QString zero;
    run.watch.answer_input("27");
    run.watch.accept_message(&zero);
    run.click("cmdok");
    QVERIFY(zero.contains(QStringLiteral("内径为 0")));

    QVERIFY(run.log() == header_bytes() + worked_row);
    QCOMPARE(printed(run.window->display_window()->surface(), 1),
             QStringLiteral(" 10000 | 12000 | 412.71 | 25 | .329 | 101.17 "));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::loadEntryInErrorShowsInlineAndBlocksSizing() {
    // State: supply temperature set equal to the return one. Action: type a load, click OK.
    // Expected: no dialog while typing, the problem under the boxes, OK refuses at once.
    ProgramRun run;
    QVERIFY(run.start());
    run.watch.answer_input("70");
    QTest::mouseClick(run.button("cmdset2"), Qt::LeftButton);
    QCOMPARE(run.window->state().dt, std::int16_t{0});
    run.type_load("1200");
    QVERIFY(run.watch.unexpected().isEmpty());
    auto* problem = run.window->findChild<QLabel*>("problem_line");
    QVERIFY(problem->text().contains(QStringLiteral("温差为 0")));
    QCOMPARE(run.text("Text3")->text(), QString());

    QString refusal;
    run.watch.accept_message(&refusal);
    run.click("cmdok");
    QVERIFY(refusal.contains(QStringLiteral("负荷输入有误")));
    QVERIFY(run.window->choose_window() == nullptr || !run.window->choose_window()->isVisible());
    QVERIFY(run.log() == header_bytes());

    run.type_load("1e39");  // beyond the 32-bit range: refused inline as well
    QVERIFY(problem->text().contains(QStringLiteral("太大")));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::logThatCannotBeWrittenIsReportedAndTheResultStillShows() {
    // State: "outdata.txt" is a folder. Expected: told at start-up and at the sizing,
    // with the system's reason; the result still shows.
    ProgramRun run;
    std::filesystem::create_directory("outdata.txt");
    QString at_start;
    run.watch.accept_message(&at_start);
    QVERIFY(run.start());
    QVERIFY(at_start.contains(QStringLiteral("Is a directory")));
    run.type_load("10000");
    QString at_sizing;
    run.watch.answer_input("25");
    run.watch.accept_message(&at_sizing);
    run.click("cmdok");
    QVERIFY(at_sizing.contains(QStringLiteral("Is a directory")));
    QVERIFY(run.window->display_window()->isVisible());
    QCOMPARE(printed(run.window->display_window()->surface(), 1),
             QStringLiteral(" 10000 | 12000 | 412.71 | 25 | .329 | 101.17 "));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::fullDiskDuringAnAppendIsReported() {
    ProgramRun run;
    QVERIFY(run.start());
    std::filesystem::remove("outdata.txt");
    std::filesystem::create_symlink("/dev/full", "outdata.txt");
    run.type_load("10000");
    QString message;
    run.watch.answer_input("25");
    run.watch.accept_message(&message);
    run.click("cmdok");
    QVERIFY(message.contains(QStringLiteral("No space left on device")));
    QVERIFY(run.window->display_window()->isVisible());
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::deletedLogIsCreatedAgainWithoutHeader() {
    ProgramRun run;
    QVERIFY(run.start());
    std::filesystem::remove("outdata.txt");
    run.type_load("10000");
    run.watch.answer_input("25");
    run.click("cmdok");
    QVERIFY(run.log() == worked_row);
    QVERIFY(run.watch.unexpected().isEmpty());
}

void SizingRunTest::listCannotBeClosedWhileTheAnswerWaits() {
    ProgramRun run;
    QVERIFY(run.start());
    run.type_load("10000");
    bool still_visible = false;
    run.watch.answer_input("25", nullptr, [&] {
        run.window->choose_window()->close();
        still_visible = run.window->choose_window()->isVisible();
    });
    run.click("cmdok");
    QVERIFY(still_visible);
    QVERIFY(run.log() == header_bytes() + worked_row);
}

QTEST_MAIN(SizingRunTest)
#include "sizing_run_test.moc"
