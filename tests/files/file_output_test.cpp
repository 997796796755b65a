#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/file_output.h"
#include "app/shell/project_file.h"
#include "tests/files/project_records.h"
#include "tests/files/test_data.h"
#include "tests/support/test_folder.h"

namespace {

const std::string old_text = "the project that must survive\n";

// Saving the non-default project to `path` must fail, say so, and leave the
// folder exactly as it was.
void expect_failed_save_changes_nothing(const std::string& path, const std::string& folder)
{
    std::string listing = folder_listing(folder);
    project_file_message = "stale";
    EXPECT_EQ(write_project_file(path, nondefault_input(), nondefault_options()), 0);
    EXPECT_EQ(project_file_message, "Cannot write the file.");
    EXPECT_EQ(folder_listing(folder), listing);  // no new file left behind
}

// Permissions do not stop root, so the save runs in a child process that has
// given up root where it had it. 0: the save failed and said so; 1: it did
// not; 2: root could not be given up; -1: the child was lost.
int failed_save_as_ordinary_user(const std::string& path)
{
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        int result = write_project_file(path, nondefault_input(), nondefault_options());
        bool said_so = project_file_message == "Cannot write the file.";
        _exit(result == 0 && said_so ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace

// Both ways a new file can start: unnamed, and named where a file system
// cannot make unnamed files.
class FileOutputWays : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { file_output_unnamed = GetParam(); }
    void TearDown() override { file_output_unnamed = true; }
};
INSTANTIATE_TEST_SUITE_P(Unnamed, FileOutputWays, ::testing::Values(true));
INSTANTIATE_TEST_SUITE_P(Named, FileOutputWays, ::testing::Values(false));

TEST_P(FileOutputWays, ReplacesTheWholeFileAndLeavesNothingElse)
{
    TestFolder folder;
    std::string path = folder.file("drive.zdr");
    write_whole_file(path, std::string(100000, 'x'));  // longer than the new text
    ASSERT_EQ(write_project_file(path, nondefault_input(), nondefault_options()), 1);
    EXPECT_EQ(project_file_message, "");
    EXPECT_EQ(read_whole_file(path), read_whole_file(data_file("nondefault.zdr")));
    EXPECT_EQ(folder_listing(folder.path), "drive.zdr\n");
}

// A program killed in the middle of a large file leaves the old file and
// nothing else.
TEST(FileOutput, KilledWhileWritingLeavesNothingBehind)
{
    TestFolder folder;
    const std::string path = folder.file("drive.dxf");
    write_whole_file(path, old_text);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        OutputFile file;
        const bool written = output_open(file, path) && output_write(file, std::string(4 << 20, 'x'));
        if (write(ready[1], written ? "w" : "f", 1) != 1) _exit(1);
        pause();  // killed here, before the commit
        _exit(1);
    }
    char said = 0;
    EXPECT_EQ(read(ready[0], &said, 1), 1);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(said, 'w');
    EXPECT_EQ(read_whole_file(path), old_text);
    EXPECT_EQ(folder_listing(folder.path), "drive.dxf\n");
}

TEST(FileOutput, ParentIsARegularFile)
{
    TestFolder folder;
    write_whole_file(folder.file("plain"), old_text);
    expect_failed_save_changes_nothing(folder.file("plain/drive.zdr"), folder.path);
    EXPECT_EQ(read_whole_file(folder.file("plain")), old_text);
}

TEST(FileOutput, PathIsAFolder)
{
    TestFolder folder;
    std::filesystem::create_directory(folder.file("drive.zdr"));
    write_whole_file(folder.file("drive.zdr/inside"), old_text);
    expect_failed_save_changes_nothing(folder.file("drive.zdr"), folder.path);
    EXPECT_EQ(file_output_error, EISDIR);
    EXPECT_EQ(read_whole_file(folder.file("drive.zdr/inside")), old_text);
}

TEST(FileOutput, PathIsAPipeOrMissingFolder)
{
    TestFolder folder;
    ASSERT_EQ(mkfifo(folder.file("pipe").c_str(), 0600), 0);
    expect_failed_save_changes_nothing(folder.file("pipe"), folder.path);
    struct stat status {};
    ASSERT_EQ(lstat(folder.file("pipe").c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));  // not replaced by a plain file
    expect_failed_save_changes_nothing(folder.file("no-such-folder/drive.zdr"), folder.path);
    expect_failed_save_changes_nothing("", folder.path);
}

// The disk fills up halfway: the file-size limit makes write() fail the way a
// full disk does, through the very same code.
TEST_P(FileOutputWays, FullDiskKeepsTheOldFile)
{
    TestFolder folder;
    std::string path = folder.file("drive.zdr");
    write_whole_file(path, old_text);

    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;  // the project needs about 400 bytes
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int result = write_project_file(path, nondefault_input(), nondefault_options());
    int error = file_output_error;
    std::string listing = folder_listing(folder.path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(project_file_message, "Cannot write the file.");
    EXPECT_EQ(read_whole_file(path), old_text);
    EXPECT_EQ(listing, "drive.zdr\n");
}

TEST(FileOutput, ReadOnlyFolderKeepsTheOldFile)
{
    TestFolder folder;
    ASSERT_EQ(chmod(folder.path.c_str(), 0755), 0);
    std::string locked = folder.file("locked");
    ASSERT_TRUE(std::filesystem::create_directory(locked));
    std::string path = locked + "/drive.zdr";
    write_whole_file(path, old_text);
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);  // even a writable file may not be replaced
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);

    const int outcome = failed_save_as_ordinary_user(path);
    if (outcome == 2) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(outcome, 0) << "the save did not fail as it should";
    EXPECT_EQ(read_whole_file(path), old_text);
    EXPECT_EQ(folder_listing(locked), "drive.zdr\n");
}

// A read-only file in a writable folder is not replaced behind the user's back.
TEST(FileOutput, ReadOnlyFileKeepsItsContent)
{
    TestFolder folder;
    ASSERT_EQ(chmod(folder.path.c_str(), 0777), 0);
    std::string path = folder.file("drive.zdr");
    write_whole_file(path, old_text);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);

    const int outcome = failed_save_as_ordinary_user(path);
    if (outcome == 2) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(outcome, 0) << "the save did not fail as it should";
    EXPECT_EQ(read_whole_file(path), old_text);
    EXPECT_EQ(folder_listing(folder.path), "drive.zdr\n");
}

TEST(FileOutput, DanglingLinkGetsItsFile)
{
    TestFolder folder;
    std::filesystem::create_directory(folder.file("real"));
    std::string link = folder.file("link.zdr");
    std::filesystem::create_symlink("real/drive.zdr", link);  // relative, not there yet

    ASSERT_TRUE(write_file_replacing(link, "new\n"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(read_whole_file(folder.file("real/drive.zdr")), "new\n");
}

TEST(FileOutput, LinkStaysALinkAndPermissionsStay)
{
    TestFolder folder;
    std::filesystem::create_directory(folder.file("real"));
    std::string real = folder.file("real/drive.zdr");
    write_whole_file(real, old_text);
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    std::string link = folder.file("link.zdr");
    std::filesystem::create_symlink(real, link);

    ASSERT_TRUE(write_file_replacing(link, "new\n"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(read_whole_file(real), "new\n");
    struct stat status {};
    ASSERT_EQ(stat(real.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(folder_listing(folder.file("real")), "drive.zdr\n");
}

TEST(FileOutput, ReadSmallFileLimits)
{
    TestFolder folder;
    std::string path = folder.file("f");
    write_whole_file(path, "12345");
    std::string bytes;
    EXPECT_TRUE(read_small_file(path, 5, bytes));
    EXPECT_EQ(bytes, "12345");
    EXPECT_FALSE(read_small_file(path, 4, bytes));
    EXPECT_EQ(file_output_error, EFBIG);
    EXPECT_EQ(bytes, "");
    EXPECT_FALSE(read_small_file(folder.path, 100, bytes));
    EXPECT_FALSE(read_small_file("/dev/zero", 100, bytes));
    EXPECT_EQ(file_output_error, EINVAL);
}
