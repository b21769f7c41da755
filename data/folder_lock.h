// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrune {

// One program per working folder: a lock held on a file in the folder for as long as the
// program runs. The system lets it go when the program ends, however it ends, so that a
// program that crashed blocks no new start. The file holds a token of the holder's, by which
// a second start can find the first one's window.
inline constexpr std::string_view folder_lock_name = "kestrune.lock";

class FolderLock {
  public:
    enum class Outcome {
        taken,        // this program holds the folder now
        held,         // another program holds it (see holder_token)
        unavailable,  // no lock can be had here (a read-only folder): nothing is held
        in_the_way,   // the lock file is there but cannot be locked (a link, a folder, a
                      // file this user may not open): another program might write here
    };

    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock of the folder, with the token written into its file.
    Outcome take(const std::filesystem::path& folder, std::string_view token);
    // After Outcome::held: the token the holder wrote.
    const std::string& holder_token() const { return holder_token_; }

  private:
    void release();

    std::string holder_token_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace kestrune
