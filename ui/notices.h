// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "window_toolkit.h"

namespace kestrune {

// What the main window's problem line can say, most pressing first: the one rule of which
// notice shows is this order.
enum class NoticeId {
    load_problem,      // the load entry's fault: no design flow
    margin_problem,    // a margin factor that could not be taken
    load_reading,      // what the load box was read as, when a rest was left
    margin_reading,    // the same for the margin factor box
    stale_design,      // design load and flow computed with parameters changed since
    earlier_log_kept,  // where an earlier run's rows were kept
};
inline constexpr std::size_t notice_kinds = 6;

struct Notice {
    Severity severity = Severity::information;
    std::string text;  // in the program's words (messages.h)
};

// The notices of the main window: each kind posted, replaced or withdrawn on its own.
class NoticeBoard {
  public:
    void post(NoticeId id, Severity severity, std::string text);
    void withdraw(NoticeId id) { notices_[index(id)].reset(); }
    const std::optional<Notice>& find(NoticeId id) const { return notices_[index(id)]; }
    bool has(NoticeId id) const { return find(id).has_value(); }
    // The notice the problem line shows: the most pressing one posted; nullptr when none is.
    const Notice* shown() const;

  private:
    static std::size_t index(NoticeId id) { return static_cast<std::size_t>(id); }
    std::array<std::optional<Notice>, notice_kinds> notices_;
};

}  // namespace kestrune
