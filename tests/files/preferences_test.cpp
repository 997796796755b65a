#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>

#include "app/shell/preferences.h"
#include "app/shell/project_file.h"
#include "export/export.h"
#include "tests/support/test_folder.h"

namespace {

// Points $HOME at a fresh folder for one test.
struct TestHome {
    TestFolder folder;
    ScopedEnv home{"HOME", folder.path};
    std::string prefs() const { return folder.path + "/.Zandrel/Zandrel.prefs"; }
};

}  // namespace

TEST(Preferences, FolderIsCreatedForTheUserAlone)
{
    TestHome home;
    mode_t old_mask = umask(0);  // even a permissive umask gives nobody else access
    std::string path = prefs_file_path();
    umask(old_mask);
    EXPECT_EQ(path, home.prefs());
    struct stat status {};
    ASSERT_EQ(stat((home.folder.path + "/.Zandrel").c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST(Preferences, FirstStartHasNothingStored)
{
    TestHome home;
    EXPECT_EQ(read_pref_string("projectmap", "none"), "none");
    EXPECT_EQ(read_pref_folder("projectmap"), "");
    EXPECT_FALSE(std::filesystem::exists(home.prefs()));  // reading creates no file
}

TEST(Preferences, WrittenAsTopLevelKeysInOrder)
{
    TestHome home;
    EXPECT_TRUE(write_pref_string("projectmap", "/home/u/drives/"));
    EXPECT_TRUE(write_pref_string("exportmap", "/home/u/out/"));
    EXPECT_TRUE(write_pref_string("projectmap", "/home/u/other/"));  // replaced in place
    EXPECT_EQ(read_whole_file(home.prefs()),
              "\xEF\xBB\xBF\nprojectmap = /home/u/other/\nexportmap = /home/u/out/\n");
    EXPECT_EQ(read_pref_string("projectmap", ""), "/home/u/other/");
    EXPECT_EQ(read_pref_string("EXPORTMAP", ""), "/home/u/out/");
}

TEST(Preferences, HandEditedFileIsReadAsItIs)
{
    TestHome home;
    prefs_file_path();
    write_whole_file(home.prefs(), "ProjectMap =   /srv/a b/  \r\n[Other]\nexportmap = /x/\n");
    EXPECT_EQ(read_pref_string("projectmap", ""), "/srv/a b/");
    EXPECT_EQ(read_pref_string("exportmap", "none"), "none");  // not at the top level
    EXPECT_TRUE(write_pref_string("exportmap", "/y/"));
    EXPECT_EQ(read_whole_file(home.prefs()),
              "\xEF\xBB\xBF\nProjectMap = /srv/a b/  \nexportmap = /y/\n[Other]\nexportmap = /x/\n");
    EXPECT_TRUE(write_pref_string("projectmap", "/z/"));
    EXPECT_EQ(read_whole_file(home.prefs()),
              "\xEF\xBB\xBF\nprojectmap = /z/\nexportmap = /y/\n[Other]\nexportmap = /x/\n");
}

TEST(Preferences, ValueWithALineBreakIsNotWritten)
{
    TestHome home;
    ASSERT_TRUE(write_pref_string("projectmap", "/a/"));
    std::string before = read_whole_file(home.prefs());
    EXPECT_FALSE(write_pref_string("exportmap", "/b/\nprojectmap = /evil/"));
    EXPECT_FALSE(write_pref_string("exportmap", "/b\r/"));
    EXPECT_EQ(read_whole_file(home.prefs()), before);
    EXPECT_EQ(read_pref_string("projectmap", ""), "/a/");
}

TEST(Preferences, FolderThatNoLongerExistsIsPassedOver)
{
    TestHome home;
    std::string drives = home.folder.path + "/drives/";
    ASSERT_TRUE(std::filesystem::create_directory(drives));
    ASSERT_TRUE(write_pref_string("projectmap", drives));
    ASSERT_TRUE(write_pref_string("exportmap", home.folder.path + "/plain-file"));
    write_whole_file(home.folder.path + "/plain-file", "x");
    EXPECT_EQ(read_pref_folder("projectmap"), drives);
    EXPECT_EQ(read_pref_folder("exportmap"), "");  // a file, not a folder
    std::filesystem::remove(drives);
    EXPECT_EQ(read_pref_folder("projectmap"), "");
    EXPECT_EQ(read_pref_string("projectmap", ""), drives);  // the value stays until replaced
}

TEST(Preferences, UnwritableFileIsSilentlyNotStored)
{
    TestHome home;
    // A folder where the file should be: neither read nor written, and no crash.
    std::filesystem::create_directories(home.prefs());
    EXPECT_FALSE(write_pref_string("projectmap", "/a/"));
    EXPECT_EQ(read_pref_string("projectmap", "none"), "none");
    EXPECT_TRUE(std::filesystem::is_directory(home.prefs()));
}

TEST(Preferences, SaveDialogProposalAndOverwriteQuestion)
{
    TestHome home;
    EXPECT_EQ(proposed_project_path(""), "zandrel.zdr");  // first start: the bare name
    std::string drives = home.folder.path + "/drives/";
    std::filesystem::create_directory(drives);
    ASSERT_TRUE(write_pref_string("projectmap", drives));
    EXPECT_EQ(proposed_project_path(""), drives + "zandrel.zdr");
    ASSERT_TRUE(write_pref_string("projectmap", home.folder.path + "/drives"));  // edited by hand
    EXPECT_EQ(proposed_project_path(""), drives + "zandrel.zdr");
    EXPECT_EQ(proposed_project_path("/p/current.zdr"), "/p/current.zdr");

    std::string other = drives + "other.zdr";
    write_whole_file(other, "");  // an empty file is asked about like any other
    std::filesystem::create_directory(drives + "folder.zdr");
    EXPECT_TRUE(overwrite_question_needed(other, drives + "current.zdr"));
    EXPECT_FALSE(overwrite_question_needed(other, other));  // saving over the project itself
    EXPECT_FALSE(overwrite_question_needed(drives + "folder.zdr", ""));
    EXPECT_FALSE(overwrite_question_needed(drives + "new.zdr", ""));
    EXPECT_EQ(overwrite_question_text(other), "'other.zdr' already exists. Overwrite?");
}

// A preferences file that is there but cannot be read still holds the other
// remembered folder: storing one folder must not replace it with a file that
// holds only the new key.
TEST(Preferences, AFileThatCannotBeReadIsLeftAlone)
{
    TestHome home;
    prefs_file_path();
    // Larger than any preferences file of ours: not read, and not replaced.
    const std::string padded = "\xEF\xBB\xBF\nexportmap = /home/u/out/\n" + std::string(70 * 1024, '\n');
    write_whole_file(home.prefs(), padded);
    EXPECT_EQ(read_pref_string("exportmap", "none"), "none");
    EXPECT_FALSE(write_pref_string("projectmap", "/home/u/drives/"));
    EXPECT_EQ(read_whole_file(home.prefs()), padded);

    // One of exactly the largest size is read, and a rewrite that would grow
    // it past that size is not written: both folders stay readable.
    std::string largest = "\xEF\xBB\xBF\nexportmap = /home/u/out/\n; ";
    largest += std::string(preferences_file_max_bytes - largest.size() - 1, 'x') + "\n";
    write_whole_file(home.prefs(), largest);
    EXPECT_EQ(read_pref_string("exportmap", "none"), "/home/u/out/");
    EXPECT_FALSE(write_pref_string("projectmap", "/home/u/drives/"));
    EXPECT_EQ(read_whole_file(home.prefs()), largest);
    EXPECT_TRUE(write_pref_string("exportmap", "/home/u/o/"));  // shorter: it fits
    EXPECT_EQ(read_pref_string("exportmap", "none"), "/home/u/o/");
    largest = "exportmap = /home/u/out/\n; " + std::string(preferences_file_max_bytes - 27, '\xE9') + "\n";
    write_whole_file(home.prefs(), largest);  // ISO 8859-1, twice as long in UTF-8
    EXPECT_FALSE(write_pref_string("exportmap", "/home/u/out/"));
    EXPECT_EQ(read_whole_file(home.prefs()), largest);

    // A folder where the file should be cannot be read either.
    std::filesystem::remove(home.prefs());
    std::filesystem::create_directory(home.prefs());
    EXPECT_FALSE(write_pref_string("projectmap", "/home/u/drives/"));
    EXPECT_TRUE(std::filesystem::is_directory(home.prefs()));
}
