// SPDX-License-Identifier: GPL-3.0-or-later
#include "leading_number.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

namespace kestrune {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_octal(char c) {
    return c >= '0' && c <= '7';
}
bool is_hex(char c) {
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

enum class Radix { decimal, hexadecimal, octal };

struct Scan {
    Radix radix = Radix::decimal;
    std::size_t length = 0;  // 0: no number at the start
};

std::size_t skip(std::string_view s, std::size_t pos, bool (*accept)(char)) {
    while (pos < s.size() && accept(s[pos])) {
        ++pos;
    }
    return pos;
}

// The longest leading number of text that holds no blanks.
Scan scan_number(std::string_view s) {
    if (s.size() >= 3 && s[0] == '&') {
        char tag = s[1];
        if ((tag == 'H' || tag == 'h') && is_hex(s[2])) {
            return {Radix::hexadecimal, skip(s, 2, is_hex)};
        }
        if ((tag == 'O' || tag == 'o') && is_octal(s[2])) {
            return {Radix::octal, skip(s, 2, is_octal)};
        }
        return {};
    }
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        ++pos;
    }
    std::size_t int_end = skip(s, pos, is_digit);
    std::size_t end = int_end;
    if (end < s.size() && s[end] == '.') {
        end = skip(s, end + 1, is_digit);
    }
    std::size_t digits = end - pos - (end > int_end ? 1 : 0);
    if (digits == 0) {
        return {};
    }
    if (end < s.size() && (s[end] == 'E' || s[end] == 'e')) {
        std::size_t exp = end + 1;
        if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) {
            ++exp;
        }
        std::size_t exp_end = skip(s, exp, is_digit);
        if (exp_end > exp) {
            end = exp_end;
        }
    }
    return {Radix::decimal, end};
}

// A decimal number out of the 64-bit range is too large when its leading digit stands
// above the units, too small otherwise.
bool decimal_is_too_large(std::string_view number) {
    std::size_t e_at = number.find_first_of("Ee");
    std::string_view mantissa = number.substr(0, e_at);
    std::int64_t exponent = 0;
    if (e_at != std::string_view::npos) {
        std::string_view exp = number.substr(e_at + 1);
        bool negative = !exp.empty() && exp[0] == '-';
        for (char c : exp) {
            if (is_digit(c) && exponent < 1'000'000'000) {
                exponent = exponent * 10 + (c - '0');
            }
        }
        exponent = negative ? -exponent : exponent;
    }
    std::int64_t before_point = 0;  // digits from the first non-zero one up to the point
    bool seen_point = false;
    bool seen_nonzero = false;
    std::int64_t zeros_after_point = 0;
    for (char c : mantissa) {
        if (c == '.') {
            seen_point = true;
        } else if (is_digit(c)) {
            seen_nonzero = seen_nonzero || c != '0';
            if (!seen_point && seen_nonzero) {
                ++before_point;
            } else if (seen_point && !seen_nonzero) {
                ++zeros_after_point;
            }
        }
    }
    std::int64_t magnitude = before_point > 0 ? before_point - 1 : -zeros_after_point - 1;
    return seen_nonzero && magnitude + exponent > 0;
}

Result<double, ArithError> parse_decimal(std::string_view number) {
    std::string_view digits = number;
    if (!digits.empty() && digits[0] == '+') {
        digits.remove_prefix(1);  // from_chars takes no plus sign
    }
    double value = 0.0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                     std::chars_format::general);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        if (decimal_is_too_large(digits)) {
            return ArithError::overflow;
        }
        value = 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return value + 0.0;  // -0 reads as 0
}

// Octal digits rewritten as hexadecimal ones, three bits each, so that one correctly
// rounding conversion serves both.
std::string octal_as_hex(std::string_view octal) {
    std::string bits;
    for (char c : octal) {
        int v = c - '0';
        bits += static_cast<char>('0' + ((v >> 2) & 1));
        bits += static_cast<char>('0' + ((v >> 1) & 1));
        bits += static_cast<char>('0' + (v & 1));
    }
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex;
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        int v = (bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 +
                (bits[i + 3] - '0');
        hex += "0123456789abcdef"[v];
    }
    return hex;
}

Result<double, ArithError> parse_hex(std::string_view hex) {
    double value = 0.0;
    auto [end, ec] =
        std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        return ArithError::overflow;  // a whole number out of range is always too large
    }
    return value;
}

Result<double, ArithError> parse_scanned(std::string_view s, Scan scan) {
    std::string_view number = s.substr(0, scan.length);
    switch (scan.radix) {
        case Radix::hexadecimal:
            return parse_hex(number.substr(2));
        case Radix::octal:
            return parse_hex(octal_as_hex(number.substr(2)));
        case Radix::decimal:
            break;
    }
    return parse_decimal(number);
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

std::string without_blanks(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (!is_blank(c)) {
            compact += c;
        }
    }
    return compact;
}

}  // namespace

Result<double, ArithError> read_leading_number(std::string_view text) {
    const std::string compact = without_blanks(text);
    Scan scan = scan_number(compact);
    if (scan.length == 0) {
        return 0.0;
    }
    return parse_scanned(compact, scan);
}

std::string_view unread_rest(std::string_view text) {
    const Scan scan = scan_number(without_blanks(text));
    std::size_t pos = 0;
    for (std::size_t taken = 0; taken < scan.length; ++pos) {
        taken += is_blank(text[pos]) ? 0 : 1;
    }
    while (pos < text.size() && is_blank(text[pos])) {
        ++pos;
    }
    return text.substr(pos);
}

bool holds_digit(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c >= '0' && c <= '9') ||
            (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBC &&
             static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
             static_cast<unsigned char>(text[i + 2]) <= 0x99)) {
            return true;
        }
    }
    return false;
}

std::optional<Result<double, ArithError>> read_whole_number(std::string_view text) {
    Scan scan = scan_number(text);
    if (scan.length == 0 || scan.length != text.size()) {
        return std::nullopt;
    }
    return parse_scanned(text, scan);
}

}  // namespace kestrune
