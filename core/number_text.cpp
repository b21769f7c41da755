// SPDX-License-Identifier: GPL-3.0-or-later
#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace kestrune {
namespace {

constexpr int significant_digits = 7;
constexpr int lowest_plain_exponent = -4;
constexpr int highest_plain_exponent = 6;

std::string whole_digits(int value) {
    char buf[16];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

struct Decimal {
    bool negative = false;
    std::string digits;  // no trailing zeros; empty for zero
    int exponent = 0;    // of the first digit
};

Decimal to_decimal(float value) {
    Decimal d;
    if (value == 0.0f || !std::isfinite(value)) {
        return d;
    }
    d.negative = value < 0.0f;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::abs(static_cast<double>(value)),
                             std::chars_format::scientific, significant_digits - 1);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    std::size_t e_at = text.find('e');
    for (char c : text.substr(0, e_at)) {
        if (c != '.') {
            d.digits += c;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    std::string_view exp = text.substr(e_at + 1);
    if (!exp.empty() && exp[0] == '+') {
        exp.remove_prefix(1);
    }
    std::from_chars(exp.data(), exp.data() + exp.size(), d.exponent);
    return d;
}

// The digits without sign; lead_zero keeps "0" before the point of a magnitude below 1.
std::string unsigned_text(const Decimal& d, bool lead_zero) {
    if (d.digits.empty()) {
        return "0";
    }
    if (d.exponent < lowest_plain_exponent || d.exponent > highest_plain_exponent) {
        std::string out(1, d.digits[0]);
        if (d.digits.size() > 1) {
            out += '.';
            out += d.digits.substr(1);
        }
        int e = std::abs(d.exponent);
        out += d.exponent < 0 ? "E-" : "E+";
        if (e < 10) {
            out += '0';
        }
        out += whole_digits(e);
        return out;
    }
    if (d.exponent < 0) {
        return (lead_zero ? "0." : ".") + std::string(-d.exponent - 1, '0') + d.digits;
    }
    std::size_t whole = static_cast<std::size_t>(d.exponent) + 1;
    if (d.digits.size() <= whole) {
        return d.digits + std::string(whole - d.digits.size(), '0');
    }
    return d.digits.substr(0, whole) + "." + d.digits.substr(whole);
}

// Fields never hold these; should one slip through it must not pass for a number.
std::string non_finite_text(float value) {
    return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
}

}  // namespace

std::string float_print_form(float value) {
    if (!std::isfinite(value)) {
        return " " + non_finite_text(value) + " ";
    }
    Decimal d = to_decimal(value);
    return (d.negative ? "-" : " ") + unsigned_text(d, false) + " ";
}

double logged_value(float value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const std::string text = float_box_form(value);
    double parsed = value;
    std::from_chars(text.data(), text.data() + text.size(), parsed);
    return parsed;
}

std::string float_box_form(float value) {
    if (!std::isfinite(value)) {
        return non_finite_text(value);
    }
    Decimal d = to_decimal(value);
    return (d.negative ? "-" : "") + unsigned_text(d, true);
}

std::string int_print_form(std::int16_t value) {
    int v = value;
    return (v < 0 ? "-" : " ") + whole_digits(std::abs(v)) + " ";
}

std::string fixed_text(double value, int decimals) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text(buf, res.ptr);
    // No "-0.0" for a value that rounds to zero from below.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string shortest_text(double value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

}  // namespace kestrune
