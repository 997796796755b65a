#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/commands/export_command.h"
#include "app/shell/preferences.h"
#include "tests/app/export_command_fixture.h"

namespace {

const std::string no_drive = "There is no valid drive to export.";
const std::string cannot_write = "Cannot write the file.";

std::string remembered_folder()
{
    return read_pref_string("exportmap", "(none)");
}

std::string whole_kb(const std::string& path)
{
    return std::to_string(std::filesystem::file_size(path) / 1024);
}

// Makes the drive impossible the way a user would: a centre distance far
// too short for the two wheels.
void lay_no_drive()
{
    user_types(CentreDistanceField, "10");
    run_one_pass();
}

const std::vector<GadgetId> export_buttons = {Dxf2DButton, Step2DButton, Dxf3DButton, Step3DButton, StlButton};

TEST(ExportFilters, FilterTextSplitIntoNamesAndPatterns)
{
    const std::vector<FileFilter> step = file_filters_of("STEP AP214 (*.stp;*.step)|*.stp;*.step");
    ASSERT_EQ(step.size(), 1u);
    EXPECT_EQ(step[0].name, "STEP AP214 (*.stp;*.step)");
    EXPECT_EQ(step[0].patterns, (std::vector<std::string>{"*.stp", "*.step"}));

    const std::vector<FileFilter> two = file_filters_of("DXF R12 (*.dxf)|*.dxf|All files|*");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].name, "All files");
    EXPECT_EQ(two[1].patterns, std::vector<std::string>{"*"});

    // A name without patterns would be a filter that shows nothing.
    EXPECT_TRUE(file_filters_of("DXF R12 (*.dxf)").empty());
    EXPECT_TRUE(file_filters_of("DXF R12 (*.dxf)|").empty());
    EXPECT_EQ(file_filters_of("A|*.a;;*.b|B").size(), 1u);
    EXPECT_EQ(file_filters_of("A|*.a;;*.b|B")[0].patterns, (std::vector<std::string>{"*.a", "*.b"}));
}

TEST_F(ExportCommandTest, WithoutALaidDriveEveryButtonOnlyWarns)
{
    lay_no_drive();
    ASSERT_EQ(drive_solution.laid, 0);
    forget_what_was_shown();
    for (GadgetId button : export_buttons) {
        SCOPED_TRACE(button);
        standin.chosen_paths.push_back(work.file("drive"));
        press(button);
        expect_refused_with(no_drive, MessageKind::Warning);
        standin.chosen_paths.clear();
        forget_what_was_shown();
    }
    EXPECT_EQ(folder_listing(work.path), "");
    EXPECT_TRUE(standin.cursors_set.empty());
}

// The writers would refuse it only after the dialog and the overwrite question.
TEST_F(ExportCommandTest, ABoreOfTheScopeTheWritersRefuseIsRefusedBeforeTheDialog)
{
    user_types(Bore1Field, "100");
    run_one_pass();
    press(Step3DButton);
    expect_refused_with("Bore of Z1 is too large for the wheel.", MessageKind::Error);
    user_selects(ExportScopeCombo, 3);  // wheel 2 alone, without the bore of Z1
    run_one_pass();
    press(Step3DButton);
    EXPECT_EQ(standin.file_dialogs.size(), 1u);
}

TEST_F(ExportCommandTest, SaveDialogOfEachKindAndCancelDoesNothing)
{
    struct Expected {
        GadgetId button;
        std::string title, filter, name;
        std::vector<std::string> patterns;
    };
    const std::vector<Expected> kinds = {
        {Dxf2DButton, "Export DXF", "DXF R12 (*.dxf)", "zandrel.dxf", {"*.dxf"}},
        {Step2DButton, "Export STP", "STEP AP214 (*.stp;*.step)", "zandrel.stp", {"*.stp", "*.step"}},
        {Dxf3DButton, "Export DXF", "DXF R12 (*.dxf)", "zandrel_3d.dxf", {"*.dxf"}},
        {Step3DButton, "Export STP", "STEP AP214 (*.stp;*.step)", "zandrel_3d.stp", {"*.stp", "*.step"}},
        {StlButton, "Export STL", "STL (*.stl)", "zandrel.stl", {"*.stl"}},
    };
    for (const Expected& kind : kinds) {
        press(kind.button);  // nothing chosen: the user cancels
        ASSERT_EQ(standin.file_dialogs.size(), 1u) << kind.button;
        const StandInFileDialog& shown = standin.file_dialogs[0];
        EXPECT_TRUE(shown.save);
        EXPECT_EQ(shown.dialog.title, kind.title);
        ASSERT_EQ(shown.dialog.filters.size(), 1u);
        EXPECT_EQ(shown.dialog.filters[0].name, kind.filter);
        EXPECT_EQ(shown.dialog.filters[0].patterns, kind.patterns);
        EXPECT_EQ(shown.dialog.folder, "");  // nothing remembered yet
        EXPECT_EQ(shown.dialog.file_name, kind.name);
        EXPECT_TRUE(standin.message_boxes.empty()) << kind.button;
        EXPECT_TRUE(standin.cursors_set.empty()) << kind.button;
        forget_what_was_shown();
    }
    EXPECT_EQ(folder_listing(work.path), "");
    EXPECT_EQ(remembered_folder(), "(none)");
    EXPECT_EQ(project_modified, 0);
}

TEST_F(ExportCommandTest, Dxf2DWritesTheDriveAndReportsCountAndSize)
{
    export_to(Dxf2DButton, work.file("drive"));
    const std::string path = work.file("drive.dxf");
    ASSERT_TRUE(path_exists(path)) << folder_listing(work.path);
    const DxfFile file = parse_dxf(read_whole_file(path));
    ASSERT_TRUE(file.well_formed);
    // The default drive: 106 rollers, each with its pin, 53 plates of each kind.
    EXPECT_EQ(count_by_layer(file, "CIRCLE")["ROLLER"], 106);
    EXPECT_EQ(count_by_layer(file, "CIRCLE")["PIN"], 106);
    EXPECT_EQ(count_by_layer(file, "POLYLINE")["INNER_PLATE"], 53);
    EXPECT_EQ(count_by_layer(file, "POLYLINE")["OUTER_PLATE"], 53);
    EXPECT_EQ(count_by_layer(file, "POLYLINE")["Z1"], 1);
    EXPECT_EQ(count_by_layer(file, "POLYLINE")["Z2"], 1);

    // The box counts what is in the file and measures the file on the disk.
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].title, "Zandrel");
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Information);
    EXPECT_EQ(standin.message_boxes[0].text, std::to_string(file.entities.size()) + " curves written to\n" + path +
                                                 "\n(" + whole_kb(path) + " KB)");
    EXPECT_GT(std::filesystem::file_size(path), 1024u);  // so the KB figure is not trivially 0

    // Busy while writing, back to normal before the box.
    EXPECT_EQ(standin.cursors_set, (std::vector<CanvasCursor>{CanvasCursor::Busy, CanvasCursor::Default}));
    EXPECT_EQ(remembered_folder(), work.path + "/");
    EXPECT_EQ(project_modified, 0);

    // The next export starts in that folder.
    forget_what_was_shown();
    press(Dxf3DButton);
    ASSERT_EQ(standin.file_dialogs.size(), 1u);
    EXPECT_EQ(standin.file_dialogs[0].dialog.folder, work.path + "/");
    EXPECT_EQ(standin.file_dialogs[0].dialog.file_name, "zandrel_3d.dxf");
}

TEST_F(ExportCommandTest, ProposalTakesTheProjectNameAndAnExistingRememberedFolder)
{
    project_path = "/home/ann/projects/gearbox.zdr";
    ASSERT_TRUE(write_pref_string("exportmap", work.path + "/"));
    press(Dxf3DButton);
    press(StlButton);
    ASSERT_EQ(standin.file_dialogs.size(), 2u);
    EXPECT_EQ(standin.file_dialogs[0].dialog.folder, work.path + "/");
    EXPECT_EQ(standin.file_dialogs[0].dialog.file_name, "gearbox_3d.dxf");
    EXPECT_EQ(standin.file_dialogs[1].dialog.file_name, "gearbox.stl");

    // A remembered folder that was deleted since is ignored.
    forget_what_was_shown();
    ASSERT_TRUE(write_pref_string("exportmap", work.path + "/gone/"));
    press(Dxf2DButton);
    ASSERT_EQ(standin.file_dialogs.size(), 1u);
    EXPECT_EQ(standin.file_dialogs[0].dialog.folder, "");
    EXPECT_EQ(standin.file_dialogs[0].dialog.file_name, "gearbox.dxf");
}

TEST_F(ExportCommandTest, TypedExtensionIsKeptAndAMissingOneAdded)
{
    export_to(Dxf2DButton, work.file("drive.txt"));
    export_to(Dxf2DButton, work.file("v1.2"));
    export_to(Dxf2DButton, work.file("plan."));
    EXPECT_EQ(folder_listing(work.path), "drive.txt\nplan..dxf\nv1.2\n");
    for (const std::string name : {"drive.txt", "v1.2", "plan..dxf"})
        EXPECT_TRUE(parse_dxf(read_whole_file(work.file(name))).well_formed) << name;
}

TEST_F(ExportCommandTest, ScopeAndPitchCirclesAreTakenFromTheFieldsAsShown)
{
    export_to(Dxf2DButton, work.file("all.dxf"));
    const int pitch_circles_before = count_by_layer(parse_dxf(read_whole_file(work.file("all.dxf"))), "CIRCLE")["PITCH_CIRCLE"];

    // The controls show other choices, although no change of them has been
    // handled yet: the export takes what they show.
    StandInGadget& pitch_check = standin.gadgets[ExportPitchCirclesCheck];
    pitch_check.state = pitch_check.state != 0 ? 0 : 1;
    standin.gadgets[ExportScopeCombo].state = 2;  // wheel 1 only
    export_to(Dxf2DButton, work.file("wheel1.dxf"));
    const DxfFile wheel1 = parse_dxf(read_whole_file(work.file("wheel1.dxf")));
    std::map<std::string, int> layers;
    for (const DxfEntity& e : wheel1.entities) ++layers[e.layer];
    EXPECT_EQ(layers.count("ROLLER"), 0u);
    EXPECT_EQ(layers.count("Z2"), 0u);
    EXPECT_EQ(count_by_layer(wheel1, "POLYLINE")["Z1"], 1);
    // Toggled: wheel 1's pitch circle now appears, or disappears.
    EXPECT_EQ(count_by_layer(wheel1, "CIRCLE")["PITCH_CIRCLE"], pitch_circles_before == 0 ? 1 : 0);
}

TEST_F(ExportCommandTest, OverwriteIsAskedForAnyExistingFileAndOnlyYesWrites)
{
    write_whole_file(work.file("drive.dxf"), "keep me");
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
        standin.answers.push_back(answer);
        export_to(Dxf2DButton, work.file("drive"));
        ASSERT_EQ(standin.message_boxes.size(), 1u);
        EXPECT_EQ(standin.message_boxes[0].title, "Zandrel");
        EXPECT_EQ(standin.message_boxes[0].text, "'drive.dxf' already exists. Overwrite?");
        EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::QuestionYesNo);
        EXPECT_EQ(read_whole_file(work.file("drive.dxf")), "keep me");
        EXPECT_TRUE(standin.cursors_set.empty());
        forget_what_was_shown();
    }
    EXPECT_EQ(remembered_folder(), "(none)");

    // An empty file is asked about as well; Yes writes it.
    write_whole_file(work.file("empty.dxf"), "");
    standin.answers.push_back(MessageAnswer::Yes);
    export_to(Dxf2DButton, work.file("empty.dxf"));
    ASSERT_EQ(standin.message_boxes.size(), 2u);
    EXPECT_EQ(standin.message_boxes[0].text, "'empty.dxf' already exists. Overwrite?");
    EXPECT_EQ(standin.message_boxes[1].kind, MessageKind::Information);
    EXPECT_TRUE(parse_dxf(read_whole_file(work.file("empty.dxf"))).well_formed);
    EXPECT_EQ(remembered_folder(), work.path + "/");
}

TEST_F(ExportCommandTest, FailedWriteShowsTheReasonAndPathAndRemembersNothing)
{
    // A folder is no file to overwrite: no question, the writer refuses it.
    std::filesystem::create_directory(work.file("plans.dxf"));
    const std::vector<std::string> paths = {work.file("missing/drive.dxf"), work.file("plans.dxf")};
    for (const std::string& path : paths) {
        export_to(Dxf2DButton, path);
        ASSERT_EQ(standin.message_boxes.size(), 1u) << path;
        EXPECT_EQ(standin.message_boxes[0].title, "Zandrel");
        EXPECT_EQ(standin.message_boxes[0].text, cannot_write + "\n" + path);
        EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Error);
        EXPECT_EQ(standin.cursors_set, (std::vector<CanvasCursor>{CanvasCursor::Busy, CanvasCursor::Default}));
        forget_what_was_shown();
    }
    EXPECT_EQ(folder_listing(work.path), "plans.dxf\n");
    EXPECT_TRUE(std::filesystem::is_empty(work.file("plans.dxf")));
    EXPECT_EQ(remembered_folder(), "(none)");

    // A name that leads to a device (here the one that is always full): it
    // exists, so the user is asked first; the writer then refuses it.
    std::filesystem::create_symlink("/dev/full", work.file("full.dxf"));
    standin.answers.push_back(MessageAnswer::Yes);
    export_to(Dxf2DButton, work.file("full.dxf"));
    ASSERT_EQ(standin.message_boxes.size(), 2u);
    EXPECT_EQ(standin.message_boxes[0].text, "'full.dxf' already exists. Overwrite?");
    EXPECT_EQ(standin.message_boxes[1].text, cannot_write + "\n" + work.file("full.dxf"));
    EXPECT_EQ(standin.message_boxes[1].kind, MessageKind::Error);
    EXPECT_TRUE(std::filesystem::is_symlink(work.file("full.dxf")));
    struct stat status {};
    ASSERT_EQ(stat("/dev/full", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
    EXPECT_EQ(folder_listing(work.path), "full.dxf\nplans.dxf\n");
    EXPECT_EQ(remembered_folder(), "(none)");

    // After a good export, a failed one keeps the folder of the good one.
    export_to(Dxf2DButton, work.file("good"));
    ASSERT_EQ(remembered_folder(), work.path + "/");
    TestFolder elsewhere;
    export_to(Dxf2DButton, elsewhere.file("missing/drive"));
    EXPECT_EQ(standin.message_boxes.back().kind, MessageKind::Error);
    EXPECT_EQ(remembered_folder(), work.path + "/");
}

// Every button reaches its own writer and reports what that writer counts.
TEST_F(ExportCommandTest, EveryKindIsWrittenAndReportedInItsOwnUnit)
{
    user_selects(ExportScopeCombo, 2);  // wheel 1 alone keeps the files small
    run_one_pass();
    const std::map<GadgetId, std::pair<std::string, std::string>> written_as = {
        {Dxf2DButton, {"wheel.dxf", "2 curves"}},       {Step2DButton, {"wheel.stp", "2 curves"}},
        {Step3DButton, {"wheel_3d.stp", "1 solids"}},   {Dxf3DButton, {"wheel_3d.dxf", " triangles"}},
        {StlButton, {"wheel.stl", " triangles"}}};
    for (const auto& [button, written] : written_as) {
        const auto& [name, count] = written;
        export_to(button, work.file(name));
        ASSERT_EQ(standin.message_boxes.size(), 1u) << button;
        const std::string& text = standin.message_boxes[0].text;
        EXPECT_NE(text.find(count + " written to\n" + work.file(name) + "\n("), std::string::npos) << text;
        EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Information);
        EXPECT_EQ(standin.cursors_set, (std::vector<CanvasCursor>{CanvasCursor::Busy, CanvasCursor::Default}));
        forget_what_was_shown();
    }
    EXPECT_EQ(folder_listing(work.path), "wheel.dxf\nwheel.stl\nwheel.stp\nwheel_3d.dxf\nwheel_3d.stp\n");
}

// Under a file-size limit the kernel ends a process at its first write beyond
// it, unless the process ignores the signal. The program runs its start-up in
// a child that has the signal's default back; the save and the export must
// then fail as any write does and leave nothing behind.
TEST_F(ExportCommandTest, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProgram)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        standin_reset();
        // Not fatal: an assertion that left the test here would run the rest
        // of the suite in the child as well.
        EXPECT_EQ(start_program().status, 0);
        const rlimit limit{256, 256};
        setrlimit(RLIMIT_FSIZE, &limit);
        forget_what_was_shown();
        standin.chosen_paths.push_back(work.file("drive.zdr"));
        user_clicks(SaveAsButton);
        run_one_pass();
        export_to(Dxf2DButton, work.file("drive.dxf"));
        bool ok = standin.message_boxes.size() == 2 && folder_listing(work.path).empty() &&
                  !path_exists(home.path + "/.Zandrel/Zandrel.prefs");
        for (const StandInMessageBox& box : standin.message_boxes) {
            ok = ok && box.kind == MessageKind::Error && box.text.rfind(cannot_write + "\n", 0) == 0;
            std::fprintf(stderr, "box: %s\n", box.text.c_str());
        }
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the writes did not fail cleanly (see the boxes above)";
}

}  // namespace
