// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_layout.h"

#include <algorithm>

namespace kestrune {

const ControlSpec& control_spec(ControlId id) {
    return *std::find_if(frmcompute_controls.begin(), frmcompute_controls.end(),
                         [id](const ControlSpec& c) { return c.id == id; });
}

const WindowSpec& window_spec(PrintWindowId id) {
    return id == PrintWindowId::frmchoose ? frmchoose_window : frmdisplay_window;
}

std::string project_title(const WindowSpec& window, std::string_view project) {
    std::string title(window.caption);
    if (project.empty()) {
        return title;
    }
    if (!title.ends_with("：")) {
        title += "：";
    }
    return title + std::string(project);
}

}  // namespace kestrune
