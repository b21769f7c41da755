// SPDX-License-Identifier: GPL-3.0-or-later
#include "temp_folder.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kestrune::testing {

TempWorkingFolder::TempWorkingFolder() : previous_(std::filesystem::current_path()) {
    // A new folder of a random name; create_directory says whether it was made just now.
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate =
            std::filesystem::temp_directory_path() /
            ("kestrune-test-" + std::to_string(random() % 1000000000));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            std::filesystem::current_path(path_);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempWorkingFolder::~TempWorkingFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    // Tests may leave read-only folders behind; make everything removable first.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
}

void write_bytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace kestrune::testing
