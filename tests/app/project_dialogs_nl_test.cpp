#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/commands/project_dialogs.h"
#include "app/program/main_loop.h"
#include "app/shell/recalculation.h"
#include "app/shell/shell_state.h"
#include "tests/app/standin.h"
#include "tests/support/test_folder.h"

// The Dutch build asks the same questions in Dutch; the box title and the
// proposed file name are the same in both builds.
TEST(ProjectDialogsDutch, TitlesFiltersAndQuestions)
{
    TestFolder home;
    TestFolder work;
    const ScopedEnv home_env("HOME", home.path);

    standin_reset();
    std::vector<char*> argv = {const_cast<char*>("zandrel-nl"), nullptr};
    user_closes_window();
    ASSERT_EQ(main_entry(1, argv.data()), 0);
    quit_requested = 0;

    user_types(Z1Field, "20");
    run_one_pass();
    standin.answers = {MessageAnswer::No};
    open_project_dialog();
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].title, "Zandrel");
    EXPECT_EQ(standin.message_boxes[0].text, "Het project is gewijzigd. Wijzigingen opslaan?");
    ASSERT_EQ(standin.file_dialogs.size(), 1u);
    const FileDialog& open = standin.file_dialogs[0].dialog;
    EXPECT_EQ(open.title, "Project openen");
    ASSERT_EQ(open.filters.size(), 2u);
    EXPECT_EQ(open.filters[0].name, "Zandrel-project (*.zdr)");
    EXPECT_EQ(open.filters[1].name, "Alle bestanden (*.*)");

    write_whole_file(work.file("ander.zdr"), "x");
    standin.chosen_paths = {work.file("ander")};
    standin.answers = {MessageAnswer::No};
    EXPECT_EQ(save_project(0), 0);
    const FileDialog& save = standin.file_dialogs[1].dialog;
    EXPECT_EQ(save.title, "Project opslaan");
    EXPECT_EQ(save.file_name, "zandrel.zdr");
    ASSERT_EQ(save.filters.size(), 1u);
    EXPECT_EQ(save.filters[0].name, "Zandrel-project (*.zdr)");
    EXPECT_EQ(standin.message_boxes.back().text, "'ander.zdr' bestaat al. Overschrijven?");

    standin.chosen_paths = {work.file("weg/ander.zdr")};
    EXPECT_EQ(save_project(0), 0);
    EXPECT_EQ(standin.message_boxes.back().title, "Zandrel");
    EXPECT_EQ(standin.message_boxes.back().text, "Kan het bestand niet schrijven.\n" + work.file("weg/ander.zdr"));
    EXPECT_EQ(standin.title, "Zandrel - nieuw project *   (ISO 606 / DIN 8187 / DIN 8196)");
}
