// SPDX-License-Identifier: GPL-3.0-or-later
#include <QContextMenuEvent>
#include <QMenu>
#include <QtTest>

#include "qt_program.h"
#include "toolkit_translations.h"

using namespace kestrune;
using namespace kestrune::testing;

namespace {

// Opens the context menu of a text box as a right click does, and gives its entries.
QStringList context_menu_of(QLineEdit* box) {
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10),
                            box->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(box, &click);
    QStringList entries;
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
        return entries;
    }
    for (const QAction* action : menu->actions()) {
        entries << action->text();
    }
    menu->close();
    return entries;
}

bool any_contains(const QStringList& texts, const QString& part) {
    return std::any_of(texts.begin(), texts.end(),
                       [&part](const QString& t) { return t.contains(part); });
}

}  // namespace

class ToolkitTextsTest : public QObject {
    Q_OBJECT
  private slots:
    // Run in this order: the first must see no translation installed yet.
    void withoutTheTranslationFileTheProgramStillStarts();
    void textBoxMenuAndFolderChooserSpeakChinese();
};

void ToolkitTextsTest::withoutTheTranslationFileTheProgramStillStarts() {
    // State: a translations folder without qtbase_zh_CN. Expected: nothing installed, no
    // message, and the program starts and sizes as ever.
    TempWorkingFolder empty;
    QVERIFY(install_toolkit_translations(*qApp, QString::fromStdString(empty.path().string())) ==
            nullptr);
    QtProgram run;
    QVERIFY(run.start());
    QVERIFY(run.windows.main_window()->isVisible());
    QTest::keyClicks(run.text("Text1"), "10000");
    run.watch.answer_input("25");
    run.click("cmdok");
    QCOMPARE(run.handlers.state().r, 101.17f);
    QVERIFY(any_contains(context_menu_of(run.text("Text1")), QStringLiteral("Copy")));
    QVERIFY(run.watch.unexpected().isEmpty());
}

void ToolkitTextsTest::textBoxMenuAndFolderChooserSpeakChinese() {
    // State: Qt's Chinese translation installed as the program does at start; no table in the
    // working folder. Action: open the folder chooser, then right-click Text1. Expected: 取消 in
    // the chooser, 复制 and 粘贴 in the menu.
    QTranslator* chinese = install_toolkit_translations(*qApp);
    QVERIFY2(chinese != nullptr, "qtbase_zh_CN.qm is missing: install qt6-translations-l10n");
    QtProgram run(nullptr, nullptr);
    const std::filesystem::path tables = run.folder.path() / u8"设计";
    std::filesystem::create_directory(tables);
    write_bytes(tables / "indata1.txt", worked_dn);
    write_bytes(tables / "indata2.txt", worked_d);
    QStringList chooser;
    run.watch.click_button(QStringLiteral("选择文件夹…"));
    run.watch.choose_folder(QString::fromStdString(tables.string()), &chooser);
    QVERIFY(run.start());
    QCOMPARE(std::filesystem::current_path(), tables);
    QVERIFY2(any_contains(chooser, QStringLiteral("取消")), qPrintable(chooser.join(',')));
    QVERIFY(!any_contains(chooser, QStringLiteral("Cancel")));

    const QStringList menu = context_menu_of(run.text("Text1"));
    QVERIFY2(any_contains(menu, QStringLiteral("复制")), qPrintable(menu.join(',')));
    QVERIFY(any_contains(menu, QStringLiteral("粘贴")));
    QVERIFY(!any_contains(menu, QStringLiteral("Copy")));
    QVERIFY(run.watch.unexpected().isEmpty());
    QCoreApplication::removeTranslator(chinese);
}

QTEST_MAIN(ToolkitTextsTest)
#include "toolkit_texts_test.moc"
