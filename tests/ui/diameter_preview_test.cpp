// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>
#include <functional>
#include <random>

#include "number_text.h"
#include "pipe_preview.h"
#include "window_fixture.h"

using namespace kestrune;
using namespace kestrune::testing;

namespace {

// The printed lines of the diameter list, captured while the input box waits.
struct ListSeen {
    std::vector<QString> lines;
    std::vector<std::vector<bool>> muted;
    QSizeF extent;
    QSize area;
};

std::function<void()> capture(const ProgramRun& run, ListSeen& seen) {
    return [&run, &seen] {
        const PrintSurface* list = run.window->choose_window()->surface();
        for (std::size_t i = 0; i < list->lines().size(); ++i) {
            seen.lines.push_back(printed(list, i));
            std::vector<bool> muted;
            for (std::size_t item = 0; item < list->lines()[i].size(); ++item) {
                muted.push_back(list->is_muted(i, item));
            }
            seen.muted.push_back(muted);
        }
        seen.extent = list->printed_extent();
        seen.area = list->size();
    };
}

// Clicks OK and answers dn, capturing the list meanwhile; a message that must follow (the
// sizing refused) is accepted.
ListSeen size_with(ProgramRun& run, const QString& dn, bool refused = false) {
    ListSeen seen;
    run.watch.answer_input(dn, nullptr, capture(run, seen));
    if (refused) {
        run.watch.accept_message();
    }
    run.click("cmdok");
    return seen;
}

// The last line of the results log.
std::string last_row(const std::string& log) {
    const std::size_t end = log.size() - 2;  // before the final CR LF
    return log.substr(log.rfind("\r\n", end - 1) + 2);
}

}  // namespace

class DiameterPreviewTest : public QObject {
    Q_OBJECT
  private slots:
    void withoutALoadTheListIsThePlainTable();
    void aLoadOfZeroKeepsThePlainTable();
    void tenKilowattsShowTheWorkedNumbersBesideDN20AsSuggested();
    void everyRowShowsWhatSizingItThenLogs();
    void marksStandWhereTheLimitsPutThem();
    void shadowedAndUnsizableRowsShowTheirTableColumnsOnly();
    void theListFitsTheWindowEvenForLargeLoads();
    void previewFollowsChangedParametersAndRandomLoads();
};

void DiameterPreviewTest::withoutALoadTheListIsThePlainTable() {
    // State: nothing typed. Action: OK, answer 25. Expected: the two-column table as before, no
    // note, nothing muted; the sizing is then refused for want of a load.
    ProgramRun run(example_dn, example_d);
    QVERIFY(run.start());
    const ListSeen seen = size_with(run, "25", true);
    QCOMPARE(seen.lines.size(), std::size_t{12});
    QCOMPARE(seen.lines[0], QStringLiteral("公称直径|管道内径"));
    QCOMPARE(seen.lines[2], QStringLiteral(" 20 | 21.25 "));
    for (const auto& line : seen.muted) {
        QVERIFY(std::none_of(line.begin(), line.end(), [](bool m) { return m; }));
    }
    QVERIFY(run.watch.unexpected().isEmpty());
}

void DiameterPreviewTest::aLoadOfZeroKeepsThePlainTable() {
    ProgramRun run(example_dn, example_d);
    QVERIFY(run.start());
    run.type_load("abc");  // reads as 0 W: no flow to size for
    const ListSeen seen = size_with(run, "20", true);
    QCOMPARE(seen.lines.size(), std::size_t{12});
    QCOMPARE(seen.lines[11], QStringLiteral(" 150 | 156 "));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void DiameterPreviewTest::tenKilowattsShowTheWorkedNumbersBesideDN20AsSuggested() {
    // State: 10000 W with the example table. Action: OK, answer 20. Expected: v and r beside
    // DN20 with "推荐", muted new columns, the note below, and the same numbers logged.
    ProgramRun run(example_dn, example_d);
    QVERIFY(run.start());
    run.type_load("10000");
    const ListSeen seen = size_with(run, "20");
    QCOMPARE(seen.lines.size(), std::size_t{13});
    QCOMPARE(seen.lines[0], QStringLiteral("公称直径|管道内径|流速(m/s)|比摩阻(Pa/m)"));
    QCOMPARE(seen.lines[2], QStringLiteral(" 20 | 21.25 | .329 | 101.17 |推荐"));
    QVERIFY(seen.lines[12].startsWith(QStringLiteral("超速：")));
    QCOMPARE(seen.muted[2], (std::vector<bool>{false, false, true, true, true}));
    QCOMPARE(seen.muted[0], (std::vector<bool>{false, false, true, true}));
    QCOMPARE(seen.muted[12], std::vector<bool>{true});
    QVERIFY(run.log() == header_bytes() + row_bytes(10000, 12000, 412.71f, 20, 0.329f, 101.17f));
    QCOMPARE(std::count_if(seen.lines.begin() + 1, seen.lines.begin() + 12,
                           [](const QString& l) { return l.contains(QStringLiteral("推荐")); }),
             1);
    QVERIFY(run.watch.unexpected().isEmpty());
}

void DiameterPreviewTest::everyRowShowsWhatSizingItThenLogs() {
    // State: 10000 W. Action: size every DN of the example table in turn. Expected: the v and r
    // each row showed are the ones the log then holds for that DN.
    ProgramRun run(example_dn, example_d);
    QVERIFY(run.start());
    run.type_load("10000");
    for (std::size_t row = 0; row < pipe_rows; ++row) {
        const std::int16_t dn = run.window->state().pipes[row].dn;
        const ListSeen seen = size_with(run, QString::number(dn));
        const QStringList shown = seen.lines.at(row + 1).split('|');
        QVERIFY(shown.size() >= 4);
        const std::string logged = last_row(run.log());
        design_state s = run.window->state();
        QCOMPARE(s.dn, dn);
        QCOMPARE(shown[2].toStdString(), float_print_form(s.v));
        QCOMPARE(shown[3].toStdString(), float_print_form(s.r));
        QVERIFY(logged == row_bytes(10000, 12000, 412.71f, dn, s.v, s.r));
    }
    QVERIFY(run.watch.unexpected().isEmpty());
}

void DiameterPreviewTest::marksStandWhereTheLimitsPutThem() {
    // State: 35000 W. Expected: DN15 and DN20 too fast, DN32 suggested, no other marks.
    ProgramRun run(example_dn, example_d);
    QVERIFY(run.start());
    run.type_load("35000");
    const ListSeen seen = size_with(run, "32");
    QVERIFY(seen.lines[1].endsWith(QStringLiteral("|超速")));
    QVERIFY(seen.lines[2].endsWith(QStringLiteral("|超速")));
    QVERIFY(seen.lines[4].endsWith(QStringLiteral("|推荐")));
    for (std::size_t line : {3u, 5u, 6u, 7u, 8u, 9u, 10u, 11u}) {
        QCOMPARE(seen.lines[line].split('|').size(), 4);
    }
    QVERIFY(run.watch.unexpected().isEmpty());
}

void DiameterPreviewTest::shadowedAndUnsizableRowsShowTheirTableColumnsOnly() {
    // The worked table: 15, 24, 25, 26, 27 (inner diameter 0), then unfilled rows; with DN 25
    // doubled at the end only the last 25 shows a preview.
    ProgramRun run("15\r\n24\r\n25\r\n26\r\n27\r\n25\r\n",
                   "15.75\r\n20\r\n21.25\r\n22\r\n0\r\n27\r\n");
    QVERIFY(run.start());
    run.type_load("10000");
    const ListSeen seen = size_with(run, "25");
    QCOMPARE(seen.lines[3], QStringLiteral(" 25 | 21.25 "));
    QCOMPARE(seen.lines[5], QStringLiteral(" 27 | 0 "));
    QVERIFY(seen.lines[6].startsWith(QStringLiteral(" 25 | 27 | ")));
    QCOMPARE(seen.lines[7], QStringLiteral(" 0 | 0 "));
    // What the preview of the last 25 showed is what answering 25 logged.
    const QStringList shown = seen.lines[6].split('|');
    QCOMPARE(shown[2].toStdString(), float_print_form(run.window->state().v));
    QCOMPARE(run.window->state().d, 27.0f);
    QVERIFY(run.watch.unexpected().isEmpty());
}

void DiameterPreviewTest::theListFitsTheWindowEvenForLargeLoads() {
    ProgramRun run(example_dn, example_d);
    QVERIFY(run.start());
    struct Case {
        const char* load;
        bool refused;  // -1 W and 0.5 W (v rounds to 0) cannot be sized
    };
    for (Case c :
         {Case{"10000", false}, Case{"1000000", false}, Case{"-1", true}, Case{"0.5", true}}) {
        run.type_load(c.load);
        const ListSeen seen = size_with(run, "15", c.refused);
        QVERIFY2(seen.extent.width() <= seen.area.width(), c.load);
        QVERIFY2(seen.extent.height() <= seen.area.height(), c.load);
        QCOMPARE(seen.area, run.window->choose_window()->size());
    }
    QCOMPARE(run.window->choose_window()->windowTitle(), QStringLiteral("直径的选择:"));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void DiameterPreviewTest::previewFollowsChangedParametersAndRandomLoads() {
    // State: density, temperatures and viscosity changed through their dialogs, random loads
    // and margin factors. Expected: every previewed row equals what sizing it logs.
    ProgramRun run(example_dn, example_d);
    QVERIFY(run.start());
    std::mt19937 random(7);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int trial = 0; trial < 6; ++trial) {
        run.watch.answer_input(QString::number(pick(960, 999)) + QStringLiteral(".5"));
        QTest::mouseClick(run.button("cmdset1"), Qt::LeftButton);
        run.watch.answer_input(QString::number(pick(80, 110)));
        QTest::mouseClick(run.button("cmdset2"), Qt::LeftButton);
        run.watch.answer_input(QString::number(pick(50, 75)));
        QTest::mouseClick(run.button("cmdset3"), Qt::LeftButton);
        run.watch.answer_input(QStringLiteral("0.%1").arg(pick(25, 60)));
        QTest::mouseClick(run.button("cmdset4"), Qt::LeftButton);
        run.text("Text4")->setText(QStringLiteral("1.%1").arg(pick(0, 30)));
        run.type_load(QByteArray::number(pick(2000, 80000)).constData());

        const std::size_t row = static_cast<std::size_t>(pick(0, 10));
        const std::int16_t dn = run.window->state().pipes[row].dn;
        const ListSeen seen = size_with(run, QString::number(dn));
        const QStringList shown = seen.lines.at(row + 1).split('|');
        QVERIFY(shown.size() >= 4);
        const design_state& s = run.window->state();
        QVERIFY(last_row(run.log()) == row_bytes(s.q_user, s.q_design, s.g_design, dn, s.v, s.r));
        QCOMPARE(shown[2].toStdString(), float_print_form(s.v));
        QCOMPARE(shown[3].toStdString(), float_print_form(s.r));
    }
    QVERIFY(run.watch.unexpected().isEmpty());
}

QTEST_MAIN(DiameterPreviewTest)
#include "diameter_preview_test.moc"
