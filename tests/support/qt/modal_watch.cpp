// SPDX-License-Identifier: GPL-3.0-or-later
#include "modal_watch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

namespace kestrune::testing {
namespace {

QString button_text(QWidget* dialog, QDialogButtonBox::ButtonRole role) {
    auto* box = dialog->findChild<QDialogButtonBox*>();
    if (box == nullptr) {
        return {};
    }
    for (QAbstractButton* b : box->buttons()) {
        if (box->buttonRole(b) == role) {
            return b->text();
        }
    }
    return {};
}

void record(QInputDialog* box, InputSeen* seen) {
    if (seen != nullptr) {
        *seen = {box->windowTitle(), box->labelText(), box->textValue(),
                 button_text(box, QDialogButtonBox::AcceptRole),
                 button_text(box, QDialogButtonBox::RejectRole)};
    }
}

}  // namespace

ModalWatch::ModalWatch() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &ModalWatch::poll);
    timer_.start();
}

template <class Dialog, class Handle>
void ModalWatch::expect(const char* what, Handle handle) {
    expected_.push_back([this, what, handle](QWidget* w) {
        auto* dialog = qobject_cast<Dialog*>(w);
        if (dialog == nullptr) {
            unexpected_
                << QStringLiteral("expected %1, got %2").arg(QLatin1String(what), w->windowTitle());
            w->close();
            return;
        }
        handle(dialog);
    });
}

void ModalWatch::answer_input(const QString& answer, InputSeen* seen,
                              std::function<void()> meanwhile) {
    expect<QInputDialog>("an input box", [answer, seen, meanwhile](QInputDialog* box) {
        record(box, seen);
        if (meanwhile) {
            meanwhile();
        }
        box->setTextValue(answer);
        box->accept();
    });
}

void ModalWatch::cancel_input(InputSeen* seen) {
    expect<QInputDialog>("an input box to cancel", [seen](QInputDialog* box) {
        record(box, seen);
        box->reject();
    });
}

void ModalWatch::accept_message(QString* text) {
    expect<QMessageBox>("a message", [text](QMessageBox* box) {
        if (text != nullptr) {
            *text = box->text();
        }
        box->accept();
    });
}

void ModalWatch::click_button(const QString& label, QString* text) {
    expect<QMessageBox>("a question", [this, label, text](QMessageBox* box) {
        if (text != nullptr) {
            *text = box->text();
        }
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == label) {
                b->click();
                return;
            }
        }
        unexpected_ << QStringLiteral("no button ") + label;
        box->close();
    });
}

void ModalWatch::accept_file_by_enter(QString* offered) {
    expect<QFileDialog>("a save dialog", [offered](QFileDialog* box) {
        auto* name = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (offered != nullptr && name != nullptr) {
            *offered = name->text();
        }
        QTest::keyClick(name != nullptr ? static_cast<QWidget*>(name) : box, Qt::Key_Return);
    });
}

void ModalWatch::press_key(Qt::Key key, QString* text) {
    expect<QMessageBox>("a question answered by a key", [key, text](QMessageBox* box) {
        if (text != nullptr) {
            *text = box->text();
        }
        QTest::keyClick(box, key);
    });
}

void ModalWatch::choose_folder(const QString& folder, QStringList* texts) {
    expect<QFileDialog>("a folder chooser", [folder, texts](QFileDialog* box) {
        if (texts != nullptr) {
            for (const QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
                *texts << b->text();
            }
            for (const QLabel* l : box->findChildren<QLabel*>()) {
                *texts << l->text();
            }
        }
        if (folder.isEmpty()) {
            box->reject();
            return;
        }
        // Typed as a whole path: the dialog's own model loads folders in the background and
        // must not decide which one is taken.
        box->setDirectory(folder);
        if (auto* name = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            name->setText(folder);
        }
        static_cast<QDialog*>(box)->accept();
    });
}

void ModalWatch::print_to_file(const QString& file, int* pages) {
    expect<QPrintDialog>("a print dialog", [file, pages](QPrintDialog* box) {
        if (pages != nullptr) {
            *pages = box->maxPage();
        }
        if (file.isEmpty()) {
            box->reject();
            return;
        }
        // Past the dialog's own reading of its printer list, which a machine without one
        // would turn into a refusal.
        box->printer()->setOutputFormat(QPrinter::PdfFormat);
        box->printer()->setOutputFileName(file);
        box->done(QDialog::Accepted);
    });
}

void ModalWatch::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
        return;
    }
    if (expected_.empty()) {
        QString what = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            what += QStringLiteral(": ") + box->text();
        }
        unexpected_ << QStringLiteral("unexpected dialog ") + what;
        modal->close();
        return;
    }
    auto handle = std::move(expected_.front());
    expected_.pop_front();
    handle(modal);
}

}  // namespace kestrune::testing
