#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "files/key_value_file.h"
#include "app/shell/project_file.h"
#include "tests/support/test_folder.h"

namespace {

KeyValueFile parsed(std::string_view bytes)
{
    KeyValueFile file;
    kv_parse(file, bytes);
    return file;
}

}  // namespace

TEST(KeyValueFile, ReadingRules)
{
    struct Case {
        const char* what;
        std::string bytes;
        const char* group;
        const char* key;
        const char* expected;  // "<default>" when the key must count as missing
    };
    const std::string bom = "\xEF\xBB\xBF\n";
    const Case cases[] = {
        {"written form", bom + "[G]\nk = v\n", "G", "k", "v"},
        {"no byte order mark", "[G]\nk = v\n", "G", "k", "v"},
        {"without a mark the bytes are ISO 8859-1", "[G]\nk = caf\xE9\n", "G", "k", "caf\xC3\xA9"},
        {"with the mark UTF-8 stays as it is", bom + "[G]\nk = caf\xC3\xA9\n", "G", "k", "caf\xC3\xA9"},
        {"CR LF", "[G]\r\nk = v\r\nm = w\r\n", "G", "m", "w"},
        {"CR alone", "[G]\rk = v\rm = w", "G", "m", "w"},
        {"blank lines", "\n\n[G]\r\n\r\n\r\nk = v\n\n", "G", "k", "v"},
        {"leading blanks and tabs", "  \t[G]\n \t k = v\n", "G", "k", "v"},
        {"no blanks round =", "[G]\nk=v\n", "G", "k", "v"},
        {"blanks and tabs trimmed", "[G]\nk \t =  \t v w \t \n", "G", "k", "v w"},
        {"value holding =", "[G]\nk = a = b\n", "G", "k", "a = b"},
        {"empty value is not missing", "[G]\nk =\n", "G", "k", ""},
        {"group case", "[wIeLeN]\nk = v\n", "Wielen", "k", "v"},
        {"key case", "[G]\nHartAfstand = 5\n", "G", "hartafstand", "5"},
        {"first key wins", "[G]\nk = 1\nK = 2\n", "G", "k", "1"},
        {"first group wins", "[G]\nk = 1\n[H]\n[g]\nk = 2\nm = 3\n", "G", "m", "<default>"},
        {"key of another group", "[G]\nk = 1\n[H]\nm = 2\n", "G", "m", "<default>"},
        {"missing group", "[G]\nk = 1\n", "H", "k", "<default>"},
        {"top level before the first group", "k = 1\n[G]\nm = 2\n", "", "k", "1"},
        {"top level ends at the first group", "k = 1\n[G]\nm = 2\n", "", "m", "<default>"},
        {"a group does not see the top level", "k = 1\n[G]\nm = 2\n", "G", "k", "<default>"},
        {"comment is no key", "[G]\n; k = 1\n", "G", "k", "<default>"},
        {"text after ] ignored", "[G] ; note\nk = 1\n", "G", "k", "1"},
        {"header without ]", "[G\nk = 1\n", "G", "k", "1"},
        {"line without =", "[G]\nk\nk = 2\n", "G", "k", "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KeyValueFile file = parsed(c.bytes);
        kv_select_group(file, c.group);
        EXPECT_EQ(kv_read_string(file, c.key, "<default>"), c.expected);
    }
}

TEST(KeyValueFile, SelectGroupTellsWhetherItExists)
{
    KeyValueFile file = parsed("k = 1\n[G]\n");
    EXPECT_TRUE(kv_select_group(file, "g"));
    EXPECT_FALSE(kv_select_group(file, "H"));
    EXPECT_TRUE(kv_select_group(file, ""));
    EXPECT_EQ(kv_read_int(file, "k", 7), 1);
}

TEST(KeyValueFile, IntegerReads)
{
    const std::pair<const char*, std::int64_t> cases[] = {
        {"17", 17},
        {"17.9", 17},
        {"-3", -3},
        {"+4", 4},
        {"  12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"0017", 17},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"99999999999999999999", std::numeric_limits<std::int64_t>::max()},
        {"-99999999999999999999", std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        KeyValueFile file = parsed(std::string("k = ") + value + "\n");
        EXPECT_EQ(kv_read_int(file, "k", 99), expected);
    }
    EXPECT_EQ(kv_read_int(parsed("m = 1\n"), "k", 99), 99);
}

TEST(KeyValueFile, DecimalReads)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> cases[] = {
        {"500", 500.0},
        {"0.5", 0.5},
        {"-2.5e3", -2500.0},
        {"1E2", 100.0},
        {".25", 0.25},
        {"5.", 5.0},
        {"  \t7.5x", 7.5},
        {"+3", 3.0},
        {"1,5", 1.0},  // a decimal comma is no decimal point, in any locale
        {"0x10", 0.0},
        {"abc", 0.0},
        {"", 0.0},
        {"1e", 1.0},
        {"+Infinity", inf},
        {"-INFINITY", -inf},
        {"infinity", inf},
        {"1e999", inf},
        {"-1e999", -inf},
        {"1e-999", 0.0},
        {"0.000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000001",
         0.0},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_decimal(text), expected);
    }
    EXPECT_TRUE(std::isnan(parse_decimal("NaN")));
    EXPECT_TRUE(std::isnan(parse_decimal("-nan")));
    EXPECT_TRUE(std::signbit(parse_decimal("-1e-999")));
}

TEST(KeyValueFile, NumberTextsIgnoreTheProcessLocale)
{
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "nl_NL.UTF-8") == nullptr) GTEST_SKIP() << "no nl_NL.UTF-8 locale";
    EXPECT_EQ(parse_decimal("812.5"), 812.5);
    EXPECT_EQ(format_decimal9(812.5), "812.500000000");
    EXPECT_EQ(format_decimal9(-0.0), "0.000000000");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(KeyValueFile, WritesInPlaceOrAfterTheGroup)
{
    KeyValueFile file = parsed("\xEF\xBB\xBF\ntop = 1\n[A]\nx = 1\ny = 2\n[B]\nz = 3\n");
    file.is_open = true;
    kv_select_group(file, "a");
    EXPECT_TRUE(kv_write_string(file, "X", "10"));  // in place, in the spelling of this write
    EXPECT_TRUE(kv_write_int(file, "w", -4));       // after the group's last entry
    kv_select_group(file, "");
    EXPECT_TRUE(kv_write_string(file, "second", "t"));  // after the last top-level entry
    kv_select_group(file, "C");
    EXPECT_TRUE(kv_write_string(file, "c", "new"));  // a new group at the end
    EXPECT_TRUE(kv_write_comment(file, "after c"));
    EXPECT_EQ(kv_format(file),
              "\xEF\xBB\xBF\ntop = 1\nsecond = t\n[A]\nX = 10\ny = 2\nw = -4\n[B]\nz = 3\n[C]\nc = new\n; after c\n");
    EXPECT_TRUE(file.changed);
}

TEST(KeyValueFile, RefusesWhatWouldNotReadBack)
{
    KeyValueFile file;
    ASSERT_TRUE(kv_create(file, "/nonexistent/never-written"));
    const std::pair<const char*, const char*> refused[] = {
        {"k", "two\nlines"}, {"k", "cr\r"}, {"a=b", "v"}, {"", "v"}, {"; k", "v"},
        {"[k", "v"},         {" k", "v"},   {"k\n", "v"},
    };
    for (const auto& [key, value] : refused) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(kv_write_string(file, key, value));
    }
    EXPECT_FALSE(kv_write_comment(file, "two\nlines"));
    EXPECT_EQ(kv_format(file), "\xEF\xBB\xBF\n");
    file = KeyValueFile {};
}

TEST(KeyValueFile, RewriteKeepsEveryLineItRead)
{
    std::string bytes = "; c\n[G]\nk = v  \nstray line\n= 5\n[H] x\n";
    KeyValueFile file = parsed(bytes);
    std::string once = kv_format(file);
    EXPECT_EQ(once, "\xEF\xBB\xBF\n; c\n[G]\nk = v  \nstray line\n = 5\n[H]\n");
    EXPECT_EQ(kv_format(parsed(once)), once);
}

TEST(KeyValueFile, FileOnlyReadIsNotWritten)
{
    TestFolder folder;
    std::string path = folder.file("hand.prefs");
    const std::string bytes = "k = 1\r\n\r\nm = 2\r\n";  // our writer would change all of it
    write_whole_file(path, bytes);
    KeyValueFile file;
    ASSERT_TRUE(kv_open(file, path, preferences_file_max_bytes));
    EXPECT_EQ(kv_read_int(file, "m", 0), 2);
    EXPECT_TRUE(kv_close(file));
    EXPECT_EQ(read_whole_file(path), bytes);
}

TEST(KeyValueFile, FailedOpenStillCreatesOnWrite)
{
    TestFolder folder;
    std::string path = folder.file("new.prefs");
    KeyValueFile file;
    EXPECT_FALSE(kv_open(file, path, preferences_file_max_bytes));
    EXPECT_TRUE(kv_write_string(file, "k", "v"));
    EXPECT_TRUE(kv_close(file));
    EXPECT_EQ(read_whole_file(path), "\xEF\xBB\xBF\nk = v\n");
}
