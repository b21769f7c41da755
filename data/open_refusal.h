// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cerrno>
#include <cstdio>

#include "platform_files.h"

namespace kestrune {

// How open_file refuses what stands at a path that is not a regular file: no file, errno 0,
// and in_the_way (if given) says what stands there.
inline std::FILE* refuse_open(FileKind kind, FileKind* in_the_way) {
    if (in_the_way != nullptr) {
        *in_the_way = kind;
    }
    errno = 0;
    return nullptr;
}

}  // namespace kestrune
