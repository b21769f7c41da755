// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the print-zone layout with random items of the three kinds and random separators:
// every item stands in the line at its place, an item after a comma starts on a zone
// start, and the line ends in CR LF.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cp936.h"
#include "print_line.h"

namespace {

class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    std::uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
    template <class T>
    T value() {
        T v{};
        unsigned char raw[sizeof(T)] = {};
        for (auto& b : raw) {
            b = byte();
        }
        std::memcpy(&v, raw, sizeof(T));
        return v;
    }
    std::string text(std::size_t length) {
        std::string t;
        while (t.size() < length && !empty()) {
            t += static_cast<char>(byte());
        }
        return t;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrune;
    Bytes in(data, size);
    PrintStatement items;
    const std::size_t count = 1 + in.byte() % 6;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t kind = in.byte();
        Separator after = i + 1 == count ? Separator::end_of_line
                          : kind & 0x80  ? Separator::semicolon
                                         : Separator::comma;
        switch (kind % 3) {
            case 0:
                items.push_back(text_item(in.text(in.byte() % 40), after));
                break;
            case 1:
                items.push_back(int_item(in.value<std::int16_t>(), after));
                break;
            default:
                items.push_back(float_item(in.value<float>(), after));
        }
    }
    const std::string line = file_line(items);
    if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) {
        std::abort();
    }
    std::size_t column = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string written = to_cp936(items[i].text);
        if (i > 0 && items[i - 1].after == Separator::comma) {
            std::size_t zone_start = (column / zone_columns + 1) * zone_columns;
            // The gap up to the zone start is blanks only.
            if (line.find_first_not_of(' ', column) < zone_start) {
                std::abort();
            }
            column = zone_start;
        }
        if (line.compare(column, written.size(), written) != 0) {
            std::abort();
        }
        column += written.size();
    }
    if (column + 2 != line.size()) {
        std::abort();
    }
    return 0;
}
