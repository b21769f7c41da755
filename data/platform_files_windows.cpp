// SPDX-License-Identifier: GPL-3.0-or-later
#include <io.h>

#include <cerrno>

#include "platform_files.h"

namespace kestrune {

std::FILE* open_file(const std::filesystem::path& file, OpenMode mode) {
    const wchar_t* how = mode == OpenMode::read ? L"rb" : mode == OpenMode::replace ? L"wb" : L"ab";
    return _wfopen(file.c_str(), how);
}

int flush_to_disk(std::FILE* f) {
    errno = 0;
    if (_commit(_fileno(f)) == 0) {
        return 0;
    }
    // EBADF here means a device such as NUL, which holds nothing to synchronise.
    return errno == EBADF ? 0 : errno != 0 ? errno : EIO;
}

}  // namespace kestrune
