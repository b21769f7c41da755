// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "open_refusal.h"
#include "platform_files.h"

namespace kestrune {
namespace {

FileKind kind_of(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::regular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::folder;
    }
    if (S_ISLNK(mode)) {
        return FileKind::link;
    }
    if (S_ISFIFO(mode)) {
        return FileKind::fifo;
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return FileKind::device;
    }
    if (S_ISSOCK(mode)) {
        return FileKind::socket;
    }
    return FileKind::other;
}

}  // namespace

FileKind file_kind(const std::filesystem::path& file) {
    struct stat st {};
    if (lstat(file.c_str(), &st) != 0) {
        return FileKind::missing;
    }
    return kind_of(st.st_mode);
}

std::FILE* open_file(const std::filesystem::path& file, OpenMode mode, FileKind* in_the_way) {
    // O_NONBLOCK: a FIFO opened for reading, or one without a reader, must not hang the
    // program; O_NOFOLLOW: a link put in place of a file is refused, not written through.
    // Emptying waits for the check below, so that no device is ever truncated.
    int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    const char* how = "rb";
    switch (mode) {
        case OpenMode::read:
            flags |= O_RDONLY;
            break;
        case OpenMode::replace:
            flags |= O_WRONLY | O_CREAT;
            how = "wb";
            break;
        case OpenMode::append:
            flags |= O_WRONLY | O_APPEND;
            how = "ab";
            break;
        case OpenMode::create_new:
            flags |= O_WRONLY | O_CREAT | O_EXCL;
            how = "wb";
            break;
    }
    const int fd = open(file.c_str(), flags, 0666);
    if (fd < 0) {
        const int e = errno;
        const FileKind there = file_kind(file);
        // ELOOP from O_NOFOLLOW, ENXIO from a FIFO without reader, EISDIR from a folder.
        if ((e == ELOOP || e == ENXIO || e == EISDIR || e == EWOULDBLOCK) &&
            there != FileKind::regular && there != FileKind::missing) {
            return refuse_open(there, in_the_way);
        }
        errno = e;
        return nullptr;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int e = errno;
        close(fd);
        if (S_ISREG(st.st_mode)) {
            errno = e;
            return nullptr;
        }
        return refuse_open(kind_of(st.st_mode), in_the_way);
    }
    // A regular file: plain blocking writes from here on.
    const int status = fcntl(fd, F_GETFL);
    if ((status >= 0 && fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) ||
        (mode == OpenMode::replace && ftruncate(fd, 0) != 0)) {
        const int e = errno;
        close(fd);
        errno = e;
        return nullptr;
    }
    std::FILE* f = fdopen(fd, how);
    if (f == nullptr) {
        const int e = errno;
        close(fd);
        errno = e;
    }
    return f;
}

std::int64_t open_file_size(std::FILE* f) {
    struct stat st {};
    return fstat(fileno(f), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

int set_file_size(std::FILE* f, std::int64_t size) {
    if (const int injected = std::exchange(injected_failures().set_size, 0)) {
        return injected;
    }
    return ftruncate(fileno(f), static_cast<off_t>(size)) == 0 ? 0 : errno != 0 ? errno : EIO;
}

int flush_to_disk(std::FILE* f) {
    if (const int injected = std::exchange(injected_failures().flush, 0)) {
        return injected;
    }
    errno = 0;
    if (fsync(fileno(f)) == 0) {
        return 0;
    }
    // EINVAL and EROFS: a special file that does not support synchronisation.
    return errno == EINVAL || errno == EROFS ? 0 : errno != 0 ? errno : EIO;
}

int replace_file(const std::filesystem::path& finished, const std::filesystem::path& target) {
    if (std::rename(finished.c_str(), target.c_str()) != 0) {
        return errno != 0 ? errno : EIO;
    }
    // The rename itself is on the disk once the folder is.
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return 0;
}

std::tm local_time(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

}  // namespace kestrune
