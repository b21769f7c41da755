// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance scenarios against the Qt front-end, offscreen: keys into the real boxes,
// the real input box answered, the real print windows read.
#include "conformance.h"

#include <QLabel>
#include <QTest>

#include "qt_text.h"
#include "window_fixture.h"

namespace kestrune::testing {

class QtDriver : public ConformanceDriver {
  public:
    QtDriver() { started_ = run_.start(); }
    bool started() const { return started_; }
    QStringList unexpected() const { return run_.watch.unexpected(); }

    void type_load(std::string_view digits) override {
        run_.text("Text1")->clear();
        QTest::keyClicks(run_.text("Text1"),
                         QString::fromUtf8(digits.data(), static_cast<qsizetype>(digits.size())));
    }
    void size(std::string_view dn) override {
        run_.watch.answer_input(qt_text(dn), &seen_, [this] { list_now(); });
        run_.click("cmdok");
        note_asked();
    }
    void size_refused(std::string_view dn) override {
        run_.watch.answer_input(qt_text(dn), &seen_, [this] { list_now(); });
        run_.watch.accept_message();
        run_.click("cmdok");
        note_asked();
    }
    void cancel_sizing() override {
        run_.watch.cancel_input(&seen_);
        run_.click("cmdok");
        note_asked();
    }
    void set_parameter(ControlId button, std::string_view answer) override {
        run_.watch.answer_input(qt_text(answer), &seen_);
        click(button);
        note_asked();
    }
    void click(ControlId button) override {
        run_.click(std::string(control_spec(button).name).c_str());
    }
    void results_gesture(Gesture gesture) override {
        if (gesture == Gesture::escape) {
            QTest::keyClick(run_.results(), Qt::Key_Escape);
        } else if (gesture == Gesture::double_click) {
            QTest::mouseDClick(run_.results(), Qt::LeftButton, {}, QPoint(100, 100));
        } else {
            run_.results()->close();
        }
    }
    void close_main() override { run_.windows.main_window()->close(); }
    std::string shown(ControlId control) override { return run_.windows.text(control); }
    std::string tip(ControlId control) override {
        return utf8_text(run_.windows.control(control)->toolTip());
    }
    std::string focus() override {
        auto* box = qobject_cast<QLineEdit*>(run_.windows.main_window()->focusWidget());
        return box == nullptr ? std::string()
                              : utf8_text(box->objectName() + ':' + box->selectedText());
    }
    bool results_visible() override { return run_.results()->isVisible(); }
    bool list_visible() override { return run_.list()->isVisible(); }
    bool ended() override {
        return !run_.windows.main_window()->isVisible() && !run_.results()->isVisible();
    }
    std::vector<std::string> results() override {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < run_.results()->surface()->lines().size(); ++i) {
            lines.push_back(printed(run_.results()->surface(), i).toStdString());
        }
        return lines;
    }
    std::string log() override { return run_.log(); }

  private:
    void note_asked() {
        asked_.push_back(utf8_text(seen_.title + '|' + seen_.prompt + '|' + seen_.offered));
    }
    void list_now() {
        listed_.clear();
        for (std::size_t i = 0; i < run_.list()->surface()->lines().size(); ++i) {
            listed_.push_back(printed(run_.list()->surface(), i).toStdString());
        }
    }

    QtProgram run_;
    InputSeen seen_;
    bool started_ = false;
};

class ConformanceTest : public QObject {
    Q_OBJECT
  private slots:
    void theQtFrontEndPlaysEveryScenario();
};

void ConformanceTest::theQtFrontEndPlaysEveryScenario() {
    for (const Scenario& scenario : conformance_scenarios()) {
        QtDriver driver;
        QVERIFY(driver.started());
        const auto differences = play(driver, scenario);
        QVERIFY2(differences.empty(), differences.empty() ? "" : differences.front().c_str());
        QVERIFY2(driver.unexpected().isEmpty(), qPrintable(driver.unexpected().join('\n')));
    }
}

}  // namespace kestrune::testing

QTEST_MAIN(kestrune::testing::ConformanceTest)
#include "conformance_test.moc"
