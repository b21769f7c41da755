// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "folder_lock.h"

namespace kestrune {
namespace {

std::string read_all(int fd) {
    std::string text;
    char buf[256];
    lseek(fd, 0, SEEK_SET);
    for (ssize_t got; (got = read(fd, buf, sizeof buf)) > 0 && text.size() < 4096;) {
        text.append(buf, static_cast<std::size_t>(got));
    }
    return text;
}

}  // namespace

FolderLock::~FolderLock() {
    release();
}

void FolderLock::release() {
    if (fd_ >= 0) {
        close(fd_);  // the lock goes with the descriptor
        fd_ = -1;
    }
}

FolderLock::Outcome FolderLock::take(const std::filesystem::path& folder, std::string_view token) {
    release();
    const std::filesystem::path file = folder / folder_lock_name;
    int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0 && errno == EACCES) {
        // A lock file this user may not write (read-only, or another user's) locks all the
        // same when it can be read: flock takes a descriptor opened for reading.
        fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    }
    struct stat st {};
    if (fd < 0) {
        // Nothing there that could not be made (a read-only folder): no lock to be had. A
        // link, or a file that cannot be opened, stands in the way of one.
        return lstat(file.c_str(), &st) == 0 ? Outcome::in_the_way : Outcome::unavailable;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Outcome::in_the_way;
    }
    // flock, not fcntl: it holds between two opens of one process too.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        holder_token_ = held ? read_all(fd) : std::string();
        close(fd);
        return held ? Outcome::held : Outcome::unavailable;
    }
    if (ftruncate(fd, 0) != 0 || pwrite(fd, token.data(), token.size(), 0) < 0) {
        // The lock holds all the same; only the way to this window is missing.
    }
    fd_ = fd;
    return Outcome::taken;
}

}  // namespace kestrune
