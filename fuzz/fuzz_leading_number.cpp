// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the leading-number reading against a slower reference formulation of the same rule:
// a regular expression finds the number, the C library converts it.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>

#include "leading_number.h"

namespace {

struct Reference {
    bool overflow = false;
    double value = 0.0;
    bool exact = true;  // false where the reference itself only approximates
};

Reference reference_reading(const std::string& text) {
    std::string compact;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact += c;
        }
    }
    static const std::regex decimal(R"(^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
    static const std::regex hex(R"(^&[hH]([0-9a-fA-F]+))");
    static const std::regex octal(R"(^&[oO]([0-7]+))");
    std::smatch m;
    Reference r;
    if (std::regex_search(compact, m, hex)) {
        std::string digits = "0x" + m[1].str();
        errno = 0;
        r.value = std::strtod(digits.c_str(), nullptr);
        r.overflow = errno == ERANGE && std::isinf(r.value);
    } else if (std::regex_search(compact, m, octal)) {
        long double v = 0;
        for (char c : m[1].str()) {
            v = v * 8 + (c - '0');
        }
        r.overflow = !std::isfinite(static_cast<double>(v));
        r.value = static_cast<double>(v);
        r.exact = m[1].length() <= 17;  // 51 bits: long double holds them exactly
    } else if (std::regex_search(compact, m, decimal)) {
        errno = 0;
        r.value = std::strtod(m[0].str().c_str(), nullptr);
        r.overflow = errno == ERANGE && std::isinf(r.value);
    }
    r.value += 0.0;
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) {
        return 0;  // the regular expression reference is slow on long texts
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto got = kestrune::read_leading_number(text);
    const Reference want = reference_reading(text);
    if (want.overflow) {
        if (got.has_value() || got.error() != kestrune::ArithError::overflow) {
            std::abort();
        }
        return 0;
    }
    if (!got.has_value() || !std::isfinite(got.value()) ||
        std::signbit(got.value()) != std::signbit(want.value)) {
        std::abort();
    }
    if (want.exact ? got.value() != want.value
                   : std::fabs(got.value() - want.value) > 1e-15 * std::fabs(want.value)) {
        std::abort();
    }
    return 0;
}
