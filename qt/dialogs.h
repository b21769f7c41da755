// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>

namespace kestrune {

// The modal input box: prompt, title and default answer, with "确定" and "取消". Returns the
// text entered, or nullopt when the engineer cancels.
std::optional<QString> ask_text(QWidget* parent, const QString& prompt, const QString& title,
                                const QString& default_answer);

// A modal message in the program's name, with one "确定" button.
void tell(QWidget* parent, const QString& text, QMessageBox::Icon icon);

// A modal question with its own buttons; returns the index of the one clicked (the last one
// when the box is closed otherwise).
int ask_choice(QWidget* parent, const QString& text, const QStringList& buttons);

// A modal folder chooser starting at start; nullopt when the engineer cancels.
std::optional<QString> ask_folder(QWidget* parent, const QString& title, const QString& start);

}  // namespace kestrune
