// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <optional>

#include "arith_error.h"

namespace kestrune {

// A 64-bit float that remembers the first fault met on the way to it, like the sticky
// floating-point status flags but by explicit tests, so that no optimisation can reorder
// or drop them. Every operation rounds once, to nearest, exactly as plain double does.
class checked_double {
  public:
    constexpr checked_double(double v) : value_(v) {}

    double value() const { return value_; }
    std::optional<ArithError> fault() const {
        return faulty_ ? std::optional<ArithError>(fault_) : std::nullopt;
    }

    friend checked_double operator+(checked_double a, checked_double b) {
        return a.then(b, a.value_ + b.value_);
    }
    friend checked_double operator*(checked_double a, checked_double b) {
        return a.then(b, a.value_ * b.value_);
    }
    friend checked_double operator/(checked_double a, checked_double b) {
        if (b.value_ == 0.0) {
            // x / 0 is a zero divisor; 0 / 0 is an invalid operation, as in IEEE arithmetic.
            return a.then_zero_divisor(b, a.value_ / b.value_, a.value_ == 0.0);
        }
        return a.then(b, a.value_ / b.value_);
    }
    // The general power x ^ y of two 64-bit floats.
    friend checked_double power(checked_double a, checked_double b) {
        if (a.value_ == 0.0 && b.value_ < 0.0) {
            return a.then_zero_divisor(b, std::pow(a.value_, b.value_), false);
        }
        return a.then(b, std::pow(a.value_, b.value_));
    }

  private:
    // The result of an operation on a and b: their earlier fault wins; otherwise a
    // non-finite result from finite operands is a new fault.
    checked_double then(checked_double b, double result) const {
        checked_double r = carried(b, result);
        if (r.faulty_) {
            return r;
        }
        bool finite_in = std::isfinite(value_) && std::isfinite(b.value_);
        if (std::isnan(result) && !std::isnan(value_) && !std::isnan(b.value_)) {
            r.set(ArithError::invalid_operation);
        } else if (std::isinf(result) && finite_in) {
            r.set(ArithError::overflow);
        }
        return r;
    }

    checked_double then_zero_divisor(checked_double b, double result, bool zero_by_zero) const {
        checked_double r = carried(b, result);
        if (!r.faulty_ && !std::isnan(value_)) {
            r.set(zero_by_zero ? ArithError::invalid_operation : ArithError::division_by_zero);
        }
        return r;
    }

    // A result that carries the earlier fault of either operand.
    checked_double carried(checked_double b, double result) const {
        checked_double r(result);
        if (faulty_) {
            r.set(fault_);
        } else if (b.faulty_) {
            r.set(b.fault_);
        }
        return r;
    }

    void set(ArithError e) {
        faulty_ = true;
        fault_ = e;
    }

    double value_;
    bool faulty_ = false;
    ArithError fault_ = ArithError::overflow;  // meaningful only when faulty_
};

}  // namespace kestrune
