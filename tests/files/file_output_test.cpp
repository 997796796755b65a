#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <tuple>
#include <utility>

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
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

// Runs `save` in a child process as user `uid` in group `gid`, also a member
// of group 2000 (permissions do not stop root). 0: it returned true; 1: it
// did not; 2: root could not be given up; -1: the child was lost.
template <typename Save>
int as_user(uid_t uid, gid_t gid, Save save)
{
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        const gid_t groups[] = {2000};
        if (geteuid() == 0 && (setgroups(1, groups) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) _exit(2);
        _exit(save() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// 0: the save failed and said so, as an ordinary user.
int failed_save_as_ordinary_user(const std::string& path)
{
    return as_user(65534, 65534, [&path] {
        return write_project_file(path, nondefault_input(), nondefault_options()) == 0 &&
               project_file_message == "Cannot write the file.";
    });
}

// Whether user `uid` of group `gid` (and of 2000) may `what` the file at `path`.
bool may(uid_t uid, gid_t gid, const std::string& path, int what)
{
    return as_user(uid, gid, [&path, what] { return access(path.c_str(), what) == 0; }) == 0;
}

struct ScopedUmask {
    const mode_t old;
    explicit ScopedUmask(mode_t mask) : old(umask(mask)) {}
    ~ScopedUmask() { umask(old); }
};

// Owner, group and mode with the special bits.
std::tuple<uid_t, gid_t, mode_t> rights(const std::string& path)
{
    struct stat status {};
    stat(path.c_str(), &status);
    return std::tuple(status.st_uid, status.st_gid, status.st_mode & 07777);
}

std::string attribute(const std::string& path, const char* name)
{
    char value[1024];
    const ssize_t size = lgetxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(size));
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
    // ".." after a link leads up from where the link points, as in the kernel.
    std::filesystem::create_directory(folder.file("real/sub"));
    std::filesystem::create_symlink("real/sub", folder.file("down"));
    ASSERT_TRUE(write_file_replacing(folder.file("down/../up.zdr"), "up\n"));
    EXPECT_EQ(read_whole_file(folder.file("real/up.zdr")), "up\n");
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

// A member of the team saves a colleague's project in the team folder: the
// team keeps its group, mode, access list and attributes; the owner becomes
// the saver, as a rename cannot do otherwise, and the colleague keeps what
// they could do by an entry of the list that grants nobody else more.
TEST_P(FileOutputWays, TeamMemberKeepsEveryRightOfTheFile)
{
    TestFolder folder;
    const std::string team = folder.file("team"), path = team + "/drive.zdr";
    std::filesystem::create_directories(team);
    write_whole_file(path, old_text);
    if (chown(team.c_str(), 0, 2000) != 0 || chown(path.c_str(), 1001, 2000) != 0) GTEST_SKIP() << "not root";
    ASSERT_EQ(chmod(folder.path.c_str(), 0755) | chmod(team.c_str(), 0775) | chmod(path.c_str(), 0664), 0);
    if (std::system(("setfacl -m u:1003:rw '" + path + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no access lists here";
    ASSERT_EQ(lsetxattr(path.c_str(), "user.note", "kept", 4, 0), 0);
    const std::string expected = folder.file("expected");
    write_whole_file(expected, "");
    ASSERT_EQ(chmod(expected.c_str(), 0664) | std::system(("setfacl -m u:1001:rw,u:1003:rw " + expected).c_str()), 0);

    ASSERT_EQ(as_user(1002, 1002, [&path] { return write_file_replacing(path, "new\n"); }), 0);
    EXPECT_EQ(read_whole_file(path), "new\n");
    EXPECT_EQ(rights(path), std::tuple(1002u, 2000u, 0664u));
    EXPECT_EQ(attribute(path, "system.posix_acl_access"), attribute(expected, "system.posix_acl_access"));
    EXPECT_EQ(attribute(path, "user.note"), "kept");
    EXPECT_EQ(folder_listing(team), "drive.zdr\n");

    // The list's mask must widen for the colleague's x; the entry it held
    // back (1003's x) stays held back, the team the list denied stays out,
    // and the saver keeps their own rights, not the colleague's.
    ASSERT_EQ(chown(path.c_str(), 1001, 2000) |
                  std::system(("setfacl --set u::rx,u:1002:rw,u:1003:rwx,g::-,m::rw,o::- " + path).c_str()),
              0);
    ASSERT_EQ(as_user(1002, 1002, [&path] { return write_file_replacing(path, "new\n"); }), 0);
    EXPECT_TRUE(may(1001, 1001, path, R_OK | X_OK) && may(1002, 1002, path, W_OK));
    EXPECT_FALSE(may(1003, 1003, path, X_OK));
    EXPECT_FALSE(may(1004, 1004, path, R_OK));

    // A group the file cannot keep keeps its rights by the list, and the
    // saver's group gets none of them.
    const std::string own = team + "/own.zdr";
    write_whole_file(own, old_text);
    ASSERT_EQ(chown(own.c_str(), 1002, 1003) | chmod(own.c_str(), 0640), 0);
    ASSERT_EQ(as_user(1002, 1002, [&own] { return write_file_replacing(own, "new\n"); }), 0);
    EXPECT_EQ(rights(own), std::tuple(1002u, 1002u, 0640u));
    EXPECT_TRUE(may(1004, 1003, own, R_OK));
    EXPECT_FALSE(may(1005, 1002, own, R_OK));
    // A group held back from what everyone may do stays held back.
    ASSERT_EQ(std::system(("setfacl -b " + own).c_str()) | chown(own.c_str(), 1002, 1003) | chmod(own.c_str(), 0606), 0);
    ASSERT_EQ(as_user(1002, 1002, [&own] { return write_file_replacing(own, "new\n"); }), 0);
    EXPECT_FALSE(may(1004, 1003, own, R_OK));
    EXPECT_TRUE(may(1005, 1005, own, R_OK | W_OK));
}

// Nobody else may read the new file while it is written; once saved, it has
// the rights open() gives a new file: the umask's, or those of the folder's
// default access list.
TEST_P(FileOutputWays, NewFileIsPrivateUntilSavedThenAsOpenMakesIt)
{
    TestFolder folder;
    const std::string team = folder.file("team");
    std::filesystem::create_directories(team);
    const bool lists = std::system(("setfacl -d -m u:1003:rw,o::r '" + team + "' 2>/dev/null").c_str()) == 0;
    const ScopedUmask mask(027);
    for (const std::string& where : {folder.path, team}) {
        if (where == team && !lists) continue;
        write_whole_file(where + "/open.dxf", "");
        OutputFile file;
        ASSERT_TRUE(output_open(file, where + "/drive.dxf") && output_write(file, old_text));
        struct stat status {};
        struct stat expected {};
        ASSERT_EQ(fstat(file.fd, &status), 0);
        EXPECT_EQ(status.st_mode & 077, 0u) << where;
        ASSERT_TRUE(output_commit(file));
        ASSERT_EQ(stat((where + "/drive.dxf").c_str(), &status) | stat((where + "/open.dxf").c_str(), &expected), 0);
        EXPECT_EQ(status.st_mode, expected.st_mode) << where;
        EXPECT_EQ(attribute(where + "/drive.dxf", "system.posix_acl_access"),
                  attribute(where + "/open.dxf", "system.posix_acl_access"));
    }
    if (!lists) GTEST_SKIP() << "no access lists here";
    // A file without an access list does not take the folder's default one.
    const std::string plain = team + "/plain.dxf";
    write_whole_file(plain, old_text);
    ASSERT_EQ(std::system(("setfacl -b '" + plain + "'").c_str()) | chmod(plain.c_str(), 0600), 0);
    ASSERT_TRUE(write_file_replacing(plain, "new\n"));
    EXPECT_EQ(attribute(plain, "system.posix_acl_access"), "(none)");
}

// A link another account planted in a sticky shared folder is not followed
// into the user's files, whatever the machine's setting; the user's own
// links and the folder owner's are.
TEST(FileOutput, PlantedLinkInSharedFolderIsRefused)
{
    TestFolder folder;
    const std::string shared = folder.file("shared"), own = folder.file("own");
    std::filesystem::create_directories(own);
    std::filesystem::create_directory(shared);
    write_whole_file(folder.file("important.txt"), old_text);
    // A link of another account's, one of the user's, one of the folder owner's.
    const std::string planted = shared + "/drive.dxf", planted_folder = shared + "/team";
    std::filesystem::create_symlink(folder.file("important.txt"), planted);
    std::filesystem::create_symlink(folder.path, planted_folder);
    std::filesystem::create_symlink(folder.file("mine.dxf"), shared + "/mine.dxf");
    std::filesystem::create_symlink(folder.file("owners.dxf"), own + "/owners.dxf");
    if (lchown(planted.c_str(), 1001, 1001) != 0) GTEST_SKIP() << "not root";
    ASSERT_EQ(lchown(planted_folder.c_str(), 1001, 1001) | lchown((own + "/owners.dxf").c_str(), 1005, 1005) |
                  chown(own.c_str(), 1005, 1005) | chmod(own.c_str(), 01777) | chown(shared.c_str(), 1006, 1006) |
                  chmod(shared.c_str(), 01777),
              0);

    for (const std::string& path : {planted, planted_folder + "/important.txt"}) {
        EXPECT_FALSE(write_file_replacing(path, "new\n")) << path;
        EXPECT_EQ(file_output_error, EACCES);
    }
    EXPECT_EQ(read_whole_file(folder.file("important.txt")), old_text);
    EXPECT_EQ(folder_listing(folder.path), "important.txt\nown\nshared\n");
    EXPECT_TRUE(write_file_replacing(shared + "/mine.dxf", "mine\n"));
    EXPECT_TRUE(write_file_replacing(own + "/owners.dxf", "owners\n"));
    EXPECT_EQ(read_whole_file(folder.file("mine.dxf")) + read_whole_file(folder.file("owners.dxf")), "mine\nowners\n");
}

// What a write into the old file would take away is not passed on: another
// account's setuid and setgid bits on a file that becomes the saver's, and
// the capabilities of the old bytes.
TEST_P(FileOutputWays, NoSpecialBitsOrCapabilitiesArePassedOn)
{
    TestFolder folder;
    const std::string planted = folder.file("drive.dxf"), program = folder.file("tool");
    write_whole_file(planted, old_text);
    if (chown(planted.c_str(), 1001, 1001) != 0) GTEST_SKIP() << "not root";
    ASSERT_EQ(chmod(folder.path.c_str(), 0777) | chmod(planted.c_str(), 06777), 0);
    ASSERT_EQ(as_user(1002, 1002, [&planted] { return write_file_replacing(planted, "new\n"); }), 0);
    // The former owner and group keep rwx by the access list, whose mask
    // stands in the group's bits.
    EXPECT_EQ(rights(planted), std::tuple(1002u, 1002u, 0777u));

    // cap_net_raw, effective: version 2 of the kernel's form.
    const unsigned char raw[20] = {0x01, 0, 0, 0x02, 0x00, 0x20};
    write_whole_file(program, old_text);
    if (chmod(program.c_str(), 0755) != 0 || lsetxattr(program.c_str(), "security.capability", raw, 20, 0) != 0)
        GTEST_SKIP() << "no file capabilities here";
    ASSERT_TRUE(write_file_replacing(program, "new\n"));
    EXPECT_EQ(attribute(program, "security.capability"), "(none)");
    EXPECT_EQ(rights(program), std::tuple(0u, 0u, 0755u));
}

// Another account's file in a sticky folder that is not the user's could
// never be replaced: the save says so before it makes anything. Where
// everyone may write the folder, the file may have been planted for the
// user's save to hand its content over: refused as well, for the folder's
// owner and for root.
TEST(FileOutput, FileTheStickyFolderKeepsIsRefusedBeforeAnythingIsMade)
{
    TestFolder folder;
    const std::string shared = folder.file("shared"), path = shared + "/drive.dxf";
    std::filesystem::create_directories(shared);
    write_whole_file(path, old_text);
    if (chown(path.c_str(), 1001, 1001) != 0) GTEST_SKIP() << "not root";
    ASSERT_EQ(chmod(folder.path.c_str(), 0755) | chmod(path.c_str(), 0666) | chown(shared.c_str(), 1006, 1006) |
                  chmod(shared.c_str(), 01777),
              0);
    const auto refused = [&path](int error) {
        return [&path, error] {
            OutputFile file;
            return !output_open(file, path) && file_output_error == error && file.fd < 0;
        };
    };
    EXPECT_EQ(as_user(1002, 1002, refused(EPERM)), 0);
    EXPECT_TRUE(refused(EACCES)());
    ASSERT_EQ(chown(shared.c_str(), 1002, 1002), 0);
    EXPECT_EQ(as_user(1002, 1002, refused(EACCES)), 0);
    EXPECT_EQ(read_whole_file(path), old_text);
    EXPECT_EQ(folder_listing(shared), "drive.dxf\n");
    // In a sticky folder of the user's own that others may not write, the
    // same file is replaced.
    ASSERT_EQ(chmod(shared.c_str(), 01775), 0);
    EXPECT_EQ(as_user(1002, 1002, [&path] { return write_file_replacing(path, "new\n"); }), 0);
    EXPECT_EQ(read_whole_file(path), "new\n");
}

// What changes between the start of a save and its commit neither steers
// nor widens it. The folder swapped for a link to the user's home: the new
// file still lands in the folder the save started in, and nothing is written
// through the link. Another file put in the old one's place, or under a
// name that was free: it stays as it is, and the save fails.
TEST_P(FileOutputWays, ChangesMeanwhileNeitherSteerNorWidenTheSave)
{
    TestFolder folder;
    const std::string mine = folder.file("shared/mine"), home = folder.file("home");
    std::filesystem::create_directories(mine);
    std::filesystem::create_directories(home);
    write_whole_file(home + "/out.dxf", old_text);
    OutputFile file;
    ASSERT_TRUE(output_open(file, mine + "/out.dxf") && output_write(file, "new\n"));
    std::filesystem::rename(mine, folder.file("shared/moved"));
    std::filesystem::create_symlink(home, mine);
    ASSERT_TRUE(output_commit(file));
    EXPECT_EQ(read_whole_file(home + "/out.dxf"), old_text);
    EXPECT_EQ(folder_listing(home), "out.dxf\n");
    EXPECT_EQ(read_whole_file(folder.file("shared/moved/out.dxf")), "new\n");
    EXPECT_EQ(folder_listing(folder.file("shared/moved")), "out.dxf\n");

    const std::string path = home + "/out.dxf", other = home + "/out.new";
    for (const bool existed : {true, false}) {
        if (!existed) std::filesystem::remove(path);
        ASSERT_TRUE(output_open(file, path) && output_write(file, "new\n"));
        write_whole_file(other, old_text);
        ASSERT_EQ(chmod(other.c_str(), 0606), 0);
        std::filesystem::rename(other, path);
        EXPECT_FALSE(output_commit(file));
        EXPECT_EQ(file_output_error, existed ? ESTALE : EEXIST);
        EXPECT_EQ(read_whole_file(path), old_text);
        EXPECT_EQ(std::get<2>(rights(path)), 0606u);
        EXPECT_EQ(folder_listing(home), "out.dxf\n");
    }
}

// Only the kernel's limits count: a name may not be longer than NAME_MAX,
// but links may lead as deep as folders go. Here l1 leads nine folders down
// and l2 there nine more: over 4096 characters from the root.
TEST(FileOutput, LinksMayLeadPastPathMax)
{
    TestFolder folder;
    const std::string long_name(250, 'd');
    std::string nine_deep = long_name;
    for (int i = 1; i < 9; ++i) nine_deep += "/" + long_name;
    int at = open(folder.path.c_str(), O_PATH | O_DIRECTORY);
    ASSERT_EQ(symlinkat(nine_deep.c_str(), at, "l1"), 0);
    for (int level = 0; level < 18 && at >= 0; ++level) {
        const int next = mkdirat(at, long_name.c_str(), 0700) == 0 ? openat(at, long_name.c_str(), O_PATH) : -1;
        close(at);
        at = next;
        if (level == 8 && symlinkat(nine_deep.c_str(), at, "l2") != 0) close(std::exchange(at, -1));
    }
    ASSERT_GE(at, 0);
    close(at);
    EXPECT_TRUE(write_file_replacing(folder.file("l1/l2/out.dxf"), "deep\n"));
    EXPECT_EQ(read_whole_file(folder.file("l1/l2/out.dxf")), "deep\n");
    EXPECT_EQ(std::system(("rm -rf '" + folder.file(long_name) + "'").c_str()), 0);  // deeper than remove_all goes
}

// What cannot be copied is known before anything is made: here more
// attribute names than the kernel lists at once (64 KiB), on tmpfs.
TEST(FileOutput, AttributesThatCannotBeListedAreRefusedFirst)
{
    const ScopedEnv memory("TMPDIR", "/dev/shm");
    TestFolder folder;
    const std::string path = folder.file("drive.dxf");
    write_whole_file(path, old_text);
    for (int i = 0; i < 6000; ++i)
        if (lsetxattr(path.c_str(), ("user.note-of-some-length-" + std::to_string(i)).c_str(), "", 0, 0) != 0)
            GTEST_SKIP() << "not so many attributes here";
    OutputFile file;
    EXPECT_FALSE(output_open(file, path));
    EXPECT_EQ(file_output_error, E2BIG);
    EXPECT_EQ(folder_listing(folder.path), "drive.dxf\n");
}

// A hidden name is cut between characters: exFAT and NTFS refuse any other.
TEST(FileOutput, HiddenNameOfALongNameIsCutBetweenCharacters)
{
    TestFolder folder;
    std::string name;
    for (int i = 0; i < 80; ++i) name += "\u4e2d";  // 240 bytes
    file_output_unnamed = false;
    OutputFile file;
    const bool opened = output_open(file, folder.file(name + ".dxf"));
    file_output_unnamed = true;
    ASSERT_TRUE(opened);
    std::string rest = file.temporary;  // without its whole characters, only ASCII may be left
    for (std::size_t at; (at = rest.find("\u4e2d")) != std::string::npos;) rest.erase(at, 3);
    EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](unsigned char c) { return c < 0x80; })) << rest;
    EXPECT_TRUE(output_commit(file));
}

// The links of /proc lead where the kernel leads them, not by their text: a
// deleted folder's names another folder that anyone could make.
TEST(FileOutput, LinksOfProcLeadWhereTheKernelLeads)
{
    TestFolder folder;
    const std::string work = folder.file("work"), home = folder.file("home");
    std::filesystem::create_directories(work);
    std::filesystem::create_directories(home);
    const int back = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(chdir(work.c_str()), 0);
    EXPECT_TRUE(write_file_replacing("/proc/self/cwd/live.dxf", "live\n") && path_exists(work + "/live.dxf"));
    std::filesystem::remove_all(work);
    std::filesystem::create_symlink(home, work + " (deleted)");
    EXPECT_FALSE(write_file_replacing("/proc/self/cwd/drive.dxf", "new\n"));
    EXPECT_EQ(fchdir(back), 0);
    close(back);
    EXPECT_EQ(folder_listing(home), "");
}
