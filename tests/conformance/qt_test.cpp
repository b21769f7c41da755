// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance scenarios against the Qt front-end, offscreen: keys into the real boxes,
// the real input box answered, the real print windows read.
#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include "qt_program.h"
#include "qt_text.h"
#include "scenarios.h"

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
    void size(std::string_view dn, std::optional<Gesture> on_list) override {
        run_.watch.answer_input(qt_text(dn), &seen_, [this, on_list] {
            if (on_list) {
                gesture(PrintWindowId::frmchoose, *on_list);
            }
            list_now();
        });
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
    void gesture(PrintWindowId id, Gesture gesture) override {
        PrintWindow* window = run_.windows.print_window(id);
        if (gesture == Gesture::escape) {
            QTest::keyClick(window, Qt::Key_Escape);
        } else if (gesture == Gesture::double_click) {
            QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(100, 100));
        } else {
            window->close();
        }
    }
    void close_main() override { run_.windows.main_window()->close(); }
    void sheet_press(const KeyStroke& stroke) override {
        SheetWindow* sheet = run_.windows.sheet_window();
        QWidget* to = sheet->editor()->isVisible() ? static_cast<QWidget*>(sheet->editor())
                                                   : static_cast<QWidget*>(sheet->view());
        if (stroke.key == PhysicalKey::other) {
            const QString text = qt_text(stroke.text);
            if (text.toLatin1() == text.toUtf8()) {
                QTest::keyClicks(to, text);
                return;
            }
            // Beyond what keys type: as an input method commits it.
            QInputMethodEvent committed;
            committed.setCommitString(text);
            QApplication::sendEvent(to, &committed);
            return;
        }
        const auto code = stroke.key == PhysicalKey::letter
                              ? std::optional<int>(Qt::Key_A + (stroke.letter - 'A'))
                              : code_of<int>(qt_named_keys, stroke.key);
        Qt::KeyboardModifiers modifiers;
        modifiers.setFlag(Qt::ShiftModifier, stroke.shift);
        modifiers.setFlag(Qt::ControlModifier, stroke.ctrl);
        modifiers.setFlag(Qt::AltModifier, stroke.alt);
        QTest::keyClick(to, static_cast<Qt::Key>(code.value()), modifiers);
    }
    void sheet_row_number(std::size_t row, bool shift) override {
        QHeaderView* numbers = run_.windows.sheet_window()->view()->verticalHeader();
        const int at = numbers->sectionViewportPosition(static_cast<int>(row)) +
                       numbers->sectionSize(static_cast<int>(row)) / 2;
        QTest::mouseClick(numbers->viewport(), Qt::LeftButton,
                          shift ? Qt::ShiftModifier : Qt::NoModifier,
                          QPoint(numbers->width() / 2, at));
    }
    void close_sheet() override { run_.windows.sheet_window()->close(); }
    void answer_question(std::string_view caption) override {
        run_.watch.click_button(qt_text(caption));
    }
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
    bool sheet_visible() override {
        return run_.windows.sheet_window() != nullptr && run_.windows.sheet_window()->isVisible();
    }
    std::string sheet_cell(std::size_t row, std::size_t column) override {
        return utf8_text(run_.sheet_cell(row, column));
    }
    std::optional<std::string> sheet_editor() override {
        const QLineEdit* editor = run_.windows.sheet_window()->editor();
        return editor->isVisible() ? std::optional(utf8_text(editor->text())) : std::nullopt;
    }
    std::string sheet_message() override {
        return utf8_text(run_.windows.sheet_window()->message()->text());
    }
    int sheet_scrolled() override {
        return run_.windows.sheet_window()->view()->horizontalScrollBar()->value();
    }
    frmcompute& handlers() override { return run_.handlers; }
    WindowToolkit& toolkit() override { return run_.windows; }

  private:
    void note_asked() {
        asked_.push_back(utf8_text(seen_.title + '|' + seen_.prompt + '|' + seen_.offered));
    }
    void list_now() {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < run_.list()->surface()->lines().size(); ++i) {
            lines.push_back(printed(run_.list()->surface(), i).toStdString());
        }
        note_list(std::move(lines), run_.list()->isVisible());
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
#include "qt_test.moc"
