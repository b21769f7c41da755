// SPDX-License-Identifier: GPL-3.0-or-later
#include <iconv.h>

#include "cp936_character.h"

namespace kestrune {
namespace {

class Converter {
  public:
    Converter() : cd_(iconv_open("CP936", "UTF-8")) {}
    ~Converter() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> convert(std::string_view in) {
        char out[8];  // a code page 936 character takes at most two bytes
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        char* dst = out;
        std::size_t dst_left = sizeof out;
        const std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (rc == static_cast<std::size_t>(-1) || src_left != 0) {
            return std::nullopt;
        }
        return std::string(out, static_cast<std::size_t>(dst - out));
    }

  private:
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> cp936_character(std::string_view utf8_character) {
    // One converter per thread, opened once: the log and the windows convert every line.
    thread_local Converter converter;
    if (!converter.ok()) {
        return std::nullopt;
    }
    return converter.convert(utf8_character);
}

}  // namespace kestrune
