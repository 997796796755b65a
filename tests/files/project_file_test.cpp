#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

#include "app/shell/project_file.h"
#include "files/path_name.h"
#include "model/chain_size.h"
#include "tests/files/project_records.h"
#include "tests/files/test_data.h"
#include "tests/support/test_folder.h"

namespace {

constexpr double four_pi = 12.566370614359172;

DriveInput default_input()
{
    DriveInput input;
    DriveOptions options;
    set_project_defaults(input, options);
    return input;
}

DriveOptions default_options()
{
    DriveInput input;
    DriveOptions options;
    set_project_defaults(input, options);
    return options;
}

}  // namespace

TEST(ProjectFile, DefaultsAreTheProgramsStartingDrive)
{
    DriveInput input;
    DriveOptions options;
    input.z1 = 99;
    options.chord_tolerance = 0.5;
    set_project_defaults(input, options);
    EXPECT_EQ(chain_sizes[static_cast<std::size_t>(input.size_index)].name, "08B");
    EXPECT_EQ(input.z1, 17);
    EXPECT_EQ(input.z2, 34);
    EXPECT_EQ(input.idler_teeth, 15);
    EXPECT_EQ(input.centre_distance, 500.0);
    EXPECT_EQ(input.idler_position, 0.5);
    EXPECT_EQ(input.idler_outside, 1);
    EXPECT_EQ(options.chord_tolerance, 0.01);
    EXPECT_EQ(options.show_pitch_circles, 1);
    EXPECT_EQ(options.export_pitch_circles, 1);
}

TEST(ProjectFile, DefaultProjectIsWrittenByteForByte)
{
    TestFolder folder;
    std::string path = folder.file("default.zdr");
    ASSERT_EQ(write_project_file(path, default_input(), default_options()), 1);
    EXPECT_EQ(project_file_message, "");
    std::string bytes = read_whole_file(path);
    EXPECT_EQ(bytes, read_whole_file(data_file("default.zdr")));

    // The same, checked without the reference file.
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), "\xEF\xBB\xBF\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 25);  // the mark's line and 24 more
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_EQ(bytes.back(), '\n');
    EXPECT_EQ(bytes.substr(4, bytes.find('\n', 4) - 4), ";  Zandrel - project");
    EXPECT_NE(bytes.find("\nhartafstand = 500.000000000\n"), std::string::npos);
    EXPECT_NE(bytes.find("\nkoordafwijking = 0.010000000\n"), std::string::npos);
    EXPECT_EQ(bytes.find("\n\n", 4), std::string::npos);  // no blank line between groups
}

TEST(ProjectFile, DefaultProjectReadsBackEqual)
{
    DriveInput input = nondefault_input();
    DriveOptions options = nondefault_options();
    ASSERT_EQ(load_project_file(data_file("default.zdr"), input, options), 1);
    EXPECT_EQ(project_file_message, "");
    expect_same_project(input, options, default_input(), default_options());
}

TEST(ProjectFile, NonDefaultProjectRoundTrip)
{
    TestFolder folder;
    std::string path = folder.file("drive.zdr");
    ASSERT_EQ(write_project_file(path, nondefault_input(), nondefault_options()), 1);
    // The reference file is shared with the Dutch suite: both builds write it.
    EXPECT_EQ(read_whole_file(path), read_whole_file(data_file("nondefault.zdr")));

    DriveInput input;
    DriveOptions options;
    ASSERT_EQ(load_project_over_defaults(path, input, options), 1);
    EXPECT_EQ(project_file_message, "");
    expect_same_project(input, options, nondefault_input(), nondefault_options());
}

TEST(ProjectFile, DoublesReadBackAsTheirNineDecimalText)
{
    TestFolder folder;
    std::string path = folder.file("drive.zdr");
    DriveInput input = default_input();
    DriveOptions options = default_options();
    input.centre_distance = 500.1234567891234;
    input.idler_position = 2.0 / 3.0;
    input.rotation = 1e-12;  // below the last decimal: written as 0
    options.bore1 = 1e15 + 0.25;
    ASSERT_EQ(write_project_file(path, input, options), 1);
    std::string bytes = read_whole_file(path);
    EXPECT_NE(bytes.find("hartafstand = 500.123456789\n"), std::string::npos);
    EXPECT_NE(bytes.find("plaats = 0.666666667\n"), std::string::npos);
    EXPECT_NE(bytes.find("draaistand = 0.000000000\n"), std::string::npos);
    EXPECT_NE(bytes.find("boring1 = 1000000000000000.250000000\n"), std::string::npos);

    ASSERT_EQ(load_project_over_defaults(path, input, options), 1);
    EXPECT_EQ(input.centre_distance, 500.123456789);
    EXPECT_EQ(input.idler_position, 0.666666667);
    EXPECT_EQ(input.rotation, 0.0);
    EXPECT_EQ(options.bore1, 1e15 + 0.25);
}

TEST(ProjectFile, ChainSizeOutsideTheTableIsLeftOut)
{
    TestFolder folder;
    std::string path = folder.file("drive.zdr");
    DriveInput input = default_input();
    input.size_index = 10;
    ASSERT_EQ(write_project_file(path, input, default_options()), 1);
    std::string bytes = read_whole_file(path);
    EXPECT_EQ(bytes.find("maat"), std::string::npos);
    EXPECT_NE(bytes.find("[Ketting]\nschakels = 0\n"), std::string::npos);
}

// Whole files as a user or another program may leave them.
TEST(ProjectFile, ReaderEdgeCases)
{
    struct Case {
        const char* file;
        int result;
        const char* message;
        std::function<void(const DriveInput&, const DriveOptions&)> check;
    };
    auto same_as_nondefault = [](const DriveInput& input, const DriveOptions& options) {
        expect_same_project(input, options, nondefault_input(), nondefault_options());
    };
    auto untouched = [](const DriveInput& input, const DriveOptions& options) {
        // A refused file reads nothing past the identification group.
        EXPECT_EQ(input.z1, 17);
        EXPECT_EQ(chain_sizes[static_cast<std::size_t>(input.size_index)].name, "08B");
        EXPECT_EQ(options.chord_tolerance, 0.01);
    };
    auto size_is = [](const char* name) {
        return [name](const DriveInput& input, const DriveOptions&) {
            EXPECT_EQ(chain_sizes[static_cast<std::size_t>(input.size_index)].name, name);
        };
    };
    const char* not_project = "This is not a Zandrel project.";
    const char* unknown_size = "Unknown chain size in the project; 08B chosen.";
    const Case cases[] = {
        {"nondefault_crlf_edited.zdr", 1, "", same_as_nondefault},
        {"nondefault_cr.zdr", 1, "", same_as_nondefault},
        {"capitals_version_2.zdr", 1, "", size_is("16B")},
        {"no_identification.zdr", 0, not_project, untouched},
        {"version_0.zdr", 0, not_project, untouched},
        {"version_text.zdr", 0, not_project, untouched},
        {"version_in_wrong_group.zdr", 0, not_project, untouched},
        {"version_at_top_level.zdr", 0, not_project, untouched},
        {"empty.zdr", 0, "Cannot open the file.", untouched},
        {"only_identification.zdr", 1, unknown_size,
         [](const DriveInput& input, const DriveOptions& options) {
             expect_same_project(input, options, default_input(), default_options());
         }},
        {"unknown_size.zdr", 1, unknown_size,
         [](const DriveInput& input, const DriveOptions&) {
             EXPECT_EQ(chain_sizes[static_cast<std::size_t>(input.size_index)].name, "08B");
             EXPECT_EQ(input.links, 88);  // the rest of the file is still read
             EXPECT_EQ(input.z1, 19);
         }},
        {"duplicates.zdr", 1, "",
         [](const DriveInput& input, const DriveOptions&) {
             // The first group and the first key of a name count.
             EXPECT_EQ(input.z1, 23);
             EXPECT_EQ(input.z2, 45);
             EXPECT_EQ(input.centre_distance, 500.0);
             EXPECT_EQ(chain_sizes[static_cast<std::size_t>(input.size_index)].name, "10B");
         }},
        {"bad_numbers.zdr", 1, "",
         [](const DriveInput& input, const DriveOptions& options) {
             EXPECT_EQ(input.z1, 0);   // present but not a number
             EXPECT_EQ(input.z2, 40);  // the leading integer of 40.7
             EXPECT_EQ(input.idler_teeth, 12);
             // NaN and infinities count as missing: the defaults stand.
             EXPECT_EQ(input.centre_distance, 500.0);
             EXPECT_EQ(options.bore1, 0.0);
             EXPECT_EQ(options.bore2, 0.0);
             EXPECT_EQ(input.idler_position, 0.5);
             EXPECT_EQ(options.idler_bore, 0.0);
             EXPECT_EQ(options.chord_tolerance, 0.01);
             EXPECT_EQ(input.rotation, 0.0);  // 1e-400 is 0
         }},
        {"latin1.zdr", 1, "",
         [](const DriveInput& input, const DriveOptions&) {
             EXPECT_EQ(chain_sizes[static_cast<std::size_t>(input.size_index)].name, "06B");
             EXPECT_EQ(input.z1, 11);
         }},
        {"odd_lines.zdr", 1, "",
         [](const DriveInput& input, const DriveOptions&) {
             // "[Zandrel" without its bracket and "[Ketting] text" are still headers;
             // everything after the first '=' is the value.
             EXPECT_EQ(chain_sizes[static_cast<std::size_t>(input.size_index)].name, "05B");
             EXPECT_EQ(input.z1, 13);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DriveInput input;
        DriveOptions options;
        EXPECT_EQ(load_project_over_defaults(data_file(c.file), input, options), c.result);
        EXPECT_EQ(project_file_message, c.message);
        c.check(input, options);
    }
}

// One key of the non-default project changed or removed; how it loads.
TEST(ProjectFile, KeyValuesAndClamps)
{
    struct Case {
        const char* group;
        const char* key;
        const char* value;  // nullptr: the key is removed
        std::function<void(const DriveInput&, const DriveOptions&)> check;
        const char* message = "";
    };
    auto position = [](double expected) {
        return [expected](const DriveInput& input, const DriveOptions&) {
            EXPECT_EQ(input.idler_position, expected);
        };
    };
    auto tolerance = [](double expected) {
        return [expected](const DriveInput&, const DriveOptions& options) {
            EXPECT_EQ(options.chord_tolerance, expected);
        };
    };
    auto rotation = [](double expected) {
        return [expected](const DriveInput& input, const DriveOptions&) {
            EXPECT_NEAR(input.rotation, expected, 1e-9);
            EXPECT_GE(input.rotation, 0.0);
            EXPECT_LE(input.rotation, four_pi);
        };
    };
    const Case cases[] = {
        {"Spanwiel", "plaats", "0", position(0.02)},
        {"Spanwiel", "plaats", "0.02", position(0.02)},
        {"Spanwiel", "plaats", "0.019", position(0.02)},
        {"Spanwiel", "plaats", "0.021", position(0.021)},
        {"Spanwiel", "plaats", "0.979", position(0.979)},
        {"Spanwiel", "plaats", "0.981", position(0.98)},
        {"Spanwiel", "plaats", "0.98", position(0.98)},
        {"Spanwiel", "plaats", "1", position(0.98)},
        {"Spanwiel", "plaats", "-7", position(0.02)},
        {"Export", "koordafwijking", "2", tolerance(0.01)},
        {"Export", "koordafwijking", "0.0004", tolerance(0.01)},
        {"Export", "koordafwijking", "0", tolerance(0.01)},
        {"Export", "koordafwijking", "0.0005", tolerance(0.0005)},
        {"Export", "koordafwijking", "0.000499999", tolerance(0.01)},
        {"Export", "koordafwijking", "1", tolerance(1.0)},
        {"Export", "koordafwijking", "1.000000001", tolerance(0.01)},
        {"Export", "wat", "7", [](auto&, auto& o) { EXPECT_EQ(o.export_scope, 0); }},
        {"Export", "wat", "-1", [](auto&, auto& o) { EXPECT_EQ(o.export_scope, 0); }},
        {"Export", "wat", "4", [](auto&, auto& o) { EXPECT_EQ(o.export_scope, 4); }},
        {"Export", "steekcirkels", "7", [](auto&, auto& o) {
             EXPECT_EQ(o.export_pitch_circles, 1);
             EXPECT_EQ(o.show_pitch_circles, 0);  // the same key in another group
         }},
        {"Weergave", "steekcirkels", "-2", [](auto&, auto& o) {
             EXPECT_EQ(o.show_pitch_circles, 1);
             EXPECT_EQ(o.export_pitch_circles, 0);
         }},
        {"Spanwiel", "buiten", "5", [](auto& i, auto&) { EXPECT_EQ(i.idler_outside, 1); }},
        {"Spanwiel", "buiten", "x", [](auto& i, auto&) { EXPECT_EQ(i.idler_outside, 0); }},
        {"Ketting", "schakels", "-4", [](auto& i, auto&) { EXPECT_EQ(i.links, 0); }},
        {"Ketting", "schakels", "99999999999999999999",
         [](auto& i, auto&) { EXPECT_EQ(i.links, std::numeric_limits<std::int64_t>::max()); }},
        {"Wielen", "boring1", "-3", [](auto&, auto& o) { EXPECT_EQ(o.bore1, 0.0); }},
        {"Wielen", "boring2", "-0.5", [](auto&, auto& o) { EXPECT_EQ(o.bore2, 0.0); }},
        {"Spanwiel", "boring", "-1e3", [](auto&, auto& o) { EXPECT_EQ(o.idler_bore, 0.0); }},
        // Teeth and centre distance are the drive model's to judge.
        {"Wielen", "z1", "3", [](auto& i, auto&) { EXPECT_EQ(i.z1, 3); }},
        {"Wielen", "z1", "abc", [](auto& i, auto&) { EXPECT_EQ(i.z1, 0); }},
        {"Wielen", "z1", "", [](auto& i, auto&) { EXPECT_EQ(i.z1, 0); }},
        {"Wielen", "z1", nullptr, [](auto& i, auto&) { EXPECT_EQ(i.z1, 17); }},
        {"Wielen", "hartafstand", "-20", [](auto& i, auto&) { EXPECT_EQ(i.centre_distance, -20.0); }},
        {"Wielen", "hartafstand", nullptr, [](auto& i, auto&) { EXPECT_EQ(i.centre_distance, 500.0); }},
        {"Wielen", "hartafstand", "-Infinity", [](auto& i, auto&) { EXPECT_EQ(i.centre_distance, 500.0); }},
        {"Wielen", "hartafstand", "nAn", [](auto& i, auto&) { EXPECT_EQ(i.centre_distance, 500.0); }},
        {"Wielen", "hartafstand", "1e309", [](auto& i, auto&) { EXPECT_EQ(i.centre_distance, 500.0); }},
        {"Wielen", "hartafstand", "1,5", [](auto& i, auto&) { EXPECT_EQ(i.centre_distance, 1.0); }},
        {"Weergave", "draaistand", "-1", rotation(four_pi - 1.0)},
        {"Weergave", "draaistand", "13", rotation(13.0 - four_pi)},
        {"Weergave", "draaistand", "12.566370614", rotation(12.566370614)},
        {"Weergave", "draaistand", "1000", rotation(std::fmod(1000.0, four_pi))},
        {"Weergave", "draaistand", "-1e300", rotation(four_pi + std::fmod(-1e300, four_pi))},
        {"Ketting", "maat", "08b", [](auto& i, auto&) { EXPECT_EQ(i.size_index, 2); }},
        {"Ketting", "maat", "32B", [](auto& i, auto&) { EXPECT_EQ(i.size_index, 9); }},
        {"Ketting", "maat", "99B", [](auto& i, auto& o) {
             EXPECT_EQ(i.size_index, 2);
             EXPECT_EQ(o.export_scope, 3);  // the rest still loads
         }, "Unknown chain size in the project; 08B chosen."},
        {"Ketting", "maat", nullptr, [](auto& i, auto&) { EXPECT_EQ(i.size_index, 2); },
         "Unknown chain size in the project; 08B chosen."},
    };
    TestFolder folder;
    std::string path = folder.file("case.zdr");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + "/" + c.key + " = " + (c.value ? c.value : "(none)"));
        KeyValueFile file;
        project_to_key_values(file, nondefault_input(), nondefault_options());
        ASSERT_TRUE(kv_select_group(file, c.group));
        if (c.value != nullptr) {
            ASSERT_TRUE(kv_write_string(file, c.key, c.value));
        } else {
            remove_key(file, c.key);
        }
        write_whole_file(path, kv_format(file));
        DriveInput input;
        DriveOptions options;
        EXPECT_EQ(load_project_over_defaults(path, input, options), 1);
        EXPECT_EQ(project_file_message, c.message);
        c.check(input, options);
    }
}

// A key missing from the file keeps what the records held before the load.
TEST(ProjectFile, MissingKeysKeepTheRecordsValues)
{
    DriveInput input = nondefault_input();
    DriveOptions options = nondefault_options();
    input.centre_distance = 612.0000000004;  // kept as its 9-decimal text reads
    ASSERT_EQ(load_project_file(data_file("only_identification.zdr"), input, options), 1);
    EXPECT_EQ(input.z1, 21);
    EXPECT_EQ(input.centre_distance, 612.0);
    EXPECT_EQ(options.chord_tolerance, 0.0025);
    EXPECT_EQ(input.size_index, 2);  // no maat: 08B and the warning
}

TEST(ProjectFile, RefusesWhatIsNoProjectFile)
{
    TestFolder folder;
    std::string fifo = folder.file("pipe.zdr");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string too_big = folder.file("big.zdr");
    {
        write_whole_file(too_big, read_whole_file(data_file("nondefault.zdr")));
        ASSERT_EQ(truncate(too_big.c_str(), 16 * 1024 * 1024 + 1), 0);
    }
    const std::string paths[] = {folder.file("missing.zdr"), folder.path, fifo, too_big, "/dev/zero", ""};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        DriveInput input = nondefault_input();
        DriveOptions options = nondefault_options();
        EXPECT_EQ(load_project_file(path, input, options), 0);
        EXPECT_EQ(project_file_message, "Cannot open the file.");
        expect_same_project(input, options, nondefault_input(), nondefault_options());
    }
}

TEST(ProjectFile, ReadsAFileOfExactlyTheLargestSize)
{
    TestFolder folder;
    std::string path = folder.file("padded.zdr");
    std::string bytes = read_whole_file(data_file("nondefault.zdr"));
    bytes.resize(1024 * 1024, '\n');  // blank lines are skipped
    write_whole_file(path, bytes);
    DriveInput input;
    DriveOptions options;
    ASSERT_EQ(load_project_over_defaults(path, input, options), 1);
    expect_same_project(input, options, nondefault_input(), nondefault_options());

    // One byte more is no project of ours: refused before it is read.
    bytes += '\n';
    write_whole_file(path, bytes);
    EXPECT_EQ(load_project_over_defaults(path, input, options), 0);
    EXPECT_EQ(project_file_message, "Cannot open the file.");
}

TEST(ProjectFile, ExtensionOfTheChosenName)
{
    EXPECT_EQ(with_project_extension("/home/u/drive"), "/home/u/drive.zdr");
    EXPECT_EQ(with_project_extension("/home/u/drive.txt"), "/home/u/drive.txt");
    EXPECT_EQ(with_project_extension("/home/u/my.drive 2"), "/home/u/my.drive 2.zdr");
    EXPECT_EQ(with_project_extension("/home/u/.hidden"), "/home/u/.hidden.zdr");
    EXPECT_EQ(with_project_extension(".hidden"), ".hidden.zdr");
    EXPECT_EQ(with_project_extension("/home/u/drive."), "/home/u/drive..zdr");
    EXPECT_EQ(with_project_extension("/home/u.v/drive"), "/home/u.v/drive.zdr");
    EXPECT_EQ(with_project_extension("drive.zdr"), "drive.zdr");
    EXPECT_EQ(folder_of("/home/u/drive.zdr"), "/home/u/");
    EXPECT_EQ(folder_of("drive.zdr"), "");
}
