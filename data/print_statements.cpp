#include "print_statements.h"

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

}  // namespace kestrune
