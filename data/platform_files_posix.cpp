// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <cerrno>

#include "platform_files.h"

namespace kestrune {

std::FILE* open_file(const std::filesystem::path& file, OpenMode mode) {
    const char* how = mode == OpenMode::read ? "rb" : mode == OpenMode::replace ? "wb" : "ab";
    return std::fopen(file.c_str(), how);
}

int flush_to_disk(std::FILE* f) {
    errno = 0;
    if (fsync(fileno(f)) == 0) {
        return 0;
    }
    // EINVAL and EROFS: a special file that does not support synchronisation.
    return errno == EINVAL || errno == EROFS ? 0 : errno != 0 ? errno : EIO;
}

std::tm local_time(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

}  // namespace kestrune
