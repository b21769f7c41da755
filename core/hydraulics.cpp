// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics.h"

#include "checked_double.h"
#include "conversions.h"

namespace kestrune {
namespace {

// Narrows a raw value to a 32-bit float and rounds it; the first fault met wins.
Result<float, ArithError> finish(checked_double raw, int decimals) {
    if (raw.fault()) {
        return *raw.fault();
    }
    auto narrowed = to_float(raw.value());
    if (!narrowed) {
        return narrowed.error();
    }
    return scaled_round(narrowed.value(), decimals);
}

}  // namespace

Result<float, ArithError> scaled_round(float x, int decimals) {
    float scale = 1.0f;  // 100, 1000, 10000: exact as 32-bit floats
    for (int i = 0; i < decimals; ++i) {
        scale *= 10.0f;
    }
    checked_double y = checked_double(x) * checked_double(scale) + checked_double(0.5);
    if (y.fault()) {
        return *y.fault();
    }
    auto k = to_int32(y.value());
    if (!k) {
        return k.error();
    }
    checked_double result = checked_double(k.value()) / checked_double(scale);
    if (result.fault()) {
        return *result.fault();
    }
    return to_float(result.value());
}

Result<float, ArithError> q_gexchange(const design_state& s, const float& q) {
    checked_double raw = (checked_double(q) * 3.6) / (checked_double(s.dt) * 4.187);
    return finish(raw, 2);
}

Result<float, ArithError> compute_v(const design_state& s, const float& g, const float& d) {
    checked_double c = checked_double(s.rho) / checked_double(1000.0f);
    checked_double raw =
        checked_double(g) / (c * 0.9 * 3.14 * checked_double(d) * checked_double(d));
    return finish(raw, 3);
}

Result<float, ArithError> compute_ycxs(const design_state& s, const float& v, const float& d) {
    checked_double a =
        checked_double(s.nu) * checked_double(1000.0f) / (checked_double(v) * checked_double(d)) +
        checked_double(s.k_rough) * checked_double(20000.0f) / checked_double(d);
    checked_double raw = (power(a, 0.333) + 1.0) * 0.0055;
    return finish(raw, 4);
}

Result<float, ArithError> compute_r(const design_state& s, const float& v, const float& d) {
    checked_double raw = power(checked_double(v), 2.0) *
                         (checked_double(s.ycxs) * checked_double(500.0f) * checked_double(s.rho)) /
                         checked_double(d);
    return finish(raw, 2);
}

}  // namespace kestrune
