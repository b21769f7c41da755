// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QtTest>
#include <filesystem>

#include "number_text.h"
#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

namespace {

QString problem(ProgramRun& run) {
    return run.window->findChild<QLabel*>("problem_line")->text();
}

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT
  private slots:
    void strangeLoadsNeverShowANonFiniteNumber();
    void strangeDiameterAnswersAreRefused();
    void strangeParameterAnswersAreRefused();
    void logReplacedByAFolderBetweenSizingsIsReported();
    void thousandsOfSizingsLogExactlyOneRowEach();
};

void HostileInputTest::strangeLoadsNeverShowANonFiniteNumber() {
    // State: started. Action: paste each text into the load box. Expected: either a finite
    // number in both boxes or the problem line, never "inf" or "nan", never a dialog.
    struct Case {
        QString load;
        QString design_load;  // empty: refused inline
    };
    const QString megabyte_of_digits(1 << 20, QLatin1Char('9'));
    const QString megabyte_of_junk(1 << 20, QLatin1Char('x'));
    const Case cases[] = {
        {megabyte_of_digits, {}},
        {megabyte_of_junk, QStringLiteral("0")},
        {QStringLiteral("1e39"), {}},
        {QStringLiteral("-1e39"), {}},
        {QStringLiteral("1e308"), {}},
        {QStringLiteral("-0"), QStringLiteral("0")},
        {QStringLiteral("NaN"), QStringLiteral("0")},
        {QStringLiteral("inf"), QStringLiteral("0")},
        {QStringLiteral("1e-50"), QStringLiteral("0")},
        {QStringLiteral("3e38"), {}},  // fits q_user, but 1.2 times it does not
        {QStringLiteral("1e30"), {}},  // fits, but its flow overflows the rounding
        {QStringLiteral("１２"), QStringLiteral("0")},
    };
    ProgramRun run;
    QVERIFY(run.start());
    for (const Case& c : cases) {
        run.paste_load(c.load);
        const QString shown = run.text("Text2")->text() + run.text("Text3")->text();
        QVERIFY2(!shown.contains(QStringLiteral("Inf"), Qt::CaseInsensitive) &&
                     !shown.contains(QStringLiteral("NaN"), Qt::CaseInsensitive),
                 qPrintable(c.load.left(20)));
        if (c.design_load.isEmpty()) {
            QVERIFY2(!problem(run).isEmpty(), qPrintable(c.load.left(20)));
            QCOMPARE(run.text("Text2")->text(), QString());
        } else {
            QVERIFY2(problem(run).isEmpty(), qPrintable(c.load.left(20)));
            QCOMPARE(run.text("Text2")->text(), c.design_load);
        }
    }
    QVERIFY(run.watch.unexpected().isEmpty());
}

void HostileInputTest::strangeDiameterAnswersAreRefused() {
    ProgramRun run;
    QVERIFY(run.start());
    run.paste_load(QStringLiteral("10000"));
    const QString answers[] = {QString(1 << 20, QLatin1Char('7')),
                               QStringLiteral("1e39"),
                               QStringLiteral("-0"),
                               QStringLiteral("NaN"),
                               QStringLiteral("inf"),
                               QStringLiteral("&HFFFFF")};
    for (const QString& answer : answers) {
        QString message;
        run.watch.answer_input(answer);
        run.watch.accept_message(&message);
        run.click("cmdok");
        QVERIFY2(!message.isEmpty(), qPrintable(answer.left(20)));
        QVERIFY(message.size() < 400);
        QVERIFY(!run.window->choose_window()->isVisible());
    }
    QVERIFY(run.log() == header_bytes());
    QVERIFY(run.watch.unexpected().isEmpty());
}

void HostileInputTest::strangeParameterAnswersAreRefused() {
    ProgramRun run;
    QVERIFY(run.start());
    const QString answers[] = {QString(1 << 20, QLatin1Char('5')), QStringLiteral("NaN"),
                               QStringLiteral("inf"), QStringLiteral("-inf")};
    for (const QString& answer : answers) {
        for (const char* button : {"cmdset1", "cmdset4"}) {
            run.watch.answer_input(answer);
            run.watch.accept_message();
            run.click(button);
        }
    }
    // A megabyte of digits is out of the 16-bit range for a temperature.
    run.watch.answer_input(answers[0]);
    run.watch.accept_message();
    run.click("cmdset2");
    QCOMPARE(run.window->state().rho, 983.25f);
    QCOMPARE(run.window->state().nu, 0.477f);
    QCOMPARE(run.window->state().t_supply, std::int16_t{95});
    QCOMPARE(run.watch.still_expected(), std::size_t{0});
    QVERIFY(run.watch.unexpected().isEmpty());
}

void HostileInputTest::logReplacedByAFolderBetweenSizingsIsReported() {
    ProgramRun run;
    QVERIFY(run.start());
    run.paste_load(QStringLiteral("10000"));
    run.watch.answer_input("25");
    run.click("cmdok");
    std::filesystem::remove("outdata.txt");
    std::filesystem::create_directory("outdata.txt");
    QString message;
    run.watch.answer_input("24");
    run.watch.accept_message(&message);
    run.click("cmdok");
    QVERIFY(message.contains(QStringLiteral("Is a directory")));
    QCOMPARE(run.window->display_window()->surface()->lines().at(1).at(3).text,
             std::string(" 24 "));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void HostileInputTest::thousandsOfSizingsLogExactlyOneRowEach() {
    // State: started. Action: 2000 sizings with changing loads and diameters, every tenth
    // one refused (a diameter not in the table). Expected: the header, then exactly one row
    // per sizing that went through, in order, each as the results window showed it.
    ProgramRun run;
    QVERIFY(run.start());
    std::string expected = header_bytes();
    const char* diameters[] = {"15", "24", "25", "26"};
    for (int i = 0; i < 2000; ++i) {
        run.paste_load(QString::number(1000 + 37 * i));
        if (i % 10 == 9) {
            run.watch.answer_input("99");
            run.watch.accept_message();
            run.click("cmdok");
            continue;
        }
        run.watch.answer_input(diameters[i % 4]);
        run.click("cmdok");
        std::string shown;
        for (const PlacedText& p : run.window->display_window()->surface()->lines().at(1)) {
            shown += p.text;
        }
        const design_state& s = run.window->state();
        expected += row_bytes(s.q_user, s.q_design, s.g_design, s.dn, s.v, s.r);
        QVERIFY(shown.find(float_print_form(s.r)) != std::string::npos);
    }
    QVERIFY(run.watch.unexpected().isEmpty());
    QCOMPARE(run.watch.still_expected(), std::size_t{0});
    const std::string log = run.log();
    QCOMPARE(log.size(), expected.size());
    QVERIFY(log == expected);
}

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
