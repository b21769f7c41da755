// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace kestrune::testing {

// What an input box showed when it was answered.
struct InputSeen {
    QString title;
    QString prompt;
    QString offered;
    QString ok_text;
    QString cancel_text;
};

// Answers the modal dialogs a test expects, in order, and fails the test on any other: an
// unexpected dialog is recorded and closed, so that no test ever waits for a person.
class ModalWatch : public QObject {
    Q_OBJECT
  public:
    ModalWatch();

    // Next expected dialogs.
    void answer_input(const QString& answer, InputSeen* seen = nullptr,
                      std::function<void()> meanwhile = {});
    void cancel_input(InputSeen* seen = nullptr);
    void accept_message(QString* text = nullptr);
    // A message box with several buttons: click the one with this label.
    void click_button(const QString& label, QString* text = nullptr);
    // A save dialog answered by Enter in its name box; offered receives the name it showed.
    void accept_file_by_enter(QString* offered = nullptr);
    // A message box answered by a key, as a person at the keyboard would.
    void press_key(Qt::Key key, QString* text = nullptr);
    // The folder chooser: choose this folder, or cancel when it is empty. texts receives
    // what its buttons and labels said.
    void choose_folder(const QString& folder, QStringList* texts = nullptr);
    // The print dialog: its printer made to write PDF into file, and the dialog accepted as
    // its 打印 button would; empty file: cancelled. pages receives the range it offered.
    void print_to_file(const QString& file, int* pages = nullptr);

    // Dialogs that came but were not expected, and expected ones that never came.
    const QStringList& unexpected() const { return unexpected_; }
    std::size_t still_expected() const { return expected_.size(); }

  private:
    // Queues a handler for the next dialog, which must be a Dialog; any other kind is
    // recorded as unexpected and closed.
    template <class Dialog, class Handle>
    void expect(const char* what, Handle handle);
    void poll();

    QTimer timer_;
    std::deque<std::function<void(QWidget*)>> expected_;
    QStringList unexpected_;
};

}  // namespace kestrune::testing
