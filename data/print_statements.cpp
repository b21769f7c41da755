// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_statements.h"

#include "number_text.h"

namespace kestrune {
namespace {

PrintStatement texts(std::initializer_list<std::string_view> labels, Separator between) {
    PrintStatement items;
    for (std::string_view label : labels) {
        items.push_back(text_item(label, between));
    }
    items.back().after = Separator::end_of_line;
    return items;
}

// Continues a statement on the same line: its last item now moves to the next zone.
PrintStatement continued(PrintStatement items, PrintStatement more) {
    items.back().after = Separator::comma;
    items.insert(items.end(), more.begin(), more.end());
    return items;
}

std::string_view mark_text(PreviewMark mark) {
    switch (mark) {
        case PreviewMark::too_fast:
            return "超速";
        case PreviewMark::suggested:
            return "推荐";
        case PreviewMark::none:
            break;
    }
    return {};
}

}  // namespace

PrintStatement log_header() {
    return texts({"用户负荷      ", "设计负荷      ", "设计流量      ", "公称管径      ",
                  " 流速        ", " 比摩阻"},
                 Separator::semicolon);
}

PrintStatement results_header() {
    return texts({"用户负荷", "设计负荷", "设计流量", "公称管径", " 流速 ", " 比摩阻"},
                 Separator::comma);
}

PrintStatement result_values(const design_state& s) {
    return {float_item(s.q_user, Separator::comma),   float_item(s.q_design, Separator::comma),
            float_item(s.g_design, Separator::comma), int_item(s.dn, Separator::comma),
            float_item(s.v, Separator::comma),        float_item(s.r, Separator::end_of_line)};
}

PrintStatement diameter_list_header() {
    return texts({"公称直径", "管道内径"}, Separator::comma);
}

PrintStatement diameter_list_row(const PipeSize& row) {
    return {int_item(row.dn, Separator::comma), float_item(row.d, Separator::end_of_line)};
}

PrintStatement diameter_preview_header() {
    return continued(diameter_list_header(),
                     texts({"流速(m/s)", "比摩阻(Pa/m)"}, Separator::comma));
}

PrintStatement diameter_preview_row(const PipeSize& row, const RowPreview& preview) {
    PrintStatement values{float_item(preview.v, Separator::comma),
                          float_item(preview.r, Separator::end_of_line)};
    if (preview.mark != PreviewMark::none) {
        values.back().after = Separator::comma;
        values.push_back(text_item(mark_text(preview.mark), Separator::end_of_line));
    }
    return continued(diameter_list_row(row), values);
}

PrintStatement diameter_preview_note() {
    const std::string note = "超速：流速超过 GB 50736-2012 表 5.9.13 的限值（" +
                             float_box_form(velocity_limit(15)) + "～" +
                             float_box_form(velocity_limit(50)) + " m/s）；推荐：不超速、比摩阻≤" +
                             float_box_form(resistance_limit) + " Pa/m 的最小管径";
    return {text_item(note, Separator::end_of_line)};
}

}  // namespace kestrune
