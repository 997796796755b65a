#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "app/shell/main_window.h"
#include "app/shell/preferences.h"
#include "app/commands/project_dialogs.h"
#include "app/shell/project_file.h"
#include "files/path_name.h"
#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "model/chain_size.h"
#include "model/drive.h"
#include "tests/app/standin.h"
#include "tests/files/test_data.h"
#include "tests/support/test_folder.h"

// Open, Save, Save as and the unsaved-changes question, run for real on the
// toolkit stand-in: the test answers the boxes and picks the paths, then looks
// at the files, the window and what the user was shown.

namespace {

const std::string suffix = "   (ISO 606 / DIN 8187 / DIN 8196)";
const std::string new_title = "Zandrel - new project" + suffix;
const std::string changed_new_title = "Zandrel - new project *" + suffix;

std::string title_of(const std::string& name, bool changed = false)
{
    return "Zandrel - " + name + (changed ? " *" : "") + suffix;
}

class ProjectDialogs : public ::testing::Test {
protected:
    TestFolder home;
    TestFolder work;
    ScopedEnv home_env{"HOME", home.path};  // after `home`, which it names

    void SetUp() override
    {
        standin_reset();
        start();
        standin.message_boxes.clear();
        standin.title_sets = 0;
        unfit_view();
    }

    // Every start here meets an unchanged project, or one just opened: the
    // queued close must end the loop at once, with nothing asked.
    static void start(std::vector<std::string> arguments = {})
    {
        const ProgramStart started = start_program(std::move(arguments));
        ASSERT_EQ(started.status, 0);
        ASSERT_EQ(started.quit_requested, 1);
    }

    std::string folder() const { return work.path + "/"; }

    // The user edits the drive: the title gets its " *".
    void edit_z1(const std::string& teeth)
    {
        user_types(Z1Field, teeth);
        run_one_pass();
        ASSERT_EQ(project_modified, 1);
    }

    // Saves the window as `name` in the work folder through Save as.
    void save_as(const std::string& name)
    {
        standin.chosen_paths.push_back(work.file(name));
        ASSERT_EQ(save_project(1), 1);
    }

    // What a load of the file gives, to compare with what the window shows.
    static DriveInput loaded_input(const std::string& path)
    {
        DriveInput input;
        DriveOptions options;
        EXPECT_EQ(load_project_over_defaults(path, input, options), 1) << path;
        return input;
    }
};

TEST_F(ProjectDialogs, FirstSaveAsksForAFileAndRemembersItsFolder)
{
    edit_z1("23");
    standin.chosen_paths.push_back(work.file("drive"));
    EXPECT_EQ(save_project(0), 1);

    // No preferences yet: the bare proposed name in the toolkit's own folder.
    ASSERT_EQ(standin.file_dialogs.size(), 1u);
    const StandInFileDialog& shown = standin.file_dialogs[0];
    EXPECT_TRUE(shown.save);
    EXPECT_EQ(shown.dialog.title, "Save project");
    ASSERT_EQ(shown.dialog.filters.size(), 1u);
    EXPECT_EQ(shown.dialog.filters[0].name, "Zandrel project (*.zdr)");
    EXPECT_EQ(shown.dialog.filters[0].patterns, std::vector<std::string>{"*.zdr"});
    EXPECT_EQ(shown.dialog.folder, "");
    EXPECT_EQ(shown.dialog.file_name, "zandrel.zdr");

    const std::string path = work.file("drive.zdr");
    EXPECT_EQ(loaded_input(path).z1, 23);
    EXPECT_EQ(project_path, path);
    EXPECT_EQ(project_modified, 0);
    EXPECT_EQ(standin.title, title_of("drive.zdr"));
    EXPECT_EQ(read_pref_string("projectmap", ""), folder());
    EXPECT_TRUE(standin.message_boxes.empty());

    // Save again: straight to the same file, no dialog, no question.
    edit_z1("25");
    EXPECT_EQ(save_project(0), 1);
    EXPECT_EQ(standin.file_dialogs.size(), 1u);
    EXPECT_EQ(loaded_input(path).z1, 25);
    EXPECT_EQ(standin.title, title_of("drive.zdr"));

    // Save as proposes the current file; a new project after a restart
    // proposes zandrel.zdr in the remembered folder.
    EXPECT_EQ(save_project(1), 0);
    EXPECT_EQ(standin.file_dialogs.back().dialog.folder, folder());
    EXPECT_EQ(standin.file_dialogs.back().dialog.file_name, "drive.zdr");
    standin_reset();
    start();
    EXPECT_EQ(save_project(0), 0);
    EXPECT_EQ(standin.file_dialogs.back().dialog.folder, folder());
    EXPECT_EQ(standin.file_dialogs.back().dialog.file_name, "zandrel.zdr");
}

TEST_F(ProjectDialogs, ExtensionAddedOnlyWhereTheNameHasNone)
{
    const std::vector<std::pair<std::string, std::string>> typed_and_saved = {
        {"drive", "drive.zdr"},
        {"drive.txt", "drive.txt"},
        {"my.drive 2", "my.drive 2.zdr"},
        {".hidden", ".hidden.zdr"},
        {"drive.", "drive..zdr"},
    };
    for (const auto& [typed, saved] : typed_and_saved) {
        save_as(typed);
        EXPECT_EQ(project_path, work.file(saved)) << typed;
        EXPECT_TRUE(std::filesystem::is_regular_file(work.file(saved))) << typed;
    }
    EXPECT_EQ(folder_listing(work.path), ".hidden.zdr\ndrive..zdr\ndrive.txt\ndrive.zdr\nmy.drive 2.zdr\n");
    EXPECT_TRUE(standin.message_boxes.empty());
}

TEST_F(ProjectDialogs, OverwriteIsAskedForAnotherExistingFileOnly)
{
    save_as("mine.zdr");
    write_whole_file(work.file("other.zdr"), "keep me");
    write_whole_file(work.file("empty.zdr"), "");
    std::filesystem::create_directory(work.file("folder.zdr"));

    // The current project's own file: no question.
    save_as("mine.zdr");
    EXPECT_TRUE(standin.message_boxes.empty());

    // Another file: asked; No (or closing the box) writes nothing.
    edit_z1("30");
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
        standin.answers.push_back(answer);
        standin.chosen_paths.push_back(work.file("other"));
        EXPECT_EQ(save_project(1), 0);
        ASSERT_FALSE(standin.message_boxes.empty());
        EXPECT_EQ(standin.message_boxes.back().title, "Zandrel");
        EXPECT_EQ(standin.message_boxes.back().text, "'other.zdr' already exists. Overwrite?");
        EXPECT_EQ(standin.message_boxes.back().kind, MessageKind::QuestionYesNo);
        EXPECT_EQ(read_whole_file(work.file("other.zdr")), "keep me");
        EXPECT_EQ(project_path, work.file("mine.zdr"));
        EXPECT_EQ(project_modified, 1);
    }

    // An empty file is asked about like any other; Yes writes it.
    standin.message_boxes.clear();
    standin.answers.push_back(MessageAnswer::Yes);
    standin.chosen_paths.push_back(work.file("empty.zdr"));
    EXPECT_EQ(save_project(1), 1);
    EXPECT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(loaded_input(work.file("empty.zdr")).z1, 30);
    EXPECT_EQ(standin.title, title_of("empty.zdr"));

    // A folder of that name is not asked about; it cannot be written either.
    standin.message_boxes.clear();
    edit_z1("31");
    standin.chosen_paths.push_back(work.file("folder.zdr"));
    EXPECT_EQ(save_project(1), 0);
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Error);
    EXPECT_TRUE(std::filesystem::is_directory(work.file("folder.zdr")));
}

TEST_F(ProjectDialogs, FailedSaveIsShownAndChangesNothing)
{
    save_as("drive.zdr");
    const std::string before = read_whole_file(work.file("drive.zdr"));
    edit_z1("29");
    EXPECT_EQ(standin.title, title_of("drive.zdr", true));

    std::filesystem::create_directory(work.file("sub.zdr"));
    const std::vector<std::string> unwritable = {
        work.file("missing/drive.zdr"),  // in a folder that is not there
        work.file("sub.zdr"),            // a folder
    };
    for (const std::string& chosen : unwritable) {
        standin.message_boxes.clear();
        standin.chosen_paths.push_back(chosen);
        EXPECT_EQ(save_project(1), 0) << chosen;
        const std::string shown_path = with_project_extension(chosen);
        ASSERT_EQ(standin.message_boxes.size(), 1u) << chosen;
        EXPECT_EQ(standin.message_boxes[0].title, "Zandrel");
        EXPECT_EQ(standin.message_boxes[0].text, "Cannot write the file.\n" + shown_path);
        EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Error);
        EXPECT_EQ(project_path, work.file("drive.zdr"));
        EXPECT_EQ(project_modified, 1);
        EXPECT_EQ(standin.title, title_of("drive.zdr", true));
    }
    EXPECT_EQ(read_whole_file(work.file("drive.zdr")), before);
    EXPECT_EQ(read_pref_string("projectmap", ""), folder());

    // Save to the project's own file after its folder went away.
    std::filesystem::remove_all(work.path);
    standin.message_boxes.clear();
    EXPECT_EQ(save_project(0), 0);
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].text, "Cannot write the file.\n" + work.file("drive.zdr"));
    EXPECT_EQ(project_modified, 1);
    EXPECT_EQ(standin.title, title_of("drive.zdr", true));
}

TEST_F(ProjectDialogs, CancelledSaveDialogChangesNothing)
{
    edit_z1("22");
    EXPECT_EQ(save_project(0), 0);
    EXPECT_EQ(save_project(1), 0);
    EXPECT_EQ(standin.file_dialogs.size(), 2u);
    EXPECT_TRUE(standin.message_boxes.empty());
    EXPECT_EQ(project_path, "");
    EXPECT_EQ(project_modified, 1);
    EXPECT_EQ(standin.title, changed_new_title);
    EXPECT_EQ(folder_listing(work.path), "");
    EXPECT_EQ(read_pref_string("projectmap", "none"), "none");
}

TEST_F(ProjectDialogs, UnsavedChangesQuestion)
{
    // Unchanged: nothing to ask.
    EXPECT_EQ(confirm_discard_or_save(), 1);
    EXPECT_TRUE(standin.message_boxes.empty());

    edit_z1("21");
    struct Case {
        const char* what;
        MessageAnswer answer;
        const char* chosen;  // the save dialog's answer, "" to cancel it
        std::int64_t go_ahead;
        bool saved;
    };
    const Case cases[] = {
        {"cancel", MessageAnswer::Cancel, "", 0, false},
        {"no drops the changes", MessageAnswer::No, "", 1, false},
        {"yes, save dialog cancelled", MessageAnswer::Yes, "", 0, false},
        {"yes, cannot be written", MessageAnswer::Yes, "missing/x.zdr", 0, false},
        {"yes, saved", MessageAnswer::Yes, "kept.zdr", 1, true},
    };
    for (const Case& c : cases) {
        standin.message_boxes.clear();
        standin.answers.push_back(c.answer);
        if (*c.chosen) standin.chosen_paths.push_back(work.file(c.chosen));
        EXPECT_EQ(confirm_discard_or_save(), c.go_ahead) << c.what;
        ASSERT_FALSE(standin.message_boxes.empty()) << c.what;
        EXPECT_EQ(standin.message_boxes[0].title, "Zandrel");
        EXPECT_EQ(standin.message_boxes[0].text, "The project has been changed. Save changes?");
        EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::QuestionYesNoCancel);
        EXPECT_EQ(project_modified, c.saved ? 0 : 1) << c.what;
    }
    EXPECT_EQ(loaded_input(work.file("kept.zdr")).z1, 21);
}

TEST_F(ProjectDialogs, ClosingTheWindowWithChanges)
{
    save_as("drive.zdr");
    edit_z1("26");

    standin.answers.push_back(MessageAnswer::Cancel);
    user_closes_window();
    run_one_pass();
    EXPECT_EQ(quit_requested, 0);
    EXPECT_EQ(standin.message_boxes.size(), 1u);

    // Yes saves to the project's file at once and then quits.
    standin.answers.push_back(MessageAnswer::Yes);
    user_closes_window();
    run_one_pass();
    EXPECT_EQ(quit_requested, 1);
    EXPECT_EQ(loaded_input(work.file("drive.zdr")).z1, 26);
    EXPECT_EQ(standin.file_dialogs.size(), 1u);  // only the first Save as
}

TEST_F(ProjectDialogs, OpenShowsTheProjectInTheWindow)
{
    write_pref_string("projectmap", folder());
    const std::string path = data_file("nondefault.zdr");
    standin.chosen_paths.push_back(path);
    open_project_dialog();

    ASSERT_EQ(standin.file_dialogs.size(), 1u);
    const StandInFileDialog& shown = standin.file_dialogs[0];
    EXPECT_FALSE(shown.save);
    EXPECT_EQ(shown.dialog.title, "Open project");
    ASSERT_EQ(shown.dialog.filters.size(), 2u);
    EXPECT_EQ(shown.dialog.filters[0].name, "Zandrel project (*.zdr)");
    EXPECT_EQ(shown.dialog.filters[0].patterns, std::vector<std::string>{"*.zdr"});
    EXPECT_EQ(shown.dialog.filters[1].name, "All files (*.*)");
    EXPECT_EQ(shown.dialog.filters[1].patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(shown.dialog.folder, folder());
    EXPECT_EQ(shown.dialog.file_name, "");

    EXPECT_TRUE(standin.message_boxes.empty());
    EXPECT_EQ(gadget_state(ChainSizeCombo), find_chain_size_index("12B"));
    EXPECT_EQ(gadget_text(Z1Field), "21");
    EXPECT_EQ(gadget_text(Z2Field), "57");
    EXPECT_EQ(gadget_text(CentreDistanceField), "812.3457");
    EXPECT_EQ(gadget_text(LinksField), "120");
    EXPECT_EQ(gadget_state(IdlerSideCombo), 1);  // inside
    EXPECT_EQ(gadget_text(IdlerPercentLabel), "31 %");
    EXPECT_EQ(drive_input.rotation, 3.25);
    EXPECT_EQ(drive_options.export_scope, 3);
    EXPECT_TRUE(view_was_fitted());
    EXPECT_NE(gadget_text(ReportEditor).find("12B"), std::string::npos);
    EXPECT_EQ(project_path, path);
    EXPECT_EQ(project_modified, 0);
    EXPECT_EQ(standin.title, title_of("nondefault.zdr"));
    EXPECT_EQ(read_pref_string("projectmap", ""), folder_of(path));

    // The next Open starts at the open project, its file selected.
    open_project_dialog();
    EXPECT_EQ(standin.file_dialogs.back().dialog.folder, folder_of(path));
    EXPECT_EQ(standin.file_dialogs.back().dialog.file_name, "nondefault.zdr");
}

// The fields show four decimals, but a value the user did not edit is saved
// as it was loaded; an edited one as typed.
TEST_F(ProjectDialogs, UneditedDecimalsAreSavedAsLoaded)
{
    const std::string path = work.file("precise.zdr");
    write_whole_file(path, "[Zandrel]\nversie = 1\n[Ketting]\nmaat = 08B\n[Wielen]\nhartafstand = 500.123456\n"
                           "boring1 = 12.345678\n");
    standin.chosen_paths.push_back(path);
    open_project_dialog();
    ASSERT_EQ(gadget_text(CentreDistanceField), "500.1235");
    user_types(Bore1Field, "12.5");
    run_one_pass();
    ASSERT_EQ(save_project(0), 1);
    const std::string saved = read_whole_file(path);
    EXPECT_NE(saved.find("hartafstand = 500.123456000\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("boring1 = 12.500000000\n"), std::string::npos) << saved;
}

TEST_F(ProjectDialogs, OpenWithUnsavedChanges)
{
    edit_z1("24");
    // Cancel: no dialog at all.
    standin.answers.push_back(MessageAnswer::Cancel);
    open_project_dialog();
    EXPECT_TRUE(standin.file_dialogs.empty());

    // Yes on a new project: the save dialog comes first; cancelling it
    // cancels the Open as well.
    standin.answers.push_back(MessageAnswer::Yes);
    open_project_dialog();
    ASSERT_EQ(standin.file_dialogs.size(), 1u);
    EXPECT_TRUE(standin.file_dialogs[0].save);

    // No: the open dialog; cancelled, the changed project stays as it was.
    standin.answers.push_back(MessageAnswer::No);
    open_project_dialog();
    ASSERT_EQ(standin.file_dialogs.size(), 2u);
    EXPECT_FALSE(standin.file_dialogs[1].save);
    EXPECT_EQ(gadget_text(Z1Field), "24");
    EXPECT_EQ(project_modified, 1);
    EXPECT_EQ(standin.title, changed_new_title);

    // Yes, saved under a new name, then the open dialog starts there.
    standin.answers.push_back(MessageAnswer::Yes);
    standin.chosen_paths.push_back(work.file("first"));
    standin.chosen_paths.push_back(data_file("nondefault.zdr"));
    open_project_dialog();
    ASSERT_EQ(standin.file_dialogs.size(), 4u);
    EXPECT_EQ(loaded_input(work.file("first.zdr")).z1, 24);
    EXPECT_EQ(standin.file_dialogs[3].dialog.folder, folder());
    EXPECT_EQ(standin.file_dialogs[3].dialog.file_name, "");
    EXPECT_EQ(gadget_text(Z1Field), "21");
    EXPECT_EQ(standin.title, title_of("nondefault.zdr"));
}

TEST_F(ProjectDialogs, FailedOpenKeepsTheProject)
{
    save_as("drive.zdr");
    edit_z1("27");
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {data_file("version_0.zdr"), "This is not a Zandrel project."},
        {data_file("no_identification.zdr"), "This is not a Zandrel project."},
        {data_file("empty.zdr"), "Cannot open the file."},
        {work.file("missing.zdr"), "Cannot open the file."},
    };
    for (const Case& c : cases) {
        standin.message_boxes.clear();
        standin.answers.push_back(MessageAnswer::No);  // drop the changes
        standin.chosen_paths.push_back(c.path);
        open_project_dialog();
        ASSERT_EQ(standin.message_boxes.size(), 2u) << c.path;
        EXPECT_EQ(standin.message_boxes[1].title, "Zandrel");
        EXPECT_EQ(standin.message_boxes[1].text, c.message + "\n" + c.path);
        EXPECT_EQ(standin.message_boxes[1].kind, MessageKind::Error);
        EXPECT_EQ(gadget_text(Z1Field), "27");
        EXPECT_EQ(project_path, work.file("drive.zdr"));
        EXPECT_EQ(project_modified, 1);
        EXPECT_EQ(standin.title, title_of("drive.zdr", true));
    }
    EXPECT_EQ(read_pref_string("projectmap", ""), folder());
}

TEST_F(ProjectDialogs, UnknownChainSizeWarnsAndStillOpens)
{
    const std::string path = data_file("unknown_size.zdr");
    open_project_file(path);
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].title, "Zandrel");
    EXPECT_EQ(standin.message_boxes[0].text, "Unknown chain size in the project; 08B chosen.");
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Warning);
    EXPECT_EQ(gadget_state(ChainSizeCombo), find_chain_size_index("08B"));
    EXPECT_EQ(gadget_text(LinksField), "88");
    EXPECT_EQ(gadget_text(Z1Field), "19");
    EXPECT_EQ(gadget_text(Z2Field), "34");  // missing from the file: the default
    EXPECT_EQ(project_path, path);
    EXPECT_EQ(standin.title, title_of("unknown_size.zdr"));
}

TEST_F(ProjectDialogs, TimerTicksWaitWhileADialogIsOpen)
{
    user_toggles(RotateCheck);
    run_one_pass();
    const double start = drive_input.rotation;
    ASSERT_TRUE(standin.timer_on);
    std::size_t waiting_during_dialog = 0;
    standin.while_dialog_open = [&] {
        timer_ticks(1);
        waiting_during_dialog = queued_event_count();
    };
    user_clicks(SaveButton);  // the save dialog, cancelled
    run_one_pass();
    EXPECT_EQ(standin.file_dialogs.size(), 1u);
    // The tick queued while the dialog was open was handled after it, in the same pass.
    EXPECT_EQ(waiting_during_dialog, 1u);
    EXPECT_EQ(queued_event_count(), 0u);
    EXPECT_GT(drive_input.rotation, start);
}

using StartUpWithProject = ProjectDialogs;

TEST_F(StartUpWithProject, CommandLineProjectOpens)
{
    standin_reset();
    start({data_file("nondefault.zdr")});
    EXPECT_TRUE(standin.message_boxes.empty());
    EXPECT_EQ(gadget_text(Z1Field), "21");
    EXPECT_EQ(gadget_state(ChainSizeCombo), find_chain_size_index("12B"));
    EXPECT_EQ(standin.title, title_of("nondefault.zdr"));
    EXPECT_EQ(read_pref_string("projectmap", ""), folder_of(data_file("nondefault.zdr")));

    // With its warning.
    standin_reset();
    start({data_file("unknown_size.zdr")});
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Warning);
    EXPECT_EQ(gadget_text(Z1Field), "19");
    EXPECT_EQ(standin.title, title_of("unknown_size.zdr"));

    // Refused: an error box, and the default drive stays.
    standin_reset();
    start({data_file("version_0.zdr")});
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(standin.message_boxes[0].text, "This is not a Zandrel project.\n" + data_file("version_0.zdr"));
    EXPECT_EQ(gadget_text(Z1Field), "17");
    EXPECT_EQ(standin.title, new_title);
}

TEST_F(StartUpWithProject, RelativePathIsKeptInFull)
{
    std::filesystem::copy_file(data_file("nondefault.zdr"), work.file("relative.zdr"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(work.path);
    standin_reset();
    start({"relative.zdr"});
    std::filesystem::current_path(before);
    EXPECT_EQ(project_path, work.file("relative.zdr"));
    EXPECT_EQ(read_pref_string("projectmap", ""), folder());
    EXPECT_EQ(standin.title, title_of("relative.zdr"));

    // "lnk/.." is the folder above where the link leads, as the shell means it.
    std::filesystem::create_directories(work.file("a/b"));
    std::filesystem::create_symlink("a/b", work.file("lnk"));
    std::filesystem::copy_file(data_file("nondefault.zdr"), work.file("a/p.zdr"));
    write_whole_file(work.file("p.zdr"), "not a project\n");
    std::filesystem::current_path(work.path);
    standin_reset();
    start({"lnk/../p.zdr"});
    std::filesystem::current_path(before);
    EXPECT_TRUE(standin.message_boxes.empty());
    EXPECT_EQ(project_path, work.file("lnk/../p.zdr"));
    EXPECT_EQ(gadget_text(Z1Field), "21");
}

}  // namespace
