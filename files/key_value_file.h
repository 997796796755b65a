#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text form shared by the project file and the preferences file: a byte
// order mark line, then one line per entry, each ending in LF:
//   [Group]            a group header
//   ; comment text     a comment
//   key = value        a key line
// Keys before the first header are the top-level keys. Group names and keys
// compare without regard to ASCII case; the first of several equal ones counts.

enum class KeyValueKind { Group, Comment, Key, Other };

struct KeyValueEntry {
    KeyValueKind kind = KeyValueKind::Key;
    std::string name;   // group name, comment text, key, or the whole of an unreadable line
    std::string value;  // key lines only, as read (leading blanks cut)
};

// One file at a time: kv_create or kv_open starts, kv_close ends. Nothing
// reaches the disk before kv_close.
struct KeyValueFile {
    std::string path;
    std::vector<KeyValueEntry> entries;
    bool is_open = false;
    bool changed = false;        // written at kv_close when set
    std::string group;           // the selected group, "" for the top level
    std::ptrdiff_t last_written = -1;  // entry index of the last write, for comments
    // kv_close writes no more than this: a file is written under the limit
    // it was read under, so that what is written can be read again.
    std::size_t max_bytes = SIZE_MAX;
};

// A project is under a kilobyte and the preferences file smaller still: a
// larger file is not one of ours, and reading it would only cost time and
// memory (the reader holds some forty times the file's size).
constexpr std::size_t project_file_max_bytes = 1024u * 1024u;
constexpr std::size_t preferences_file_max_bytes = 64u * 1024u;

// Starts an empty entry list for `path`; the file is written at kv_close even
// when nothing is added. The old file stays as it is until then.
bool kv_create(KeyValueFile& file, const std::string& path);
// Reads an existing regular file of at most max_bytes, and keeps that limit
// for the writing at kv_close. On failure the path is
// still remembered, so that writes and kv_close create the file; the errno of
// the reason is in file_output_error (ENOENT: there is no file).
bool kv_open(KeyValueFile& file, const std::string& path, std::size_t max_bytes);
// Replaces the entry list by the entries of `bytes`, read by the rules of the
// form: optional byte order mark (without it the bytes are ISO 8859-1), lines
// ending in any run of CR and LF, leading blanks and tabs skipped.
void kv_parse(KeyValueFile& file, std::string_view bytes);
// Writes the file when it was created or changed, then forgets it. false when
// the writing failed or the text would be longer than max_bytes (EFBIG in
// file_output_error); the old file is then untouched, see write_file_replacing.
bool kv_close(KeyValueFile& file);
// The whole text that kv_close writes.
std::string kv_format(const KeyValueFile& file);

// "" selects the top level. true when the group is in the file; a group that
// is not is pending: reads give their defaults, the first write appends it.
bool kv_select_group(KeyValueFile& file, const std::string& name);

// The value trimmed of blanks and tabs, or `fallback` when the key is missing.
std::string kv_read_string(const KeyValueFile& file, const std::string& key, const std::string& fallback);
// The value's leading decimal integer (0 when it has none), or `fallback` when missing.
std::int64_t kv_read_int(const KeyValueFile& file, const std::string& key, std::int64_t fallback);

// Replace an existing key's value in place (the key takes this spelling) or add
// the key after the last entry of the selected group. false, and nothing
// written, when the key or value cannot be stored on one line.
bool kv_write_string(KeyValueFile& file, const std::string& key, const std::string& value);
bool kv_write_int(KeyValueFile& file, const std::string& key, std::int64_t value);
// Adds a comment after the last entry written (at the start when none was).
bool kv_write_comment(KeyValueFile& file, const std::string& text);

// The number forms of these files, independent of the process locale.
// Optional sign and digits; stops at the first other character; 0 without
// digits; saturates at the limits of the type.
std::int64_t parse_leading_integer(std::string_view text);
// Leading white space skipped, optional sign, decimals and exponent with '.' as
// the point; stops at the first character that does not fit; 0 without digits.
// "+Infinity", "-Infinity" and "NaN" in any case give those values, and so does
// a number too large for a double.
double parse_decimal(std::string_view text);
