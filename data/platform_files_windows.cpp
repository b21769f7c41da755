// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <utility>

#include "open_refusal.h"
#include "platform_files.h"

namespace kestrune {
namespace {

// The C library's errno for a Windows error of opening or moving a file.
int errno_of(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        // The C library calls a file that another program holds "permission denied"; say busy.
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EBUSY;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        default:
            return EIO;
    }
}

FileKind kind_of_attributes(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return FileKind::link;  // a symbolic link, a junction or another redirection
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return FileKind::folder;
    }
    if (attributes & FILE_ATTRIBUTE_DEVICE) {
        return FileKind::device;
    }
    return FileKind::regular;
}

}  // namespace

FileKind file_kind(const std::filesystem::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FileKind::missing;
    }
    return kind_of_attributes(attributes);
}

std::FILE* open_file(const std::filesystem::path& file, OpenMode mode, FileKind* in_the_way) {
    // A folder cannot be opened as a file at all; say what it is rather than "access denied".
    if (const FileKind there = file_kind(file);
        there != FileKind::missing && there != FileKind::regular) {
        return refuse_open(there, in_the_way);
    }
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    int crt_flags = _O_BINARY | _O_RDONLY;
    const char* how = "rb";
    switch (mode) {
        case OpenMode::read:
            break;
        case OpenMode::replace:
            access = GENERIC_WRITE;
            disposition = OPEN_ALWAYS;  // emptied below, once it is known to be a file
            crt_flags = _O_BINARY | _O_WRONLY;
            how = "wb";
            break;
        case OpenMode::append:
            access = GENERIC_WRITE;  // all of it: a failed row is cut off again
            crt_flags = _O_BINARY | _O_WRONLY | _O_APPEND;
            how = "ab";
            break;
        case OpenMode::create_new:
            access = GENERIC_WRITE;
            disposition = CREATE_NEW;
            crt_flags = _O_BINARY | _O_WRONLY;
            how = "wb";
            break;
    }
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself, which the check below then refuses.
    HANDLE handle =
        CreateFileW(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = errno_of(GetLastError());
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    FileKind kind = FileKind::regular;
    const DWORD type = GetFileType(handle);
    if (type == FILE_TYPE_PIPE) {
        kind = FileKind::fifo;
    } else if (type == FILE_TYPE_CHAR) {
        kind = FileKind::device;
    } else if (type != FILE_TYPE_DISK) {
        kind = FileKind::other;
    } else if (GetFileInformationByHandle(handle, &info)) {
        kind = kind_of_attributes(info.dwFileAttributes);
    }
    if (kind != FileKind::regular) {
        CloseHandle(handle);
        return refuse_open(kind, in_the_way);
    }
    if (mode == OpenMode::replace && !SetEndOfFile(handle)) {
        errno = errno_of(GetLastError());
        CloseHandle(handle);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), crt_flags);
    if (fd < 0) {
        CloseHandle(handle);
        errno = EIO;
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, how);
    if (f == nullptr) {
        _close(fd);
        errno = EIO;
    }
    return f;
}

std::int64_t open_file_size(std::FILE* f) {
    LARGE_INTEGER size{};
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    return GetFileSizeEx(handle, &size) ? static_cast<std::int64_t>(size.QuadPart) : -1;
}

int set_file_size(std::FILE* f, std::int64_t size) {
    if (const int injected = std::exchange(injected_failures().set_size, 0)) {
        return injected;
    }
    return _chsize_s(_fileno(f), size);
}

int flush_to_disk(std::FILE* f) {
    if (const int injected = std::exchange(injected_failures().flush, 0)) {
        return injected;
    }
    errno = 0;
    if (_commit(_fileno(f)) == 0) {
        return 0;
    }
    // EBADF here means a device such as NUL, which holds nothing to synchronise.
    return errno == EBADF ? 0 : errno != 0 ? errno : EIO;
}

int replace_file(const std::filesystem::path& finished, const std::filesystem::path& target) {
    if (MoveFileExW(finished.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED) {
        // A file that another program holds open cannot be replaced either: say busy when
        // that is why.
        HANDLE probe = CreateFileW(target.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            return errno_of(GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION
                                                                      : error);
        }
        CloseHandle(probe);
    }
    return errno_of(error);
}

std::tm local_time(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

}  // namespace kestrune
