#pragma once

#include <string>

namespace kestrune {

// A file that could not be opened, read, written or closed, with the system's reason.
struct FileError {
    std::string file;
    std::string reason;
};

// The system's reason for an errno value, in the C locale's words.
std::string system_reason(int errno_value);

}  // namespace kestrune
