#include "modal_watch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

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

void ModalWatch::answer_input(const QString& answer, InputSeen* seen,
                              std::function<void()> meanwhile) {
    expected_.push_back([this, answer, seen, meanwhile](QWidget* w) {
        auto* box = qobject_cast<QInputDialog*>(w);
        if (box == nullptr) {
            unexpected_ << QStringLiteral("expected an input box, got ") + w->windowTitle();
            w->close();
            return;
        }
        record(box, seen);
        if (meanwhile) {
            meanwhile();
        }
        box->setTextValue(answer);
        box->accept();
    });
}

void ModalWatch::cancel_input(InputSeen* seen) {
    expected_.push_back([this, seen](QWidget* w) {
        auto* box = qobject_cast<QInputDialog*>(w);
        if (box == nullptr) {
            unexpected_ << QStringLiteral("expected an input box to cancel, got ") +
                               w->windowTitle();
            w->close();
            return;
        }
        record(box, seen);
        box->reject();
    });
}

void ModalWatch::accept_message(QString* text) {
    expected_.push_back([this, text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box == nullptr) {
            unexpected_ << QStringLiteral("expected a message, got ") + w->windowTitle();
            w->close();
            return;
        }
        if (text != nullptr) {
            *text = box->text();
        }
        box->accept();
    });
}

void ModalWatch::click_button(const QString& label, QString* text) {
    expected_.push_back([this, label, text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box == nullptr) {
            unexpected_ << QStringLiteral("expected a question, got ") + w->windowTitle();
            w->close();
            return;
        }
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

void ModalWatch::choose_folder(const QString& folder) {
    expected_.push_back([this, folder](QWidget* w) {
        auto* box = qobject_cast<QFileDialog*>(w);
        if (box == nullptr) {
            unexpected_ << QStringLiteral("expected a folder chooser, got ") + w->windowTitle();
            w->close();
            return;
        }
        if (folder.isEmpty()) {
            box->reject();
            return;
        }
        box->setDirectory(folder);
        box->selectFile(folder);
        static_cast<QDialog*>(box)->accept();
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
