// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrune::testing {

// A fresh folder that becomes the working folder for as long as this object lives; the
// old working folder comes back and the folder is removed at the end.
class TempWorkingFolder {
  public:
    TempWorkingFolder();
    ~TempWorkingFolder();
    TempWorkingFolder(const TempWorkingFolder&) = delete;
    TempWorkingFolder& operator=(const TempWorkingFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

// Writes bytes to a file, replacing it.
void write_bytes(const std::filesystem::path& file, std::string_view bytes);
// The whole file as bytes; empty when it cannot be read.
std::string read_bytes(const std::filesystem::path& file);

}  // namespace kestrune::testing
