// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <string_view>

class QSocketNotifier;

namespace kestrune {

// How a second start in the same working folder reaches the first: a local socket named in
// the folder's lock, in the system's temporary folder. A plain Unix socket, so that the
// program needs no network library at all.
class WakeSocket : public QObject {
  public:
    // Listens under name; woken runs on every call.
    WakeSocket(std::string name, std::function<void()> woken, QObject* parent);
    ~WakeSocket() override;
    WakeSocket(const WakeSocket&) = delete;
    WakeSocket& operator=(const WakeSocket&) = delete;

    const std::string& name() const { return name_; }

  private:
    std::string name_;
    int listening_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> woken_;
};

// Calls the program listening under name; false when none does.
bool wake_program(std::string_view name);

}  // namespace kestrune
