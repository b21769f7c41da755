// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

#include "arith_error.h"
#include "result.h"

namespace kestrune {

// Nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double round_half_even(double x);

// Stores a value into a 16-bit integer field: halves to even, out of range is an overflow.
Result<std::int16_t, ArithError> to_int16(double x);

// Stores a value into a 32-bit integer: halves to even, out of range is an overflow.
Result<std::int32_t, ArithError> to_int32(double x);

// Stores a value into a 32-bit float field, rounding to nearest; a finite value that would
// round to infinity is an overflow, and a NaN an invalid operation.
Result<float, ArithError> to_float(double x);

// Typed text read by the leading-number rule and stored into a field of the given type.
Result<float, ArithError> read_float_field(std::string_view text);
Result<std::int16_t, ArithError> read_int16_field(std::string_view text);

}  // namespace kestrune
