#include "cp936.h"

#include <iconv.h>

#include <cerrno>

namespace kestrune {
namespace {

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t utf8_length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead <= 0xEF ? 3 : 1;
    }
    return lead >= 0xC2 ? 2 : 1;
}

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

    std::string convert(std::string_view in) {
        std::string out;
        char buf[256];
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        while (src_left > 0) {
            char* dst = buf;
            std::size_t dst_left = sizeof buf;
            std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                // Unconvertible or incomplete: one "?" for the sequence, then go on.
                out += '?';
                std::size_t skip = utf8_length(static_cast<unsigned char>(*src));
                skip = skip > src_left ? src_left : skip;
                src += skip;
                src_left -= skip;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

  private:
    iconv_t cd_;
};

}  // namespace

std::string to_cp936(std::string_view utf8) {
    Converter converter;
    if (!converter.ok()) {
        // Without the code page the ASCII part is still right; the rest is marked.
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            unsigned char c = static_cast<unsigned char>(utf8[i]);
            out += c < 0x80 ? static_cast<char>(c) : '?';
            i += c < 0x80 ? 1 : utf8_length(c);
        }
        return out;
    }
    return converter.convert(utf8);
}

}  // namespace kestrune
