// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace kestrune {

// A path as the C libraries that take a char* path open it: the native path on POSIX; on
// Windows the short form of the path (ASCII where the volume keeps short names) in the
// system's ANSI code page, so that a working folder such as D:\设计 is found there too.
std::string library_path(const std::filesystem::path& file);

}  // namespace kestrune
