// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

// The three windows, described once; every front-end builds its windows from this table.
// Positions and sizes are in twips (1/1440 inch; 15 twips are one pixel at 96 dpi).

enum class ControlId {
    Label1,
    Label2,
    Text1,
    Text4,
    Label3,
    Label4,
    Text2,
    Text3,
    problem_line,
    cmdok,
    Cmdexit,
    Frame1,
    cmdset1,
    cmdset2,
    cmdset3,
    cmdset4,
    cmdsheet,
};

enum class ControlKind {
    label,
    text_box,      // single-line, editable, with a change notification
    output_box,    // single-line, written by the program, selectable but read-only
    push_button,   // with a click notification
    group_frame,   // a captioned frame that holds other controls
    problem_line,  // a label in a warning colour, wrapped, for the load entry's problems
};

// SimSun (宋体) in the GB2312 character set, normal weight; where a system lacks it, the
// front-end takes the nearest Song-style Chinese font.
inline constexpr std::string_view song_face = "SimSun";
// Where SimSun is missing, these in turn: its Chinese name, then Debian's AR PL UMing.
inline constexpr std::array<std::string_view, 3> song_fallbacks{"宋体", "AR PL UMing CN",
                                                                "AR PL UMing TW"};
inline constexpr double window_default_font = 0;  // points: the window's own font

struct ControlSpec {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    std::string_view caption;  // caption, or the text a box starts with
    int left, top, width, height;
    int tab_index;                       // order in which the controls that take focus are visited
    double points;                       // SimSun size, or window_default_font
    std::optional<ControlId> container;  // another control, or the window itself
};

// clang-format off
inline constexpr std::array<ControlSpec, 17> frmcompute_controls{{
    {ControlId::Label1, "Label1", ControlKind::label, "用户负荷(w):", 1560, 480, 2775, 615, 3, 10.5, {}},
    {ControlId::Label2, "Label2", ControlKind::label, "富裕系数：", 5760, 480, 2775, 615, 9, 10.5, {}},
    {ControlId::Text1, "Text1", ControlKind::text_box, "", 1560, 1440, 2775, 615, 0, 10.5, {}},
    {ControlId::Text4, "Text4", ControlKind::text_box, "1.2", 5760, 1440, 2775, 615, 5, 10.5, {}},
    {ControlId::Label3, "Label3", ControlKind::label, "设计负荷(w):", 1560, 2640, 2775, 615, 4, 10.5, {}},
    {ControlId::Label4, "Label4", ControlKind::label, "设计流量(kg/h):", 5760, 2640, 2775, 615, 8, 10.5, {}},
    {ControlId::Text2, "Text2", ControlKind::output_box, "0", 1560, 3600, 2775, 615, 1, 10.5, {}},
    {ControlId::Text3, "Text3", ControlKind::output_box, "0", 5760, 3600, 2775, 615, 6, 10.5, {}},
    // Between the output boxes and the buttons: the load entry's problems, never a dialog.
    {ControlId::problem_line, "problem_line", ControlKind::problem_line, "", 1560, 4230, 6975, 420, 15, 10.5, {}},
    {ControlId::cmdok, "cmdok", ControlKind::push_button, "确      定", 1800, 4680, 2295, 855, 2, 12, {}},
    {ControlId::Cmdexit, "Cmdexit", ControlKind::push_button, "退       出", 6000, 4680, 2295, 855, 7, 12, {}},
    {ControlId::Frame1, "Frame1", ControlKind::group_frame, "更改设置：", 885, 5760, 8535, 1095, 10, 10.5, {}},
    {ControlId::cmdset1, "cmdset1", ControlKind::push_button, "密     度", 720, 360, 1335, 495, 11, window_default_font, ControlId::Frame1},
    {ControlId::cmdset2, "cmdset2", ControlKind::push_button, "供水温度", 2640, 360, 1335, 495, 12, window_default_font, ControlId::Frame1},
    {ControlId::cmdset3, "cmdset3", ControlKind::push_button, "回水温度", 4560, 360, 1335, 495, 13, window_default_font, ControlId::Frame1},
    {ControlId::cmdset4, "cmdset4", ControlKind::push_button, "粘滞系数", 6480, 360, 1335, 495, 14, window_default_font, ControlId::Frame1},
    // In the free space right of 退出, clear of every other control: the calculation sheet.
    {ControlId::cmdsheet, "cmdsheet", ControlKind::push_button, "计算表", 8760, 4860, 1455, 495, 16, window_default_font, {}},
}};
// clang-format on

const ControlSpec& control_spec(ControlId id);

// Keys of the main window that press a button: Ctrl with the letter.
struct ButtonShortcut {
    char ctrl_letter;  // 'A' to 'Z'
    ControlId button;
};
inline constexpr std::array<ButtonShortcut, 1> frmcompute_shortcuts{{{'T', ControlId::cmdsheet}}};

// A project is a folder of its own: made, switched to, or given its name and designer.
enum class ProjectCommand { create, open, details };
// The project keys, the same in every window of the program: Ctrl with the letter.
struct ProjectShortcut {
    char ctrl_letter;
    ProjectCommand command;
};
inline constexpr std::array<ProjectShortcut, 2> project_shortcuts{
    {{'N', ProjectCommand::create}, {'O', ProjectCommand::open}}};

enum class Placement {
    centred,  // centred on the screen
    system,   // where the system places new windows
};

enum class PrintWindowId { frmchoose, frmdisplay };

// What the engineer does to a print window that may put it away.
enum class Gesture { double_click, escape, close_box };

struct WindowSpec {
    std::string_view name;
    std::string_view caption;
    int width, height;    // client area, twips
    Placement placement;  // where it opens the first time; afterwards where it was left
    bool dismissable;     // a double-click, Esc and the close box put it away
};

inline constexpr WindowSpec frmcompute_window{"frmcompute", "Kestrune：",       10665,
                                              7170,         Placement::centred, false};
// The list stays while the diameter is asked for: no gesture puts it away.
inline constexpr WindowSpec frmchoose_window{"frmchoose", "直径的选择:",     9945,
                                             4065,        Placement::system, false};
inline constexpr WindowSpec frmdisplay_window{"frmdisplay", "display",          10755,
                                              8340,         Placement::centred, true};

const WindowSpec& window_spec(PrintWindowId id);
// A window's title with the project it works on: "Kestrune：三号楼", "计算表：三号楼".
std::string project_title(const WindowSpec& window, std::string_view project);

}  // namespace kestrune
