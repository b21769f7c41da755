// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>

#include "messages.h"
#include "qt_text.h"

namespace kestrune {

std::optional<QString> ask_text(QWidget* parent, const QString& prompt, const QString& title,
                                const QString& default_answer, QPointer<QInputDialog>* current) {
    QInputDialog box(parent);
    box.setObjectName(QStringLiteral("input_box"));
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(default_answer);
    box.setOkButtonText(qt_text(ok_caption));
    box.setCancelButtonText(qt_text(cancel_caption));
    box.setWindowModality(Qt::WindowModal);
    if (current != nullptr) {
        *current = &box;
    }
    const int result = box.exec();
    if (current != nullptr) {
        *current = nullptr;
    }
    if (result != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.textValue();
}

void tell(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, qt_text(dialog_title), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("message_box"));
    box.addButton(qt_text(ok_caption), QMessageBox::AcceptRole);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

int ask_choice(QWidget* parent, const QString& text, const QStringList& buttons,
               int default_button) {
    QMessageBox box(QMessageBox::Question, qt_text(dialog_title), text, QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("question_box"));
    QList<QAbstractButton*> added;
    for (const QString& label : buttons) {
        added << box.addButton(label, added.size() + 1 == buttons.size() ? QMessageBox::RejectRole
                                                                         : QMessageBox::AcceptRole);
    }
    if (default_button >= 0 && default_button < added.size()) {
        box.setDefaultButton(static_cast<QPushButton*>(added.at(default_button)));
    }
    box.setEscapeButton(added.last());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    const qsizetype clicked = added.indexOf(box.clickedButton());
    return clicked >= 0 ? static_cast<int>(clicked) : static_cast<int>(buttons.size()) - 1;
}

std::optional<QString> ask_save_file(QWidget* parent, const QString& title, const QString& offered,
                                     const QString& filter, const QString& suffix) {
    QFileDialog box(parent, title);
    box.setObjectName(QStringLiteral("save_dialog"));
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setNameFilter(filter);
    box.setDefaultSuffix(suffix);
    box.selectFile(offered);
    box.setWindowModality(Qt::ApplicationModal);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return box.selectedFiles().constFirst();
}

std::optional<QString> ask_folder(QWidget* parent, const QString& title, const QString& start) {
    QFileDialog box(parent, title, start);
    box.setObjectName(QStringLiteral("folder_dialog"));
    box.setFileMode(QFileDialog::Directory);
    box.setOption(QFileDialog::ShowDirsOnly);
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setWindowModality(Qt::ApplicationModal);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return box.selectedFiles().constFirst();
}

}  // namespace kestrune
