// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet's window as the handlers decide it: how it opens, what each key means, how cells
// are shown and flagged, and the commands behind its buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "column_widths.h"
#include "example_table.h"
#include "program_run.h"
#include "sheet_cells.h"
#include "sheet_keys.h"
#include "sheet_layout.h"
#include "window_placement.h"

namespace kestrune::testing {
namespace {

const std::size_t length = column_index(SheetColumn::length),
                  velocity = column_index(SheetColumn::velocity),
                  xi = column_index(SheetColumn::xi), loops = column_index(SheetColumn::loops);

class SheetRun : public ProgramRun {
  public:
    SheetRun() : ProgramRun(example_dn, example_d) { EXPECT_TRUE(start()); }
    void size(const char* load, const char* dn) {
        paste_load(load);
        toolkit.answer_input(dn);
        click(ControlId::cmdok);
    }
    void press(std::initializer_list<KeyStroke> strokes) {
        for (const KeyStroke& stroke : strokes) {
            if (auto key = grid_key(stroke)) {
                window.grid().key(*key);
            }
        }
    }
};

KeyStroke named(PhysicalKey key, bool shift = false, bool ctrl = false, bool alt = false) {
    return {key, 0, shift, ctrl, alt, {}};
}
KeyStroke ctrl(char letter) {
    return {PhysicalKey::letter, letter, false, true, false, {}};
}
KeyStroke ctrl_shift(char letter) {
    return {PhysicalKey::letter, letter, true, true, false, {}};
}
KeyStroke typing(std::string text) {
    return {PhysicalKey::other, 0, false, false, false, std::move(text)};
}

TEST(SheetKeys, EachStrokeMeansWhatItMeansInASpreadsheet) {
    struct Case {
        KeyStroke stroke;
        std::optional<GridKey> key;
    };
    const Case cases[] = {
        {named(PhysicalKey::up), GridKey::up},
        {named(PhysicalKey::up, false, false, true), GridKey::move_row_up},
        {named(PhysicalKey::down, false, false, true), GridKey::move_row_down},
        {named(PhysicalKey::tab, true), GridKey::tab},
        {named(PhysicalKey::enter), GridKey::enter},
        {named(PhysicalKey::escape), GridKey::escape},
        {named(PhysicalKey::f2), GridKey::edit},
        {named(PhysicalKey::delete_key), GridKey::clear},
        {named(PhysicalKey::delete_key, false, true), GridKey::delete_rows},
        {named(PhysicalKey::home, false, true), GridKey::home},
        {named(PhysicalKey::space, true), GridKey::select_rows},
        {ctrl('Z'), GridKey::undo},
        {ctrl('Y'), GridKey::redo},
        {ctrl('C'), GridKey::copy},
        {ctrl('V'), GridKey::paste},
        {ctrl('E'), GridKey::export_workbook},
        {ctrl('P'), GridKey::print_report},
        {ctrl_shift('P'), GridKey::export_report},
        {ctrl('A'), GridKey::select_all},
        {ctrl('Q'), std::nullopt},
        {typing("7"), GridKey::typed},
        {typing("管"), GridKey::typed},
        {{PhysicalKey::space, 0, false, false, false, " "}, GridKey::typed},
        // A control character typed, and a letter with Ctrl, start no entry.
        {typing("\x08"), std::nullopt},
        {{PhysicalKey::letter, 'Q', false, true, false, "\x11"}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto key = grid_key(c.stroke);
        ASSERT_EQ(key.has_value(), c.key.has_value()) << static_cast<int>(c.stroke.key);
        if (key) {
            EXPECT_EQ(key->key, *c.key) << static_cast<int>(c.stroke.key) << c.stroke.letter;
            EXPECT_EQ(key->shift, c.stroke.shift);
            EXPECT_EQ(key->ctrl, c.stroke.ctrl);
        }
    }
    // In the editor only what ends or leaves the entry is the grid's.
    EXPECT_EQ(editor_key(named(PhysicalKey::tab))->key, GridKey::tab);
    EXPECT_EQ(editor_key(named(PhysicalKey::up))->key, GridKey::up);
    for (PhysicalKey own : {PhysicalKey::home, PhysicalKey::end, PhysicalKey::left,
                            PhysicalKey::delete_key, PhysicalKey::f2, PhysicalKey::other}) {
        EXPECT_FALSE(editor_key(named(own)).has_value()) << static_cast<int>(own);
    }
    EXPECT_FALSE(editor_key(ctrl('A')).has_value());
}

TEST(SheetKeys, EachButtonTellsItsKeyAndDoesWhatTheKeyDoes) {
    struct Case {
        SheetCommand command;
        const char* tip;
        GridKey key;
    };
    const Case cases[] = {
        {SheetCommand::undo, "Ctrl+Z", GridKey::undo},
        {SheetCommand::redo, "Ctrl+Y", GridKey::redo},
        {SheetCommand::move_up, "Alt+Up", GridKey::move_row_up},
        {SheetCommand::move_down, "Alt+Down", GridKey::move_row_down},
        {SheetCommand::delete_rows, "Ctrl+Delete", GridKey::delete_rows},
        {SheetCommand::set_limit, "并联环路不平衡率限值", GridKey::set_limit},
        {SheetCommand::set_resistance_limit, "自动选管径的比摩阻上限",
         GridKey::set_resistance_limit},
        {SheetCommand::set_available_pressure, "热力入口的资用压力",
         GridKey::set_available_pressure},
        {SheetCommand::fittings, "查看、编辑局部阻力系数表（fittings.txt）", GridKey::fittings},
        {SheetCommand::export_excel, "Ctrl+E", GridKey::export_workbook},
        {SheetCommand::export_pdf, "Ctrl+Shift+P", GridKey::export_report},
        {SheetCommand::print_report, "Ctrl+P", GridKey::print_report},
        {SheetCommand::open_export, "用系统的程序打开刚导出的文件", GridKey::open_export},
        {SheetCommand::choose_pipes, "Ctrl+D", GridKey::choose_pipes},
        {SheetCommand::balance_pipes, "Ctrl+B", GridKey::balance_pipes},
        {SheetCommand::new_project, "Ctrl+N", GridKey::new_project},
        {SheetCommand::open_project, "Ctrl+O", GridKey::open_project},
        {SheetCommand::project_details, "工程名称和设计人，用于标题和导出",
         GridKey::project_details},
    };
    std::size_t buttons = 0;
    for (const CommandLayout& command : sheet_commands) {
        buttons += command.caption.empty() ? 0 : 1;
    }
    EXPECT_EQ(buttons, std::size(cases));
    for (const Case& c : cases) {
        const auto layout = std::find_if(sheet_commands.begin(), sheet_commands.end(),
                                         [&](const auto& l) { return l.command == c.command; });
        ASSERT_NE(layout, sheet_commands.end());
        EXPECT_EQ(command_tip(*layout), c.tip);
        EXPECT_EQ(command_key(c.command).key, c.key) << c.tip;
    }
}

TEST(SheetWindow, ColumnWidthsAreKeptInTheFolderByTheColumnsHeaders) {
    TempWorkingFolder folder;
    EXPECT_EQ(kept_column_widths("."), std::vector<std::optional<int>>(sheet_columns.size()));
    std::vector<int> twips;
    for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
        twips.push_back(600 + static_cast<int>(c) * 15);
    }
    keep_column_widths(".", twips);
    const auto kept = kept_column_widths(".");
    for (std::size_t c = 0; c < sheet_columns.size(); ++c) {
        EXPECT_EQ(kept[c], twips[c]) << c;
    }
    // Found by header, whatever the order; a line that makes no sense is passed over.
    write_bytes(column_widths_file,
                "备注\t4000\r\n管段号\t3000\n环路\t7\n上游\t99999\n管长 L\t12a\n旧列\t900\n\n");
    const auto read = kept_column_widths(".");
    EXPECT_EQ(read[column_index(SheetColumn::note)], 4000);
    EXPECT_EQ(read[column_index(SheetColumn::segment)], 3000);
    EXPECT_EQ(std::count(read.begin(), read.end(), std::nullopt),
              static_cast<long>(sheet_columns.size()) - 2);
}

TEST(SheetWindow, ButtonsWrapOntoAnotherRowRatherThanLeaveTheWindow) {
    const auto at_96_dpi = [](int twips) { return twips / 15; };
    for (const int width : {2400, 1040, 700, 400}) {
        const SheetWindowBoxes boxes = sheet_window_boxes(width, 640, at_96_dpi, false, 0);
        int rows = 1;
        for (std::size_t i = 0; i < boxes.buttons.size(); ++i) {
            const ScreenBox& b = boxes.buttons[i];
            EXPECT_LE(b.left + b.width, width) << width << ", button " << i;
            EXPECT_LT(b.top + b.height, boxes.grid.top) << width << ", button " << i;
            if (i > 0 && b.top > boxes.buttons[i - 1].top) {
                ++rows;
                EXPECT_EQ(b.left, boxes.buttons[0].left);
            } else if (i > 0) {
                EXPECT_GT(b.left, boxes.buttons[i - 1].left + boxes.buttons[i - 1].width);
            }
        }
        EXPECT_EQ(rows > 1, width < 2000) << width;  // the seventeen captions need about 1600 px
    }
}

TEST(SheetWindow, TheSketchStandsBesideTheGridOnlyWhereNoColumnIsGivenUpForIt) {
    const auto at_96_dpi = [](int twips) { return twips / 15; };
    // A grid of 1100 px in a window of 1920: the grid keeps its width, the sketch the rest.
    const SheetWindowBoxes wide = sheet_window_boxes(1920, 640, at_96_dpi, true, 1100);
    EXPECT_EQ(wide.grid.width, 1100);
    EXPECT_EQ(wide.sketch.top, wide.grid.top);
    EXPECT_EQ(wide.sketch.height, wide.grid.height);
    EXPECT_EQ(wide.sketch.left, wide.grid.left + wide.grid.width + 8);
    EXPECT_EQ(wide.sketch.left + wide.sketch.width, 1920 - 8);
    // The sketch's least width (300 px) is just there, and a pixel short of it.
    const int just = 8 + 1100 + 8 + 300 + 8;
    EXPECT_EQ(sheet_window_boxes(just, 640, at_96_dpi, true, 1100).sketch.width, 300);
    // A pixel less, and 1366 px: the sketch goes under a grid as wide as the window.
    for (const int width : {just - 1, 1366}) {
        const SheetWindowBoxes low = sheet_window_boxes(width, 640, at_96_dpi, true, 1100);
        EXPECT_EQ(low.grid.width, width - 16) << width;
        EXPECT_EQ(low.sketch.width, low.grid.width) << width;
        EXPECT_EQ(low.sketch.top, low.grid.top + low.grid.height + 8) << width;
        EXPECT_EQ(low.sketch.top + low.sketch.height, low.message.top) << width;
    }
    // Without a network the grid has it all.
    const SheetWindowBoxes none = sheet_window_boxes(1920, 640, at_96_dpi, false, 1100);
    EXPECT_EQ(none.sketch.width, 0);
    EXPECT_EQ(none.grid.width, 1920 - 16);
    EXPECT_EQ(none.grid.height, wide.grid.height);
    // The window asks for its own width, or the grid's and its margins where that is more.
    EXPECT_EQ(sheet_window_width(900, at_96_dpi), frmsheet_window.width / 15);
    EXPECT_EQ(sheet_window_width(1100, at_96_dpi), 1100 + 16);
}

TEST(SheetWindow, TheSketchZoomsInStepsAndStopsAtEitherEnd) {
    EXPECT_EQ(next_sketch_zoom(1.0, 1), 1.25);
    EXPECT_EQ(next_sketch_zoom(1.0, -1), 0.8);
    EXPECT_EQ(next_sketch_zoom(2.0, 1), 2.0);
    EXPECT_EQ(next_sketch_zoom(0.5, -3), 0.5);
    EXPECT_EQ(next_sketch_zoom(0.7, 0), 0.67);  // an odd zoom goes to the nearest step
    // 9 pt text (180 twips) at 150 %: 18 px at 96 dpi.
    EXPECT_EQ(sketch_pixels(180, 1.5, [](int twips) { return twips / 15; }), 18);
}

TEST(SheetWindow, FitsASmallScreenAndStandsBesideTheMainWindowWhereThereIsRoom) {
    // 1366 x 768 at 150 %: the sheet asks for 1560 x 960 pixels, the work area has 1366 x 728.
    const auto scaled = [](int twips) { return twips * 3 / 2 / 15; };
    const ScreenBox area{0, 0, 1366, 728};
    const ScreenBox main{142, 0, 1082, 757};
    const ScreenBox small = place_sheet_window(main, scaled(frmsheet_window.width),
                                               scaled(frmsheet_window.height), area, 12);
    EXPECT_EQ(small.width, 1366);
    EXPECT_EQ(small.height, 728);
    EXPECT_EQ(small.left, 0);
    EXPECT_EQ(small.top, 0);
    // 2560 x 1400 at 100 %: beside the main window, covering none of it.
    const ScreenBox wide{0, 0, 2560, 1400};
    const ScreenBox beside = place_sheet_window({100, 100, 727, 510}, frmsheet_window.width / 15,
                                                frmsheet_window.height / 15, wide, 8);
    EXPECT_EQ(beside.left, 100 + 727 + 8);
    EXPECT_EQ(beside.width, frmsheet_window.width / 15);
    EXPECT_LE(beside.top + beside.height, 1400);
}

TEST(SheetWindow, OpensFromTheButtonOnTheNewestLengthAndEachSizingRedrawsIt) {
    SheetRun run;
    run.size("10000", "20");
    run.size("6000", "20");
    run.click(ControlId::cmdsheet);
    EXPECT_EQ(run.toolkit.sheet_shown(), 1);
    EXPECT_EQ(run.window.grid().current(), (CellPosition{1, length}));
    const int drawn = run.toolkit.sheet_drawn();
    run.size("3000", "20");
    EXPECT_EQ(run.window.sheet().rows(), 3u);
    EXPECT_GT(run.toolkit.sheet_drawn(), drawn);
    // The engineer's place is kept while rows arrive.
    EXPECT_EQ(run.window.grid().current(), (CellPosition{1, length}));
    // Opened again in the middle of an entry: the entry stays, with its text.
    run.press({typing("7")});
    run.window.grid().edited("7.25");
    run.click(ControlId::cmdsheet);
    EXPECT_TRUE(run.window.grid().editing());
    EXPECT_EQ(run.window.grid().edit_text(), "7.25");
    EXPECT_EQ(run.window.grid().current(), (CellPosition{1, length}));
}

TEST(SheetWindow, AClickCommitsTheEntryFirstAndARefusedOneHoldsTheCell) {
    SheetRun run;
    run.size("10000", "20");
    run.size("6000", "20");
    run.click(ControlId::cmdsheet);
    SheetGrid& grid = run.window.grid();
    run.press({typing("4")});
    grid.edited("4.5");  // the in-place editor's text, as the engineer left it
    grid.click(0, xi, false);
    EXPECT_EQ(run.window.sheet().cell(1, SheetColumn::length), "4.5");
    EXPECT_EQ(grid.current(), (CellPosition{0, xi}));
    run.press({typing("no such fitting")});
    grid.click(1, loops, false);
    EXPECT_TRUE(grid.editing());
    EXPECT_EQ(grid.current(), (CellPosition{0, xi}));
    EXPECT_EQ(grid.edit_text(), "no such fitting");
    EXPECT_FALSE(grid.message().empty());
    run.press({named(PhysicalKey::escape)});
    grid.click(1, loops, true);
    // Shift+click: the rectangle from the cell before to this one.
    EXPECT_TRUE(grid.selected(0, xi + 1));
    EXPECT_TRUE(grid.selected(1, loops));
    EXPECT_FALSE(grid.selected(0, velocity));
    EXPECT_FALSE(grid.selected(1, loops + 1));
}

TEST(SheetWindow, CellsShowTheirFlagsInWordsAndInATone) {
    SheetRun run;
    run.size("30000", "15");  // far above DN15's 0.8 m/s
    run.size("3000", "20");
    run.click(ControlId::cmdsheet);
    const CalcSheet& calc = run.window.sheet().sheet();
    const ShownCell fast = shown_cell(calc, 0, velocity);
    EXPECT_EQ(fast.text, run.window.sheet().cell(0, SheetColumn::velocity) + " 超速");
    EXPECT_EQ(fast.tone, Tone::too_fast);
    EXPECT_TRUE(fast.read_only);
    EXPECT_TRUE(fast.right_aligned);
    const ShownCell slow = shown_cell(calc, 1, velocity);
    EXPECT_EQ(slow.tone, Tone::plain);
    EXPECT_EQ(slow.text.find("超速"), std::string::npos);
    EXPECT_FALSE(shown_cell(calc, 1, length).read_only);
    EXPECT_FALSE(shown_cell(calc, 1, 0).right_aligned);  // the 管段号 is text
    EXPECT_EQ(column_title(velocity), "流速 v (m/s)");
    EXPECT_EQ(column_title(0), "管段号");
    // On two lines in the grid's header: the name over its symbol and unit.
    using Lines = std::array<std::string, 2>;
    EXPECT_EQ(column_title_lines(velocity), (Lines{"流速", "v (m/s)"}));
    EXPECT_EQ(column_title_lines(0), (Lines{"管段号", ""}));
    EXPECT_EQ(column_title_lines(column_index(SheetColumn::xi)), (Lines{"局部阻力系数", "Σξ"}));
    EXPECT_EQ(column_title_lines(column_index(SheetColumn::consumer)),
              (Lines{"用户负荷", "Q用户 (W)"}));

    // Two loops sharing segment 1: loop 1 the most unfavourable, loop 2 far out of balance.
    run.window.grid().click(0, length, false);
    run.press({typing("30"), named(PhysicalKey::enter), typing("2")});
    run.window.grid().click(0, loops, false);
    run.press({typing("1"), named(PhysicalKey::enter), typing("2"), named(PhysicalKey::enter)});
    const CalcSheet& sheet = run.window.sheet().sheet();
    ASSERT_EQ(sheet.report().loops.size(), 2u);
    EXPECT_EQ(loop_summary_title(sheet), "环路（不平衡率限值 15 %）");
    const ShownCell critical = shown_loop_cell(sheet, 0, 3);
    EXPECT_EQ(critical.text, "最不利");
    EXPECT_EQ(critical.tone, Tone::critical);
    EXPECT_EQ(shown_loop_cell(sheet, 0, 0).tone, Tone::critical);
    const ShownCell imbalance = shown_loop_cell(sheet, 1, 4);
    EXPECT_NE(imbalance.text.find("超限"), std::string::npos) << imbalance.text;
    EXPECT_EQ(imbalance.tone, Tone::too_fast);
    EXPECT_EQ(shown_loop_cell(sheet, 1, 0).tone, Tone::plain);
}

TEST(SheetWindow, TheImbalanceLimitIsAskedForAndARefusalAsksAgainWithTheEntry) {
    SheetRun run;
    run.size("10000", "20");
    run.click(ControlId::cmdsheet);
    InputRequest first, second;
    std::string told;
    run.toolkit.answer_input("0", &first);
    run.toolkit.expect_message(&told);
    run.toolkit.answer_input("10", &second);
    run.window.grid().key(command_key(SheetCommand::set_limit));
    EXPECT_EQ(first.title, "不平衡率限值");
    EXPECT_EQ(first.offered, "15");
    EXPECT_EQ(told, "不平衡率限值“0”不行：须是大于 0 的百分数。");
    EXPECT_EQ(second.offered, "0");
    EXPECT_EQ(run.window.sheet().sheet().data().limit, 10.0);
    EXPECT_EQ(loop_summary_title(run.window.sheet().sheet()), "环路（不平衡率限值 10 %）");
    run.toolkit.cancel_input();
    run.window.grid().key(command_key(SheetCommand::set_limit));
    EXPECT_EQ(run.window.sheet().sheet().data().limit, 10.0);
}

TEST(SheetWindow, CtrlEAndCtrlShiftPOfferTheExportsInTheWorkingFolder) {
    SheetRun run;
    run.size("10000", "20");
    run.click(ControlId::cmdsheet);
    std::filesystem::path workbook, report;
    run.toolkit.save_as(std::nullopt, &workbook);
    run.toolkit.save_as(std::nullopt, &report);
    run.press({ctrl('E'), ctrl_shift('P')});
    EXPECT_EQ(workbook.extension(), ".xlsx");
    EXPECT_EQ(report.extension(), ".pdf");
    EXPECT_EQ(path_text(workbook.filename()).rfind("计算表-", 0), 0u);
    EXPECT_EQ(path_text(report.filename()).rfind("计算书-", 0), 0u);
}

}  // namespace
}  // namespace kestrune::testing
