// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet to Excel and to a printed calculation, checked with other programs' eyes:
// LibreOffice recalculates the workbook's formulas, poppler reads the PDF's text and fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "calc_sheet.h"
#include "chinese_font.h"
#ifndef _WIN32
#include "child_process.h"
#endif
#include "example_files.h"
#include "fitting_table.h"
#include "network_sheet.h"
#include "number_text.h"
#include "pipe_balance.h"
#include "platform_files.h"
#include "sheet_export.h"
#include "sheet_messages.h"
#include "system_head.h"
#include "temp_folder.h"
#include "worked_sheet.h"

namespace kestrune::testing {
namespace {

const ExportStamp stamp{"管网", "张工", "2026-12-08 09:30", "Kestrune 0.1.0"};
// The export files' names: Chinese, as the program offers them.
const std::filesystem::path workbook_file{u8"计算表.xlsx"};
const std::filesystem::path report_file{u8"计算书.pdf"};

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// What a command prints.
std::string output_of(const std::string& command) {
    EXPECT_EQ(std::system((command + " > output.txt 2>/dev/null").c_str()), 0) << command;
    std::stringstream text;
    text << std::ifstream("output.txt").rdbuf();
    return text.str();
}

// The sheets of a workbook as LibreOffice computes them, cell texts by sheet name.
std::map<std::string, std::vector<std::vector<std::string>>> recalculated(
    const std::filesystem::path& workbook) {
    const std::filesystem::path profile = std::filesystem::absolute("lo-profile");
    std::filesystem::create_directories(profile / "user");
    // Formulas of a workbook from another program are computed on loading, not taken.
    std::ofstream(profile / "user" / "registrymodifications.xcu")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
           "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
           "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\"><prop "
           "oor:name=\"OOXMLRecalcMode\" oor:op=\"fuse\"><value>0</value></prop></item>\n"
           "</oor:items>\n";
    std::filesystem::create_directories("csv");
    const std::string command =
        "soffice -env:UserInstallation=file://" + profile.string() +
        " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,"
        "false,false,false,-1' --outdir csv " +
        workbook.string();
    EXPECT_EQ(run(command), 0) << command;
    std::map<std::string, std::vector<std::vector<std::string>>> sheets;
    for (const auto& entry : std::filesystem::directory_iterator("csv")) {
        const std::string name = entry.path().stem().string();
        const std::string sheet = name.substr(name.rfind('-') + 1);
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            std::vector<std::string> cells;
            std::string cell;
            bool quoted = false;
            for (char c : line) {
                if (c == '"') {
                    quoted = !quoted;
                } else if (c == ',' && !quoted) {
                    cells.push_back(cell);
                    cell.clear();
                } else {
                    cell += c;
                }
            }
            cells.push_back(cell);
            sheets[sheet].push_back(cells);
        }
    }
    return sheets;
}

bool have(const char* program) {
    return run(std::string("command -v ") + program) == 0;
}

// The 环路 sheet as LibreOffice computed it says what the program says of every loop.
void expect_loops_as_the_program(const std::vector<std::vector<std::string>>& loops,
                                 const CalcSheet& sheet) {
    const LoopReport& report = sheet.report();
    ASSERT_GE(loops.size(), 3 + report.loops.size());
    EXPECT_EQ(loops[0].at(4), report.critical ? report.loops[*report.critical].name : "");
    const auto number = [](const std::string& text) { return std::stod(text); };
    for (std::size_t i = 0; i < report.loops.size(); ++i) {
        const auto& row = loops[3 + i];
        const LoopResult& loop = report.loops[i];
        ASSERT_GE(row.size(), 8u);
        EXPECT_EQ(row[0], loop.name);
        if (loop.segments.empty()) {
            EXPECT_EQ(row[2], no_segments_note) << loop.name;
        } else {
            EXPECT_NEAR(number(row[2]), loop.total, 0.01) << loop.name;
        }
        EXPECT_EQ(row[3], loop.critical ? "最不利" : "") << loop.name;
        if (loop.imbalance) {
            EXPECT_NEAR(number(row[4]), *loop.imbalance, 0.01) << loop.name;
            EXPECT_NEAR(number(row[5]), loop.surplus, 0.01) << loop.name;
        } else {
            EXPECT_EQ(row[4], loop.no_own_segments ? no_own_segments_note : "") << loop.name;
            EXPECT_EQ(row[5], "") << loop.name;
        }
        EXPECT_EQ(row[7], loop.flagged ? "超限" : "") << loop.name;
        if (loop.kv && loop.flagged) {
            EXPECT_NEAR(number(row[6]), *loop.kv, 0.01) << loop.name;
        } else {
            EXPECT_EQ(row[6], "") << loop.name;
        }
    }
}

TEST(SheetExport, TheWorkbooksFormulasGiveTheProgramsValues) {
    if (!have("soffice")) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed here";
    }
    TempWorkingFolder folder;
    const CalcSheet sheet = worked_sheet();
    // Without the program's values in the formula cells: only the formulas can give them.
    ASSERT_FALSE(export_xlsx(workbook_file, sheet, shipped_fittings(), stamp, false));
    std::filesystem::copy_file(workbook_file, "book.xlsx");
    auto sheets = recalculated("book.xlsx");
    ASSERT_EQ(sheets.count("水力计算表"), 1u);
    const auto& rows = sheets["水力计算表"];
    ASSERT_GE(rows.size(), 5u);
    EXPECT_EQ(rows[0][0], "管段号");
    const auto at = [](SheetColumn column) { return column_index(column); };
    EXPECT_EQ(rows[1][at(SheetColumn::flow)], "kg/h");
    const auto number = [](const std::string& text) { return std::stod(text); };
    for (std::size_t i = 0; i < 3; ++i) {
        const SegmentLosses& l = sheet.losses()[i];
        const auto& row = rows[2 + i];
        EXPECT_EQ(row[0], sheet.data().rows[i].segment);
        EXPECT_NEAR(number(row[at(SheetColumn::friction_loss)]), l.friction, 0.01) << i;
        EXPECT_NEAR(number(row[at(SheetColumn::dynamic_pressure)]), l.dynamic, 0.01) << i;
        EXPECT_NEAR(number(row[at(SheetColumn::local_loss)]), l.local, 0.01) << i;
        EXPECT_NEAR(number(row[at(SheetColumn::total_loss)]), l.total, 0.01) << i;
    }
    EXPECT_NEAR(number(rows[2][at(SheetColumn::total_loss)]), 1956.4, 0.05);

    expect_loops_as_the_program(sheets["环路"], sheet);
    const LoopReport& report = sheet.report();
    EXPECT_EQ(sheets["环路"].at(0).at(4), "1");  // the most unfavourable loop
    ASSERT_TRUE(report.loops[1].flagged);
    const auto& parameters = sheets["参数"];
    ASSERT_GE(parameters.size(), 2u);
    EXPECT_EQ(parameters[1][0], "1");
    EXPECT_NEAR(number(parameters[1][2]), 983.25, 1e-9);
    // The project and its designer, as the stamp gives them.
    std::map<std::string, std::string> stated;
    for (const auto& line : parameters) {
        if (line.size() >= 2) {
            stated[line[0]] = line[1];
        }
    }
    EXPECT_EQ(stated["工程名称"], "管网");
    EXPECT_EQ(stated["设计人"], "张工");
}

// The near and far loops, sized, balanced, with the entrance's available pressure.
CalcSheet network_sheet() {
    SheetData data = near_and_far();
    settle_network(data);
    choose_pipes(data, example_pipes(), shipped_fittings());
    balance_pipes(data, example_pipes(), shipped_fittings());
    data.available_pressure = 10000;
    CalcSheet sheet;
    sheet.reset(data);
    return sheet;
}

TEST(SheetExport, TheWorkbookHoldsTheLoggedDecimalsNotTheSinglesTails) {
    if (!have("python3")) {
        GTEST_SKIP() << "python3, which reads the workbook's cells, is not installed here";
    }
    TempWorkingFolder folder;
    ASSERT_FALSE(export_xlsx("book.xlsx", worked_sheet(), shipped_fittings(), stamp));
    // The cells' values as the file holds them, every sheet's.
    const std::string cells = output_of(
        "python3 -c \"import re, zipfile; z = zipfile.ZipFile('book.xlsx'); "
        "print(' '.join(v for n in z.namelist() if n.startswith('xl/worksheets/') "
        "for v in re.findall(r'<v>([^<]*)</v>', z.read(n).decode())))\"");
    std::istringstream read(cells);
    std::set<std::string> values;
    for (std::string value; read >> value;) {
        values.insert(value);
    }
    // G 412.71 kg/h, v 0.329 m/s, R 101.17 Pa/m, margin 1.2, ν 0.477 mm²/s, λ 0.0404: each as
    // logged, and never as its single's binary tail (101.1699981689453).
    for (const char* logged : {"412.71", "0.329", "101.17", "1.2", "0.477", "0.0404"}) {
        EXPECT_TRUE(values.count(logged)) << logged << " in " << cells;
        char tail[40];
        std::snprintf(tail, sizeof tail, "%.16G", static_cast<double>(std::stof(logged)));
        EXPECT_FALSE(values.count(tail)) << tail;
    }
}

TEST(SheetExport, TheWorkbookPrintsOnePageWideInLandscape) {
    if (!have("soffice") || !have("pdfinfo")) {
        GTEST_SKIP() << "LibreOffice (soffice) or poppler-utils (pdfinfo) is not installed here";
    }
    TempWorkingFolder folder;
    ASSERT_FALSE(export_xlsx("book.xlsx", worked_sheet(), shipped_fittings(), stamp));
    const std::filesystem::path profile = std::filesystem::absolute("lo-profile");
    ASSERT_EQ(run("soffice -env:UserInstallation=file://" + profile.string() +
                  " --headless --convert-to pdf book.xlsx"),
              0);
    const std::string info = output_of("pdfinfo book.pdf");
    // One page for each of its three sheets: no column on a page of its own.
    EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
    EXPECT_NE(info.find("841.89 x 595."), std::string::npos) << info;  // A4, landscape
}

TEST(SheetExport, ANetworksHeadStaysLiveInTheWorkbookAndItsPathsAreInWords) {
    TempWorkingFolder folder;
    const CalcSheet sheet = network_sheet();
    const auto head = system_head(sheet);
    ASSERT_TRUE(head && head->kv);
    if (have("pdftotext")) {
        ASSERT_FALSE(export_pdf(report_file, sheet, stamp).has_value());
        std::string all = output_of("pdftotext 计算书.pdf -");
        // Lines wrap at blanks and between Chinese characters: compared without either.
        const auto unbroken = [](std::string text) {
            std::erase_if(text, [](char c) { return c == '\n' || c == ' '; });
            return text;
        };
        all = unbroken(all);
        for (const std::string& words :
             {std::string("环路 2：管段 1 → 2 → 6"), std::string("环路 4：管段 1 → 3 → 4 → 5 → 6"),
              std::string("管段 6 汇合管段 2、5"), std::string("平衡管径改小 2 DN20"),
              head_lines(*head)[0], head_lines(*head)[2]}) {
            EXPECT_NE(all.find(unbroken(words)), std::string::npos) << words;
        }
    }
    if (!have("soffice")) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed here";
    }
    ASSERT_FALSE(export_xlsx(workbook_file, sheet, shipped_fittings(), stamp, false));
    std::filesystem::copy_file(workbook_file, "book.xlsx");
    auto sheets = recalculated("book.xlsx");
    const auto& loops = sheets["环路"];
    std::map<std::string, std::string> under;
    for (const auto& row : loops) {
        if (row.size() >= 2) {
            under[row[0]] = row[1];
        }
    }
    const auto number = [&](const char* label) { return std::stod(under.at(label)); };
    EXPECT_NEAR(number("附加 10 % 后所需压头 (Pa)"), head->head, 0.01);
    EXPECT_NEAR(number("所需压头 (m 水柱)"), head->head / pascal_per_metre_water, 0.001);
    EXPECT_NEAR(number("入口富余 (Pa)"), *head->surplus, 0.01);
    EXPECT_NEAR(number("入口调节阀 Kv"), *head->kv, 0.01);
    EXPECT_EQ(under.at("入口资用压力不足 (Pa)"), "");
    EXPECT_EQ(under.at("2"), "1→2→6");  // the loops as paths, as the window shows them
}

TEST(SheetExport, TheSketchIsASectionBeforeTheTableWithEverySegmentNumberInIt) {
    if (!have("pdftotext")) {
        GTEST_SKIP() << "poppler-utils (pdftotext) is not installed here";
    }
    TempWorkingFolder folder;
    SheetData tall = tall_system(8, 8);
    settle_network(tall);
    choose_pipes(tall, example_pipes(), shipped_fittings());
    CalcSheet large;
    large.reset(tall);
    const CalcSheet worked = network_sheet();
    for (const CalcSheet* sheet : {&worked, static_cast<const CalcSheet*>(&large)}) {
        ASSERT_FALSE(export_pdf(report_file, *sheet, stamp).has_value());
        const std::string all = output_of("pdftotext 计算书.pdf -");
        const std::size_t from = all.find("、系统简图"), to = all.find("、水力计算表");
        ASSERT_LT(from, to);
        EXPECT_LT(all.find("、管网"), from);
        // Every 管段号 as a word of its own, page by page.
        std::istringstream words(all.substr(from, to - from));
        std::set<std::string> seen;
        for (std::string word; words >> word;) {
            seen.insert(word);
        }
        for (const SheetRow& row : sheet->data().rows) {
            EXPECT_TRUE(seen.count(row.segment)) << row.segment;
        }
        EXPECT_TRUE(seen.count("最不利"));
    }
    // The 208 segments take several pages, each part naming where its lines go.
    const std::string all = output_of("pdftotext 计算书.pdf -");
    EXPECT_NE(all.find("系统简图（1/"), std::string::npos);
    EXPECT_NE(all.find("至 "), std::string::npos);
    EXPECT_NE(all.find("接 "), std::string::npos);
}

TEST(SheetExport, ThePrintedCalculationSaysItAllWithItsFontEmbedded) {
    if (!have("pdftotext") || !have("pdffonts")) {
        GTEST_SKIP() << "poppler-utils (pdftotext, pdffonts) are not installed here";
    }
    TempWorkingFolder folder;
    // Enough segments for a second page of the sheet.
    const CalcSheet sheet = worked_sheet(60);
    const auto error = export_pdf(report_file, sheet, stamp, shipped_fittings());
    ASSERT_FALSE(error.has_value()) << export_problem(*error);
    const std::string all = output_of("pdftotext 计算书.pdf -");
    for (const char* words :
         {"室内供暖系统水力计算书",
          "工程名称：管网",
          "2026-12-08 09:30",
          "Kestrune 0.1.0",
          "设计：张工",
          "校对：",
          "审核：",
          "第 1 页 共 ",
          "设计流量 G = 3.6 · Q / (4.187 · Δt)",
          "比摩阻 R = v² · λ · 500 · ρ / d",
          "局部损失 Z = Σξ · ρv²/2",
          "密度 ρ 983.25 kg/m³",
          "1264.6",
          "53.2",
          "691.8",
          "1956.4",
          "2×90°煨弯 + 截止阀。90°煨弯 2 × 1.5 = 3；截止阀 1 × 10 = 10；Σξ = 13",
          "散热器 1 × 2 = 2；Σξ = 2",
          "合计",
          "为最不利环路",
          "超过限值 15 %",
          "平衡阀 Kv =",
          "管段 1 的管长" /* absent: every length is given */}) {
        if (std::string(words) == "管段 1 的管长") {
            EXPECT_EQ(all.find(words), std::string::npos);
            continue;
        }
        EXPECT_NE(all.find(words), std::string::npos) << words;
    }
    // The sheet's header stands on each page it runs over.
    std::size_t headers = 0;
    for (std::size_t at = all.find("ΔP (Pa)"); at != std::string::npos;
         at = all.find("ΔP (Pa)", at + 1)) {
        ++headers;
    }
    EXPECT_GE(headers, 2u);
    // Every page numbered, out of the pages there are.
    const std::string info = output_of("pdfinfo 计算书.pdf");
    const std::size_t pages = std::stoul(info.substr(info.find("Pages:") + 6));
    ASSERT_GE(pages, 3u);
    for (std::size_t k = 1; k <= pages; ++k) {
        const std::string numbered =
            "第 " + std::to_string(k) + " 页 共 " + std::to_string(pages) + " 页";
        EXPECT_NE(all.find(numbered), std::string::npos) << numbered;
    }
    const std::string font_list = output_of("pdffonts 计算书.pdf");
    EXPECT_NE(font_list.find("+"), std::string::npos) << font_list;            // a subset's tag
    EXPECT_NE(font_list.find("yes yes yes"), std::string::npos) << font_list;  // emb, sub, uni
}

TEST(SheetExport, ThePagesForAPrinterAreThePdfsPagesInItsFont) {
    if (!have("pdfinfo")) {
        GTEST_SKIP() << "poppler-utils (pdfinfo) are not installed here";
    }
    TempWorkingFolder folder;
    const CalcSheet sheet = worked_sheet(60);
    ASSERT_FALSE(export_pdf(report_file, sheet, stamp, shipped_fittings()).has_value());
    PaperReport paper;
    ASSERT_FALSE(paper_report(paper, sheet, stamp, shipped_fittings()).has_value());
    const std::string info = output_of("pdfinfo 计算书.pdf");
    EXPECT_EQ(paper.pages.size(), std::stoul(info.substr(info.find("Pages:") + 6)));
    EXPECT_EQ(paper.font_file, chinese_font()->file);
    EXPECT_NEAR(paper.width, 841.89, 0.01);  // A4 landscape
    EXPECT_NEAR(paper.height, 595.28, 0.01);
    // Every mark on its page; the last text of each page is its number, out of them all.
    for (std::size_t k = 0; k < paper.pages.size(); ++k) {
        std::string last;
        for (const PaperMark& m : paper.pages[k].marks) {
            for (const PaperPoint& p : m.points) {
                EXPECT_TRUE(p.x >= 0 && p.x <= paper.width && p.y >= 0 && p.y <= paper.height)
                    << k << ": " << m.text;
            }
            if (m.kind == PaperMark::Kind::text) {
                last = m.text;
            }
        }
        EXPECT_EQ(last, "第 " + std::to_string(k + 1) + " 页 共 " +
                            std::to_string(paper.pages.size()) + " 页");
    }
}

TEST(SheetExport, LongLoopsAndNotesWrapInTheirCellsAndNothingIsCut) {
    if (!have("pdftotext")) {
        GTEST_SKIP() << "poppler-utils (pdftotext) is not installed here";
    }
    TempWorkingFolder folder;
    SheetData data = worked_sheet().data();
    data.rows[0].loops = {"1", "2", "北区3", "北区4", "北区5", "北区6"};
    data.rows[0].note =
        "由锅炉房分水器接出，沿地沟敷设至一号楼热力入口，穿墙处加套管，保温厚 40 mm";
    CalcSheet sheet;
    sheet.reset(data);
    ASSERT_FALSE(export_pdf(report_file, sheet, stamp, shipped_fittings()));
    std::string all = output_of("pdftotext 计算书.pdf -");
    std::erase_if(all, [](char c) { return c == '\n' || c == ' '; });  // wrapped in its cell
    const std::string table = all.substr(all.find("、水力计算表"));
    std::string note = data.rows[0].note;
    std::erase_if(note, [](char c) { return c == ' '; });
    EXPECT_NE(table.find(note), std::string::npos);
    EXPECT_EQ(table.find("…"), std::string::npos);
    for (const char* loop : {"北区3", "北区4", "北区5", "北区6"}) {
        EXPECT_NE(table.find(loop), std::string::npos) << loop;
    }
}

TEST(SheetExport, WithoutLoopsNoLoopIsNamedTheMostUnfavourable) {
    if (!have("soffice")) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed here";
    }
    TempWorkingFolder folder;
    SheetData data = worked_sheet().data();
    data.loops.clear();
    for (SheetRow& row : data.rows) {
        row.loops.clear();
    }
    CalcSheet sheet;
    sheet.reset(data);
    ASSERT_FALSE(export_xlsx(workbook_file, sheet, shipped_fittings(), stamp, false));
    std::filesystem::copy_file(workbook_file, "book.xlsx");
    auto sheets = recalculated("book.xlsx");
    ASSERT_FALSE(sheets["环路"].empty());
    EXPECT_EQ(sheets["环路"][0].at(4), "");
}

TEST(SheetExport, AWorkbookIsWrittenUnderChineseNamesInAChineseFolder) {
    // The libraries take char* paths: on Windows the folder's short name and an ASCII partner
    // reach D:\设计 all the same.
    TempWorkingFolder folder;
    const std::filesystem::path chinese = std::filesystem::current_path() / u8"设计 管网";
    std::filesystem::create_directory(chinese);
    ASSERT_FALSE(export_xlsx(chinese / workbook_file, worked_sheet(), shipped_fittings(), stamp));
    EXPECT_EQ(read_bytes(chinese / workbook_file).substr(0, 2), "PK");  // a zip, as .xlsx is
    write_bytes(chinese / workbook_file, "earlier");
    ASSERT_FALSE(export_xlsx(chinese / workbook_file, worked_sheet(), shipped_fittings(), stamp));
    EXPECT_EQ(read_bytes(chinese / workbook_file).substr(0, 2), "PK");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(chinese)) {
        ++files;
    }
    EXPECT_EQ(files, 1u);  // no partner left behind
    if (chinese_font()) {
        ASSERT_FALSE(export_pdf(chinese / report_file, worked_sheet(), stamp));
        EXPECT_EQ(read_bytes(chinese / report_file).substr(0, 5), "%PDF-");
    }
}

TEST(SheetExport, AFailureLeavesTheEarlierFileAndSaysWhy) {
    TempWorkingFolder folder;
    const CalcSheet sheet = worked_sheet();
    std::filesystem::create_directory(workbook_file);
    auto in_the_way = export_xlsx(workbook_file, sheet, shipped_fittings(), stamp);
    ASSERT_TRUE(in_the_way.has_value());
    ASSERT_TRUE(in_the_way->file.has_value());
    EXPECT_EQ(export_problem(*in_the_way),
              "无法写出“计算表.xlsx”：有同名的文件夹占用了这个文件名。\n"
              "原有的同名文件没有改动，计算表也没有改动。");

#ifndef _WIN32
    // A folder that takes no new file, for a user to whom permissions apply: the earlier
    // exports stay as they were.
    std::filesystem::create_directory("locked");
    write_bytes("locked" / report_file, "earlier");
    write_bytes("locked" / workbook_file, "earlier");
    std::filesystem::permissions("locked", std::filesystem::perms::all);
    std::filesystem::permissions("locked",
                                 std::filesystem::perms::others_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    ChildLimits limits;
    limits.drop_privileges = true;
    const int failed = run_in_child(limits, [&sheet] {
        auto xlsx = export_xlsx("locked" / workbook_file, sheet, shipped_fittings(), stamp);
        auto pdf = export_pdf("locked" / report_file, sheet, stamp);
        return xlsx && xlsx->file && xlsx->file->code == EACCES && pdf && pdf->file &&
                       pdf->file->code == EACCES
                   ? 0
                   : 1;
    });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(read_bytes("locked" / workbook_file), "earlier");
    EXPECT_EQ(read_bytes("locked" / report_file), "earlier");
#endif
}

TEST(SheetExport, AnExportIsOnTheDiskBeforeItTakesTheEarliersPlace) {
    // The disk fails to put the new workbook down: the earlier one stays, nothing is left
    // beside it, and the failure is told.
    TempWorkingFolder folder;
    write_bytes(workbook_file, "earlier");
    injected_failures().flush = EIO;
    const auto error = export_xlsx(workbook_file, worked_sheet(), shipped_fittings(), stamp);
    EXPECT_EQ(injected_failures().flush, 0);  // met
    ASSERT_TRUE(error.has_value());
    ASSERT_TRUE(error->file.has_value());
    EXPECT_EQ(error->file->code, EIO);
    EXPECT_EQ(read_bytes(workbook_file), "earlier");
    EXPECT_FALSE(std::filesystem::exists(export_partner(workbook_file)));
    injected_failures() = {};
}

TEST(SheetExport, WithoutAChineseFontTheEngineerIsToldAndNothingIsWritten) {
    if (!chinese_font()) {
        // A system without one (a bare Wine prefix has no SimSun): no PDF, and said so.
        TempWorkingFolder folder;
        auto error = export_pdf(report_file, worked_sheet(), stamp);
        ASSERT_TRUE(error.has_value());
        EXPECT_TRUE(error->no_font);
        EXPECT_FALSE(std::filesystem::exists(report_file));
    }
    ExportError none{std::nullopt, true, {}};
    EXPECT_EQ(export_problem(none).rfind("在本机找不到中文字体", 0), 0u);
    ExportError lacking{std::nullopt, true, "U+40960"};
    EXPECT_NE(export_problem(lacking).find("缺少计算书要用的字形（U+40960）"), std::string::npos);
}

TEST(SheetExport, LoopNamesAreMatchedExactlyAndALoopWithoutSegmentsSaysSoInTheWorkbook) {
    if (!have("soffice")) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed here";
    }
    TempWorkingFolder folder;
    // a and A apart; 1? and 1* no wildcards (they would match 12 and each other); 空 known but
    // carried by no segment; 1~ as it stands.
    const SheetRow worked = worked_sheet().data().rows[0];
    const std::pair<double, std::vector<std::string>> segments[] = {
        {12.5, {"a", "1?"}}, {30, {"A"}}, {8, {"a", "1*"}}, {20, {"12", "1~"}}, {4, {"A", "12"}}};
    SheetData data;
    for (const auto& [length, loops] : segments) {
        SheetRow row = worked;
        row.segment = std::to_string(data.rows.size() + 1);
        row.length = length;
        row.loops = loops;
        data.rows.push_back(row);
    }
    data.loops = {"空", "a", "A"};
    CalcSheet sheet;
    sheet.reset(data);
    ASSERT_EQ(sheet.report().loops.size(), 7u);
    ASSERT_TRUE(sheet.report().loops[0].segments.empty());
    ASSERT_FALSE(export_xlsx(workbook_file, sheet, shipped_fittings(), stamp, false));
    std::filesystem::copy_file(workbook_file, "book.xlsx");
    expect_loops_as_the_program(recalculated("book.xlsx")["环路"], sheet);
}

}  // namespace
}  // namespace kestrune::testing
