// SPDX-License-Identifier: GPL-3.0-or-later
#include "design_state.h"

#include "conversions.h"

namespace kestrune {
namespace {

std::optional<ArithError> set_temperatures(design_state& s, std::int16_t supply, std::int16_t ret) {
    auto dt = to_int16(static_cast<double>(supply) - static_cast<double>(ret));
    if (!dt) {
        return dt.error();
    }
    s.t_supply = supply;
    s.t_return = ret;
    s.dt = dt.value();
    return std::nullopt;
}

}  // namespace

std::optional<ArithError> design_state::set_t_supply(std::int16_t t) {
    return set_temperatures(*this, t, t_return);
}

std::optional<ArithError> design_state::set_t_return(std::int16_t t) {
    return set_temperatures(*this, t_supply, t);
}

}  // namespace kestrune
