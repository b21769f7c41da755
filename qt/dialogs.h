// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <optional>

namespace kestrune {

// The input box: prompt, title and default answer, with "确定" and "取消", modal to the
// parent window (the list beside it can still be clicked). Returns the text entered, or
// nullopt when the engineer cancels. current points to the box while it waits.
std::optional<QString> ask_text(QWidget* parent, const QString& prompt, const QString& title,
                                const QString& default_answer,
                                QPointer<QInputDialog>* current = nullptr);

// A modal message in the program's name, with one "确定" button.
void tell(QWidget* parent, const QString& text, QMessageBox::Icon icon);

// A modal question with its own buttons; returns the index of the one clicked (the last one
// when the box is closed otherwise). Enter presses the default one.
int ask_choice(QWidget* parent, const QString& text, const QStringList& buttons,
               int default_button);

// A modal save dialog offering a file, of one type ("Excel 工作簿 (*.xlsx)"); nullopt when the
// engineer cancels.
std::optional<QString> ask_save_file(QWidget* parent, const QString& title, const QString& offered,
                                     const QString& filter, const QString& suffix);

// A modal folder chooser starting at start; nullopt when the engineer cancels.
std::optional<QString> ask_folder(QWidget* parent, const QString& title, const QString& start);

}  // namespace kestrune
