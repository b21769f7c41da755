// SPDX-License-Identifier: GPL-3.0-or-later
#include "wake_socket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QSocketNotifier>
#include <cstring>
#include <optional>

namespace kestrune {
namespace {

// The socket's address: a name alone stands in the temporary folder, as Qt's local sockets
// put it, so that a program of an earlier version is reached as before.
std::optional<sockaddr_un> address_of(std::string_view name) {
    std::string path(name);
    if (path.empty() || path.front() != '/') {
        path = QDir::tempPath().toStdString() + "/" + path;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        return std::nullopt;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

}  // namespace

WakeSocket::WakeSocket(std::string name, std::function<void()> woken, QObject* parent)
    : QObject(parent), name_(std::move(name)), woken_(std::move(woken)) {
    const auto address = address_of(name_);
    if (!address) {
        return;
    }
    listening_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listening_ < 0) {
        return;
    }
    unlink(address->sun_path);  // one left by a program that ended without closing it
    if (bind(listening_, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        listen(listening_, 8) != 0) {
        close(listening_);
        listening_ = -1;
        return;
    }
    notifier_ = new QSocketNotifier(listening_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        for (int caller; (caller = accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
            close(caller);
        }
        woken_();
    });
}

WakeSocket::~WakeSocket() {
    if (listening_ >= 0) {
        delete notifier_;
        close(listening_);
        if (const auto address = address_of(name_)) {
            unlink(address->sun_path);
        }
    }
}

bool wake_program(std::string_view name) {
    const auto address = address_of(name);
    if (!address) {
        return false;
    }
    const int calling = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (calling < 0) {
        return false;
    }
    const bool reached =
        connect(calling, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0;
    close(calling);
    return reached;
}

}  // namespace kestrune
