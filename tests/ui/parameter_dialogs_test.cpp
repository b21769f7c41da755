// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

class ParameterDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void eachDialogShowsItsPromptTitleAndDefault();
    void densityDialogAlwaysOffersTheTableDefault();
    void newSupplyTemperatureChangesTheFlowAtTheNextLoadChange();
    void temperaturesRoundHalvesToEvenAndSetTheDifference();
    void cancelKeepsEveryParameter();
    void emptyAnswerReadsAsZero();
    void densityAndViscosityMustBePositiveAndFinite();
    void temperaturesBeyond16BitsAreRefused();
};

void ParameterDialogsTest::eachDialogShowsItsPromptTitleAndDefault() {
    struct Row {
        const char* button;
        QString prompt, title, offered;
    };
    const Row rows[] = {
        {"cmdset1", QStringLiteral("请你输入需要的密度："), QStringLiteral("密度更改！"),
         QStringLiteral("983.25")},
        {"cmdset2", QStringLiteral("请你输入新的供水温度："), QStringLiteral("供水温度更改！"),
         QStringLiteral("95")},
        {"cmdset3", QStringLiteral("请你输入新的回水温度："), QStringLiteral("回水温度更改！"),
         QStringLiteral("70")},
        {"cmdset4", QStringLiteral("请你输入新的粘滞系数："), QStringLiteral("粘滞系数更改！"),
         QStringLiteral("0.477")},
    };
    ProgramRun run;
    QVERIFY(run.start());
    for (const Row& row : rows) {
        InputSeen seen;
        run.watch.cancel_input(&seen);
        run.click(row.button);
        QCOMPARE(seen.prompt, row.prompt);
        QCOMPARE(seen.title, row.title);
        QCOMPARE(seen.offered, row.offered);
        QCOMPARE(seen.ok_text, QStringLiteral("确定"));
        QCOMPARE(seen.cancel_text, QStringLiteral("取消"));
    }
    QVERIFY(run.watch.unexpected().isEmpty());
}

void ParameterDialogsTest::densityDialogAlwaysOffersTheTableDefault() {
    ProgramRun run;
    QVERIFY(run.start());
    run.watch.answer_input("990.3");
    run.click("cmdset1");
    QCOMPARE(run.window->state().rho, 990.3f);
    InputSeen seen;
    run.watch.cancel_input(&seen);
    run.click("cmdset1");
    QCOMPARE(seen.offered, QStringLiteral("983.25"));
    QCOMPARE(run.window->state().rho, 990.3f);
    run.watch.answer_input("0.5");
    run.click("cmdset4");
    QCOMPARE(run.window->state().nu, 0.5f);
}

void ParameterDialogsTest::newSupplyTemperatureChangesTheFlowAtTheNextLoadChange() {
    // State: load 1000 (design 1200). Action: supply 90. Expected: flow unchanged until
    // the load box changes, then 51.59.
    ProgramRun run;
    QVERIFY(run.start());
    QTest::keyClicks(run.text("Text1"), "100");
    run.watch.answer_input("90");
    run.click("cmdset2");
    QCOMPARE(run.window->state().dt, std::int16_t{20});
    QCOMPARE(run.text("Text3")->text(), QStringLiteral("4.13"));
    QTest::keyClicks(run.text("Text1"), "0");
    QCOMPARE(run.text("Text2")->text(), QStringLiteral("1200"));
    QCOMPARE(run.text("Text3")->text(), QStringLiteral("51.59"));
}

void ParameterDialogsTest::temperaturesRoundHalvesToEvenAndSetTheDifference() {
    ProgramRun run;
    QVERIFY(run.start());
    run.watch.answer_input("92.5");
    run.click("cmdset2");
    QCOMPARE(run.window->state().t_supply, std::int16_t{92});
    run.watch.answer_input("93.5");
    run.click("cmdset2");
    QCOMPARE(run.window->state().t_supply, std::int16_t{94});
    run.watch.answer_input("60");
    run.click("cmdset3");
    QCOMPARE(run.window->state().t_return, std::int16_t{60});
    QCOMPARE(run.window->state().dt, std::int16_t{34});
}

void ParameterDialogsTest::cancelKeepsEveryParameter() {
    ProgramRun run;
    QVERIFY(run.start());
    for (const char* button : {"cmdset1", "cmdset2", "cmdset3", "cmdset4"}) {
        run.watch.cancel_input();
        run.click(button);
    }
    const design_state& s = run.window->state();
    QCOMPARE(s.rho, 983.25f);
    QCOMPARE(s.t_supply, std::int16_t{95});
    QCOMPARE(s.t_return, std::int16_t{70});
    QCOMPARE(s.dt, std::int16_t{25});
    QCOMPARE(s.nu, 0.477f);
    QVERIFY(run.watch.unexpected().isEmpty());
}

void ParameterDialogsTest::emptyAnswerReadsAsZero() {
    // An empty answer confirmed with OK reads as 0: taken for a temperature, refused for
    // the density, which must be positive.
    ProgramRun run;
    QVERIFY(run.start());
    run.watch.answer_input("");
    run.click("cmdset3");
    QCOMPARE(run.window->state().t_return, std::int16_t{0});
    QCOMPARE(run.window->state().dt, std::int16_t{95});
    QString message;
    run.watch.answer_input("");
    run.watch.accept_message(&message);
    run.click("cmdset1");
    QCOMPARE(run.window->state().rho, 983.25f);
    QVERIFY(message.contains(QStringLiteral("983.25")));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void ParameterDialogsTest::densityAndViscosityMustBePositiveAndFinite() {
    ProgramRun run;
    QVERIFY(run.start());
    for (const char* answer : {"0", "-5", "1e39", "1e999", "abc", "-0", "1e-50"}) {
        for (const char* button : {"cmdset1", "cmdset4"}) {
            QString message;
            run.watch.answer_input(answer);
            run.watch.accept_message(&message);
            run.click(button);
            QVERIFY2(message.contains(QStringLiteral("大于 0")), answer);
        }
    }
    QCOMPARE(run.window->state().rho, 983.25f);
    QCOMPARE(run.window->state().nu, 0.477f);
    QVERIFY(run.watch.unexpected().isEmpty());
}

void ParameterDialogsTest::temperaturesBeyond16BitsAreRefused() {
    ProgramRun run;
    QVERIFY(run.start());
    QString message;
    run.watch.answer_input("40000");
    run.watch.accept_message(&message);
    run.click("cmdset2");
    QVERIFY(message.contains(QStringLiteral("超出范围")));
    QCOMPARE(run.window->state().t_supply, std::int16_t{95});

    // -32768 fits a temperature, but 95 - (-32768) does not fit the difference.
    run.watch.answer_input("-32768");
    run.watch.accept_message(&message);
    run.click("cmdset3");
    QVERIFY(message.contains(QStringLiteral("温差")));
    QCOMPARE(run.window->state().t_return, std::int16_t{70});
    QCOMPARE(run.window->state().dt, std::int16_t{25});
    QVERIFY(run.watch.unexpected().isEmpty());
}

QTEST_MAIN(ParameterDialogsTest)
#include "parameter_dialogs_test.moc"
