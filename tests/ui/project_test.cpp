// SPDX-License-Identifier: GPL-3.0-or-later
// Projects: a folder each, made, switched to and back, their files left as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "expected_log.h"
#include "folder_lock.h"
#include "frmcompute.h"
#include "project_files.h"
#include "project_messages.h"
#include "recording_toolkit.h"
#include "temp_folder.h"

namespace kestrune::testing {
namespace {

namespace fs = std::filesystem;

// Every file of a folder with its bytes.
std::map<std::string, std::string> files_of(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[path_text(entry.path().filename())] = read_bytes(entry.path());
        }
    }
    return files;
}

// The program started in a project folder "一号楼" of a scratch folder, with its own settings
// folder (the recent projects) and the worked table as the examples.
class Projects : public ::testing::Test {
  protected:
    Projects() {
        fs::create_directories(examples);
        fs::create_directories(first);
        fs::current_path(examples);
        write_pipe_table(worked_dn, worked_d);
        fs::current_path(first);
        write_pipe_table(worked_dn, worked_d);
    }
    ProgramPlaces places() const {
        ProgramPlaces p;
        p.examples = examples;
        p.home = root.path();
        p.settings = settings;
        return p;
    }
    void size(std::string load, std::string dn) {
        toolkit.set_typed(ControlId::Text1, std::move(load));
        window.text_changed(ControlId::Text1);
        toolkit.answer_input(std::move(dn));
        window.clicked(ControlId::cmdok);
    }
    fs::path here() const { return fs::current_path(); }

    TempWorkingFolder root;
    fs::path examples = root.path() / "examples";
    fs::path first = root.path() / utf8_path("一号楼");
    fs::path settings = root.path() / "settings";
    RecordingToolkit toolkit;
    frmcompute window{toolkit, places()};
};

TEST_F(Projects, ANewProjectLeavesTheOldOneAsItWasAndWorksInItsOwnFolder) {
    ASSERT_TRUE(window.start());
    EXPECT_EQ(toolkit.projects(), std::vector<std::string>{"一号楼"});
    size("10000", "24");
    size("5000", "15");
    const auto before = files_of(first);
    ASSERT_EQ(before.count("calcsheet.txt"), 1u);

    InputRequest asked;
    toolkit.answer_input("  二号楼 ", &asked);
    window.project_command(ProjectCommand::create);
    const fs::path second = root.path() / utf8_path("二号楼");
    EXPECT_NE(asked.prompt.find(path_text(root.path())), std::string::npos) << asked.prompt;
    EXPECT_TRUE(fs::equivalent(here(), second));
    EXPECT_EQ(toolkit.projects().back(), "二号楼");
    EXPECT_EQ(window.sheet().rows(), 0u);
    // Seeded with the example table, named, and begun as a start begins a folder.
    EXPECT_EQ(read_bytes(second / "indata1.txt"), worked_dn);
    EXPECT_EQ(read_bytes(second / "project.txt"), "工程名称\t二号楼\n设计人\t\n");
    // Undo reaches no step of the project left behind.
    window.grid().key({GridKey::undo, false, true, {}});
    EXPECT_EQ(window.sheet().rows(), 0u);
    EXPECT_FALSE(fs::exists(second / "calcsheet.txt"));
    const std::string begun = read_bytes(second / "outdata.txt");
    EXPECT_FALSE(begun.empty());
    EXPECT_EQ(begun.find("10000"), std::string::npos);

    size("3000", "15");
    EXPECT_EQ(window.sheet().rows(), 1u);
    EXPECT_NE(read_bytes(second / "outdata.txt").find("3000"), std::string::npos);
    // The old project: every file as it was, and its lock let go.
    EXPECT_EQ(files_of(first), before);
    FolderLock other;
    EXPECT_EQ(other.take(first, "another program"), FolderLock::Outcome::taken);
    EXPECT_EQ(toolkit.still_expected(), 0u);
}

TEST_F(Projects, OpeningARecentProjectBringsBackItsSheetAndKeepsItsLogAsAStartWould) {
    ASSERT_TRUE(window.start());
    size("10000", "24");
    toolkit.answer_input("二号楼");
    window.project_command(ProjectCommand::create);
    const fs::path second = root.path() / utf8_path("二号楼");
    const auto second_files = files_of(second);

    std::string question;
    toolkit.click_button("一号楼", &question);
    window.project_command(ProjectCommand::open);
    EXPECT_NE(question.find(path_text(fs::weakly_canonical(first))), std::string::npos) << question;
    EXPECT_EQ(toolkit.last_buttons(), (std::vector<std::string>{"一号楼", "其他文件夹…", "取消"}));
    EXPECT_TRUE(fs::equivalent(here(), first));
    EXPECT_EQ(window.sheet().rows(), 1u);
    EXPECT_EQ(files_of(second), second_files);
    // The row logged before the switch is kept aside, as at a start; the new log is begun.
    std::size_t kept = 0;
    for (const auto& [name, bytes] : files_of(first)) {
        if (name.starts_with("outdata-")) {
            ++kept;
            EXPECT_NE(bytes.find("10000"), std::string::npos);
        }
    }
    EXPECT_EQ(kept, 1u);
    EXPECT_EQ(recent_projects(settings).front(), fs::weakly_canonical(first));
    EXPECT_EQ(toolkit.still_expected(), 0u);
}

TEST_F(Projects, ASwitchThatCannotBeMadeLeavesTheProgramInItsProjectStillLogging) {
    ASSERT_TRUE(window.start());
    const fs::path busy = root.path() / "busy";
    const fs::path empty = root.path() / "empty";
    fs::create_directories(busy);
    fs::create_directories(empty);
    fs::copy_file(first / "indata1.txt", busy / "indata1.txt");
    fs::copy_file(first / "indata2.txt", busy / "indata2.txt");
    FolderLock other;
    ASSERT_EQ(other.take(busy, "another program"), FolderLock::Outcome::taken);
    struct Case {
        fs::path folder;
        const char* said;
    };
    for (const Case& c : {Case{busy, "另一个 Kestrune 正在文件夹"}, Case{empty, "不是可用的工程"},
                          Case{first, "已经在工程“一号楼”中"}}) {
        const auto busy_files = files_of(busy);
        std::string told;
        toolkit.choose_folder(c.folder);
        toolkit.expect_message(&told);
        window.project_command(ProjectCommand::open);
        EXPECT_NE(told.find(c.said), std::string::npos) << told;
        EXPECT_TRUE(fs::equivalent(here(), first)) << told;
        EXPECT_EQ(files_of(busy), busy_files);
        EXPECT_TRUE(files_of(empty).empty());
    }
    size("10000", "24");
    EXPECT_EQ(window.sheet().rows(), 1u);
    EXPECT_NE(read_bytes(first / "outdata.txt").find("10000"), std::string::npos);
    EXPECT_EQ(toolkit.projects(), std::vector<std::string>{"一号楼"});
}

TEST_F(Projects, ANameNoFolderCanHaveOrAFolderAlreadyThereIsRefusedAndNothingIsMade) {
    ASSERT_TRUE(window.start());
    fs::create_directories(root.path() / utf8_path("三号楼"));
    for (const char* name : {"", "   ", "a/b", "a\\b", "楼:1", "楼?", "点.", "..", "三号楼"}) {
        const auto before = files_of(root.path());
        std::size_t folders = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root.path())) {
            ++folders;
        }
        std::string told;
        toolkit.answer_input(name);
        toolkit.expect_message(&told);
        window.project_command(ProjectCommand::create);
        EXPECT_FALSE(told.empty()) << name;
        std::size_t after = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root.path())) {
            ++after;
        }
        EXPECT_EQ(after, folders) << name;
        EXPECT_TRUE(fs::equivalent(here(), first)) << name;
    }
    EXPECT_EQ(toolkit.still_expected(), 0u);
}

TEST_F(Projects, TheDetailsAreKeptInTheFolderAndNameTheWindows) {
    ASSERT_TRUE(window.start());
    InputRequest name_asked;
    toolkit.answer_input("某小区 1 号楼", &name_asked);
    toolkit.answer_input("张工");
    window.project_command(ProjectCommand::details);
    EXPECT_EQ(name_asked.offered, "一号楼");  // the folder's name until one is given
    EXPECT_EQ(read_bytes(first / "project.txt"), "工程名称\t某小区 1 号楼\n设计人\t张工\n");
    EXPECT_EQ(toolkit.projects().back(), "某小区 1 号楼");
    EXPECT_EQ(window.sheet().project().designer, "张工");
}

TEST_F(Projects, FromTheMenuTheProgramOpensTheProjectUsedLast) {
    const fs::path second = root.path() / utf8_path("二号楼");
    fs::create_directories(second);
    fs::copy_file(first / "indata1.txt", second / "indata1.txt");
    fs::copy_file(first / "indata2.txt", second / "indata2.txt");
    remember_project(settings, first);
    remember_project(settings, root.path() / "gone");  // left out: not there
    remember_project(settings, second);
    fs::current_path(root.path());
    ProgramPlaces from_menu = places();
    from_menu.last_project = true;
    RecordingToolkit menu_toolkit;
    frmcompute menu_window(menu_toolkit, from_menu);
    ASSERT_TRUE(menu_window.start());
    EXPECT_TRUE(fs::equivalent(here(), second));
    EXPECT_EQ(menu_toolkit.projects(), std::vector<std::string>{"二号楼"});
    // The start writes nothing it does not need; the end remembers the project it leaves.
    fs::remove(settings / "projects.txt");
    menu_toolkit.cancel_input();
    menu_window.project_command(ProjectCommand::details);  // cancelled: changes nothing
    EXPECT_TRUE(recent_projects(settings).empty());
    menu_window.close_box();
    EXPECT_TRUE(menu_toolkit.ended());
    ASSERT_EQ(recent_projects(settings).size(), 1u);
    EXPECT_TRUE(fs::equivalent(recent_projects(settings).front(), second));
}

TEST(ProjectFiles, TheRecentListKeepsTheLatestFirstOnceEachAndNoMoreThanEight) {
    TempWorkingFolder folder;
    const fs::path settings = folder.path() / "settings";
    EXPECT_TRUE(recent_projects(settings).empty());
    for (int i = 0; i < 10; ++i) {
        fs::create_directories(folder.path() / std::to_string(i));
        remember_project(settings, folder.path() / std::to_string(i));
    }
    remember_project(settings, folder.path() / "5" / ".");
    const auto recent = recent_projects(settings);
    ASSERT_EQ(recent.size(), recent_projects_kept);
    EXPECT_EQ(recent[0], folder.path() / "5");
    EXPECT_EQ(recent[1], folder.path() / "9");
    EXPECT_EQ(recent[7], folder.path() / "2");
    // Without a settings folder nothing is kept anywhere.
    remember_project({}, folder.path());
    EXPECT_TRUE(recent_projects({}).empty());
}

TEST(ProjectFiles, DetailsAreReadAsWrittenAndALineBreakCannotSplitThem) {
    TempWorkingFolder folder;
    EXPECT_EQ(project_name(folder.path() / utf8_path("三号楼"), read_project_details(".")),
              "三号楼");
    ASSERT_FALSE(write_project_details(".", {"楼\t一\n号", "李\r工"}));
    EXPECT_EQ(read_bytes("project.txt"), "工程名称\t楼 一 号\n设计人\t李 工\n");
    write_bytes("project.txt", "设计人\t王工\r\n旧\t行\n工程名称\tA 栋\r\n");
    const ProjectDetails read = read_project_details(".");
    EXPECT_EQ(read.name, "A 栋");
    EXPECT_EQ(read.designer, "王工");
}

}  // namespace
}  // namespace kestrune::testing
