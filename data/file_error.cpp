#include "file_error.h"

#include <system_error>

namespace kestrune {

std::string system_reason(int errno_value) {
    return std::generic_category().message(errno_value);
}

}  // namespace kestrune
