// SPDX-License-Identifier: GPL-3.0-or-later
#include "regular_file.h"

#include <cerrno>

namespace kestrune {

int errno_or_eio() {
    return errno != 0 ? errno : EIO;
}

Result<FilePtr, FileError> open_regular(const std::filesystem::path& file, OpenMode mode) {
    FileKind in_the_way = FileKind::regular;
    errno = 0;
    FilePtr f(open_file(file, mode, &in_the_way), std::fclose);
    if (f) {
        return f;
    }
    if (in_the_way != FileKind::regular) {
        return not_a_file(file, in_the_way);
    }
    return file_error(file, errno_or_eio());
}

std::optional<FileError> write_out(std::FILE* f, const std::filesystem::path& file,
                                   std::string_view bytes) {
    errno = 0;
    // A buffer as large as the bytes, so that one flush writes them with one call.
    if (std::setvbuf(f, nullptr, _IOFBF, bytes.size() + 1) != 0 ||
        std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fflush(f) != 0) {
        return file_error(file, errno_or_eio(), FileStep::write);
    }
    if (int failure = flush_to_disk(f); failure != 0) {
        return file_error(file, failure, FileStep::flush);
    }
    return std::nullopt;
}

std::optional<FileError> close_after(FilePtr f, const std::filesystem::path& file,
                                     std::optional<FileError> earlier) {
    errno = 0;
    if (std::fclose(f.release()) != 0 && !earlier) {
        return file_error(file, errno_or_eio(), FileStep::write);
    }
    return earlier;
}

}  // namespace kestrune
