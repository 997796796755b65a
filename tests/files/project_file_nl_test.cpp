#include <gtest/gtest.h>

#include "app/shell/project_file.h"
#include "export/export.h"
#include "tests/files/project_records.h"
#include "tests/files/test_data.h"
#include "tests/support/test_folder.h"

// Linked with the Dutch table: the file is the same, the messages are Dutch.

TEST(ProjectFileDutch, SameFileAsTheEnglishBuild)
{
    TestFolder folder;
    std::string path = folder.file("aandrijving.zdr");
    ASSERT_EQ(write_project_file(path, nondefault_input(), nondefault_options()), 1);
    EXPECT_EQ(read_whole_file(path), read_whole_file(data_file("nondefault.zdr")));
    DriveInput input;
    DriveOptions options;
    ASSERT_EQ(load_project_over_defaults(path, input, options), 1);
    expect_same_project(input, options, nondefault_input(), nondefault_options());
}

TEST(ProjectFileDutch, Messages)
{
    DriveInput input;
    DriveOptions options;
    EXPECT_EQ(load_project_over_defaults(data_file("version_0.zdr"), input, options), 0);
    EXPECT_EQ(project_file_message, "Dit is geen Zandrel-project.");
    EXPECT_EQ(load_project_over_defaults(data_file("empty.zdr"), input, options), 0);
    EXPECT_EQ(project_file_message, "Kan het bestand niet openen.");
    EXPECT_EQ(load_project_over_defaults(data_file("unknown_size.zdr"), input, options), 1);
    EXPECT_EQ(project_file_message, "Onbekende kettingmaat in het project; 08B gekozen.");
    TestFolder folder;
    EXPECT_EQ(write_project_file(folder.path, input, options), 0);
    EXPECT_EQ(project_file_message, "Kan het bestand niet schrijven.");
}

TEST(ProjectFileDutch, OverwriteQuestion)
{
    EXPECT_EQ(overwrite_question_text("/a/b/aandrijving.zdr"), "'aandrijving.zdr' bestaat al. Overschrijven?");
}
