// SPDX-License-Identifier: GPL-3.0-or-later
#include "notices.h"

#include <utility>

namespace kestrune {

void NoticeBoard::post(NoticeId id, Severity severity, std::string text) {
    if (text.empty()) {
        withdraw(id);  // nothing to say
        return;
    }
    notices_[index(id)] = Notice{severity, std::move(text)};
}

const Notice* NoticeBoard::shown() const {
    for (const auto& notice : notices_) {
        if (notice) {
            return &*notice;
        }
    }
    return nullptr;
}

}  // namespace kestrune
