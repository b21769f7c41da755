// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kestrune {

// The program's UTF-8 texts as Qt's, and back.
inline QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string utf8_text(const QString& text) {
    return text.toStdString();
}

}  // namespace kestrune
