// SPDX-License-Identifier: GPL-3.0-or-later
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "platform_files.h"

namespace kestrune {

std::FILE* open_file(const std::filesystem::path& file, OpenMode mode) {
    const wchar_t* how = mode == OpenMode::read ? L"rb" : mode == OpenMode::replace ? L"wb" : L"ab";
    std::FILE* f = _wfopen(file.c_str(), how);
    // The C library calls a file that another program holds "permission denied"; say busy.
    if (f == nullptr && (_doserrno == ERROR_SHARING_VIOLATION || _doserrno == ERROR_LOCK_VIOLATION)) {
        errno = EBUSY;
    }
    return f;
}

int flush_to_disk(std::FILE* f) {
    errno = 0;
    if (_commit(_fileno(f)) == 0) {
        return 0;
    }
    // EBADF here means a device such as NUL, which holds nothing to synchronise.
    return errno == EBADF ? 0 : errno != 0 ? errno : EIO;
}

std::tm local_time(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

}  // namespace kestrune
