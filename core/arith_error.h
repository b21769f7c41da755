// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace kestrune {

// The three faults a calculation can meet; underflow and inexact results are not faults.
enum class ArithError { division_by_zero, overflow, invalid_operation };

constexpr std::string_view arith_error_name(ArithError e) {
    switch (e) {
        case ArithError::division_by_zero:
            return "division by zero";
        case ArithError::overflow:
            return "overflow";
        case ArithError::invalid_operation:
            return "invalid operation";
    }
    return "unknown";
}

}  // namespace kestrune
