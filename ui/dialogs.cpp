#include "dialogs.h"

#include <QInputDialog>
#include <QPushButton>

namespace kestrune {

std::optional<QString> ask_text(QWidget* parent, const QString& prompt, const QString& title,
                                const QString& default_answer) {
    QInputDialog box(parent);
    box.setObjectName(QStringLiteral("input_box"));
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(default_answer);
    box.setOkButtonText(QStringLiteral("确定"));
    box.setCancelButtonText(QStringLiteral("取消"));
    box.setWindowModality(Qt::ApplicationModal);
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.textValue();
}

void tell(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, QStringLiteral("Kestrune"), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("message_box"));
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace kestrune
