// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversions.h"

#include <cmath>
#include <limits>

#include "leading_number.h"

namespace kestrune {
namespace {

template <class Int>
Result<Int, ArithError> to_integer(double x) {
    if (std::isnan(x)) {
        return ArithError::invalid_operation;
    }
    double whole = round_half_even(x);
    if (whole < static_cast<double>(std::numeric_limits<Int>::min()) ||
        whole > static_cast<double>(std::numeric_limits<Int>::max())) {
        return ArithError::overflow;
    }
    return static_cast<Int>(whole);
}

}  // namespace

// The program never leaves the default rounding mode, round to nearest with ties to even,
// under which nearbyint is exactly this rule.
double round_half_even(double x) {
    return std::nearbyint(x);
}

Result<std::int16_t, ArithError> to_int16(double x) {
    return to_integer<std::int16_t>(x);
}

Result<std::int32_t, ArithError> to_int32(double x) {
    return to_integer<std::int32_t>(x);
}

Result<float, ArithError> to_float(double x) {
    if (std::isnan(x)) {
        return ArithError::invalid_operation;
    }
    // Halfway between the largest float and the next power of two: from there on a
    // float rounds to infinity.
    constexpr double overflow_threshold =
        static_cast<double>(std::numeric_limits<float>::max()) + 0x1p103;
    if (std::isinf(x)) {
        return ArithError::overflow;
    }
    if (std::fabs(x) >= overflow_threshold) {
        return ArithError::overflow;
    }
    return static_cast<float>(x);
}

Result<float, ArithError> read_float_field(std::string_view text) {
    auto reading = read_leading_number(text);
    if (!reading) {
        return reading.error();
    }
    return to_float(reading.value());
}

Result<std::int16_t, ArithError> read_int16_field(std::string_view text) {
    auto reading = read_leading_number(text);
    if (!reading) {
        return reading.error();
    }
    return to_int16(reading.value());
}

}  // namespace kestrune
