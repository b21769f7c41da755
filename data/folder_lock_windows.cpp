// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <string>

#include "folder_lock.h"

namespace kestrune {

FolderLock::~FolderLock() {
    release();
}

void FolderLock::release() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));  // the lock goes with the handle
        handle_ = nullptr;
    }
}

FolderLock::Outcome FolderLock::take(const std::filesystem::path& folder, std::string_view token) {
    release();
    const std::filesystem::path file = folder / folder_lock_name;
    // Others may read the token, never write or open it for writing: that is the lock.
    HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED &&
        GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // A read-only lock file locks all the same, opened for reading and shared with none.
        handle = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_SHARING_VIOLATION) {
            return Outcome::in_the_way;
        }
    }
    if (handle == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_SHARING_VIOLATION) {
            const DWORD there = GetFileAttributesW(file.c_str());
            return there == INVALID_FILE_ATTRIBUTES ? Outcome::unavailable : Outcome::in_the_way;
        }
        holder_token_.clear();
        HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (reader != INVALID_HANDLE_VALUE) {
            char buf[256];
            DWORD got = 0;
            if (ReadFile(reader, buf, sizeof buf, &got, nullptr)) {
                holder_token_.assign(buf, got);
            }
            CloseHandle(reader);
        }
        return Outcome::held;
    }
    const DWORD there = GetFileAttributesW(file.c_str());
    if (there != INVALID_FILE_ATTRIBUTES &&
        (there & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        CloseHandle(handle);
        return Outcome::in_the_way;  // a link or a folder: not a lock of this folder's
    }
    DWORD written = 0;
    SetEndOfFile(handle);
    WriteFile(handle, token.data(), static_cast<DWORD>(token.size()), &written, nullptr);
    FlushFileBuffers(handle);
    handle_ = handle;
    return Outcome::taken;
}

}  // namespace kestrune
