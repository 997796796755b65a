// Writing the guide into this run's private folder, and starting the browser.
#include "app/shell/user_guide.h"
#include "text/texts.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void write_file(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

class UserGuideFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "zandrel-guide-test-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        root = name.data();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root, ignored);
    }

    std::string root;
    const std::string name = "zandrel_user_guide.html";
    const std::string guide = "<!DOCTYPE html>\n<html lang=\"en\"><head><title>t</title></head><body>\u00e9</body></html>\n";
};

TEST_F(UserGuideFile, IsWrittenIntoAFolderOnlyWeCanEnter)
{
    GuideFolder folder;
    const std::string path = write_guide_file(folder, root, name, guide);
    ASSERT_FALSE(path.empty()) << user_guide_error_text;
    EXPECT_TRUE(user_guide_error_text.empty());

    EXPECT_EQ(fs::path(path).filename(), name);
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(folder.path));
    EXPECT_EQ(fs::path(folder.path).parent_path(), fs::path(root));
    EXPECT_EQ(path.find('"'), std::string::npos);

    struct stat info {};
    ASSERT_EQ(lstat(folder.path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());

    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(read_whole_file(path), guide);
}

TEST_F(UserGuideFile, FolderIsPrivateEvenUnderAWideUmask)
{
    const mode_t old_mask = umask(0777);
    GuideFolder folder;
    const std::string path = write_guide_file(folder, root, name, guide);
    umask(old_mask);
    ASSERT_FALSE(path.empty()) << user_guide_error_text;
    struct stat info {};
    ASSERT_EQ(stat(folder.path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
}

TEST_F(UserGuideFile, WritingTwiceWritesTheSamePathWithTheNewBytes)
{
    GuideFolder folder;
    const std::string first = write_guide_file(folder, root, name, guide + guide);
    const std::string second = write_guide_file(folder, root + "/", name, guide);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(second, first);
    // The shorter second guide must not keep the tail of the first.
    EXPECT_EQ(read_whole_file(second), guide);
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
}

TEST_F(UserGuideFile, LinkPlantedAtTheFileIsReplacedNotFollowed)
{
    GuideFolder folder;
    const std::string path = write_guide_file(folder, root, name, guide);
    ASSERT_FALSE(path.empty());

    const std::string victim = root + "/victim.txt";
    write_file(victim, "someone else's file");
    const std::string missing = root + "/never-created.txt";
    for (const std::string& target : {victim, missing}) {
        ASSERT_EQ(unlink(path.c_str()), 0);
        ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);

        EXPECT_EQ(write_guide_file(folder, root, name, guide), path) << user_guide_error_text;
        struct stat info {};
        ASSERT_EQ(lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode)) << "still a link after writing through " << target;
        EXPECT_EQ(read_whole_file(path), guide);
    }
    EXPECT_EQ(read_whole_file(victim), "someone else's file");
    EXPECT_FALSE(fs::exists(missing));
}

// Each run starts without a folder: a later run takes up the one an earlier
// run made instead of leaving a folder more, and passes over one that is not
// ours alone.
TEST_F(UserGuideFile, LaterRunsShareOneFolder)
{
    ASSERT_EQ(mkdir((root + "/zandrel-opened").c_str(), 0755), 0);
    GuideFolder first_run;
    GuideFolder second_run;
    ASSERT_FALSE(write_guide_file(first_run, root, name, guide).empty()) << user_guide_error_text;
    const std::string path = write_guide_file(second_run, root, name, guide);
    EXPECT_EQ(second_run.path, first_run.path);
    EXPECT_EQ(read_whole_file(path), guide);
    EXPECT_NE(first_run.path, root + "/zandrel-opened");
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 2);
}

TEST_F(UserGuideFile, FolderThatIsNoLongerPrivateIsNotUsedAgain)
{
    GuideFolder folder;
    const std::string first = write_guide_file(folder, root, name, guide);
    ASSERT_FALSE(first.empty());
    const std::string first_folder = folder.path;

    // Opened up to others: a fresh private folder takes its place.
    ASSERT_EQ(chmod(first_folder.c_str(), 0755), 0);
    const std::string second = write_guide_file(folder, root, name, guide);
    ASSERT_FALSE(second.empty()) << user_guide_error_text;
    EXPECT_NE(folder.path, first_folder);

    // Swapped for a link to another folder: that folder receives nothing.
    const std::string elsewhere = root + "/elsewhere";
    ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
    const std::string second_folder = folder.path;
    fs::remove_all(second_folder);
    ASSERT_EQ(symlink(elsewhere.c_str(), second_folder.c_str()), 0);
    const std::string third = write_guide_file(folder, root, name, guide);
    ASSERT_FALSE(third.empty()) << user_guide_error_text;
    EXPECT_NE(folder.path, second_folder);
    EXPECT_TRUE(fs::is_empty(elsewhere));
    EXPECT_EQ(read_whole_file(third), guide);

    // Deleted meanwhile (a cleaned temporary folder): made again.
    fs::remove_all(folder.path);
    const std::string fourth = write_guide_file(folder, root, name, guide);
    ASSERT_FALSE(fourth.empty()) << user_guide_error_text;
    EXPECT_EQ(read_whole_file(fourth), guide);
}

TEST_F(UserGuideFile, FailureLeavesTheReasonWithThePath)
{
    GuideFolder folder;
    const std::string no_root = root + "/missing";
    EXPECT_TRUE(write_guide_file(folder, no_root, name, guide).empty());
    EXPECT_EQ(user_guide_error_text, std::string(text::user_guide_write_failed) + no_root + "/" + name);
    EXPECT_TRUE(folder.path.empty());

    // A folder standing at the file's place cannot be replaced by the guide.
    const std::string path = write_guide_file(folder, root, name, guide);
    ASSERT_FALSE(path.empty());
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    write_file(path + "/keep", "x");
    EXPECT_TRUE(write_guide_file(folder, root, name, guide).empty());
    EXPECT_EQ(user_guide_error_text, std::string(text::user_guide_write_failed) + path);
    EXPECT_EQ(read_whole_file(path + "/keep"), "x");

    // A name that would leave the folder is refused.
    EXPECT_TRUE(write_guide_file(folder, root, "../escape.html", guide).empty());
    EXPECT_FALSE(fs::exists(root + "/escape.html"));
}

TEST_F(UserGuideFile, GuideOfTheBuildGoesIntoTheTemporaryFolderOfTheRun)
{
    const ScopedEnv tmpdir("TMPDIR", root + "/");
    EXPECT_EQ(temporary_folder(), root);
    const std::string first = write_user_guide();
    const std::string second = write_user_guide();
    ASSERT_FALSE(first.empty()) << user_guide_error_text;
    EXPECT_EQ(second, first);
    EXPECT_EQ(fs::path(first).filename(), text::user_guide_file_name);
    EXPECT_EQ(fs::path(first).parent_path().parent_path(), fs::path(root));
    EXPECT_EQ(read_whole_file(first), std::string(user_guide_document()));
}

TEST(TemporaryFolder, FallsBackToTmpWithoutAUsableTmpdir)
{
    {
        const ScopedEnv tmpdir("TMPDIR", "relative/folder");
        EXPECT_EQ(temporary_folder(), "/tmp");
    }
    {
        const ScopedEnv tmpdir("TMPDIR", "/no/such/folder/anywhere");
        EXPECT_EQ(temporary_folder(), "/tmp");
    }
}

// A stand-in xdg-open that records how it was called and in which session.
class StartDetached : public UserGuideFile {
protected:
    void SetUp() override
    {
        UserGuideFile::SetUp();
        bin = root + "/bin";
        ASSERT_EQ(mkdir(bin.c_str(), 0700), 0);
        record = root + "/record";
        const std::string script = bin + "/xdg-open";
        write_file(script, "#!/bin/sh\n"
                           "read -r _ _ _ _ _ session _ < /proc/$$/stat\n"
                           "printf '%s\\n' \"$#\" \"$1\" \"$session\" > '" + record + ".part'\n"
                           "exec /bin/mv '" + record + ".part' '" + record + "'\n");
        ASSERT_EQ(chmod(script.c_str(), 0700), 0);
    }

    std::string wait_for_record()
    {
        for (int i = 0; i < 200 && !fs::exists(record); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return read_whole_file(record);
    }

    static bool no_children_left()
    {
        int status = 0;
        return waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
    }

    std::string bin;
    std::string record;
};

TEST_F(StartDetached, PassesThePathAsItsOnlyPlainArgument)
{
    const ScopedEnv path("PATH", "/nonexistent:" + bin);
    const std::string guide_path = root + "/a folder/it's \"the\" guide.html";
    const int child = start_detached("xdg-open", guide_path);
    ASSERT_GT(child, 0);

    const std::string recorded = wait_for_record();
    ASSERT_FALSE(recorded.empty()) << "the stand-in xdg-open did not run";
    // A session of its own, so that it outlives a terminal that we end with.
    EXPECT_EQ(recorded, "1\n" + guide_path + "\n" + std::to_string(child) + "\n");
    // Ours to reap: it waits with its status until someone does.
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(no_children_left());
}

TEST_F(StartDetached, MissingProgramIsQuietlySkipped)
{
    const ScopedEnv path("PATH", bin);
    EXPECT_EQ(start_detached("no-such-browser-opener", "/tmp/x.html"), 0);
    EXPECT_TRUE(no_children_left());

    // Found but not runnable counts as missing too.
    ASSERT_EQ(chmod((bin + "/xdg-open").c_str(), 0600), 0);
    EXPECT_EQ(start_detached("xdg-open", "/tmp/x.html"), 0);
    EXPECT_FALSE(fs::exists(record));
}

}  // namespace
