#include "files/key_value_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>

#include "files/file_output.h"
#include "model/format.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

std::string_view trim_blanks(std::string_view text)
{
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

bool has_line_break(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

std::ptrdiff_t first_group(const KeyValueFile& file)
{
    for (std::size_t i = 0; i < file.entries.size(); ++i)
        if (file.entries[i].kind == KeyValueKind::Group) return static_cast<std::ptrdiff_t>(i);
    return static_cast<std::ptrdiff_t>(file.entries.size());
}

// The entries of the selected group as [begin, end); false when it is pending.
bool group_range(const KeyValueFile& file, std::ptrdiff_t& begin, std::ptrdiff_t& end)
{
    const auto count = static_cast<std::ptrdiff_t>(file.entries.size());
    if (file.group.empty()) {
        begin = 0;
        end = first_group(file);
        return true;
    }
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        const KeyValueEntry& entry = file.entries[static_cast<std::size_t>(i)];
        if (entry.kind != KeyValueKind::Group || !same_name(entry.name, file.group)) continue;
        begin = i + 1;
        end = begin;
        while (end < count && file.entries[static_cast<std::size_t>(end)].kind != KeyValueKind::Group) ++end;
        return true;
    }
    return false;
}

const KeyValueEntry* find_key(const KeyValueFile& file, std::string_view key)
{
    std::ptrdiff_t begin = 0;
    std::ptrdiff_t end = 0;
    if (!group_range(file, begin, end)) return nullptr;
    for (std::ptrdiff_t i = begin; i < end; ++i) {
        const KeyValueEntry& entry = file.entries[static_cast<std::size_t>(i)];
        if (entry.kind == KeyValueKind::Key && same_name(entry.name, key)) return &entry;
    }
    return nullptr;
}

void insert_entry(KeyValueFile& file, std::ptrdiff_t at, KeyValueEntry entry)
{
    file.entries.insert(file.entries.begin() + at, std::move(entry));
    file.last_written = at;
    file.changed = true;
}

std::string latin1_to_utf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// Decimal exponent of the first significant digit of a number text that
// from_chars found out of range: above 0 it was too large, else too small.
long long decimal_magnitude(std::string_view number)
{
    std::size_t i = 0;
    long long leading_zeros = 0;
    long long integer_digits = 0;
    bool significant = false;
    while (i < number.size() && number[i] >= '0' && number[i] <= '9') {
        if (number[i] != '0') significant = true;
        if (significant) ++integer_digits;
        ++i;
    }
    if (i < number.size() && number[i] == '.') {
        ++i;
        while (!significant && i < number.size() && number[i] == '0') {
            ++leading_zeros;
            ++i;
        }
        while (i < number.size() && number[i] >= '0' && number[i] <= '9') ++i;
    }
    long long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        exponent = parse_leading_integer(number.substr(i + 1));
        exponent = std::clamp(exponent, -1000000000LL, 1000000000LL);
    }
    return (integer_digits > 0 ? integer_digits - 1 : -(leading_zeros + 1)) + exponent;
}

}  // namespace

bool kv_create(KeyValueFile& file, const std::string& path)
{
    if (file.is_open) kv_close(file);
    file = KeyValueFile {};
    if (path.empty()) return false;
    file.path = path;
    file.is_open = true;
    file.changed = true;
    return true;
}

bool kv_open(KeyValueFile& file, const std::string& path, std::size_t max_bytes)
{
    if (file.is_open) kv_close(file);
    file = KeyValueFile {};
    file.path = path;
    file.is_open = true;
    file.max_bytes = max_bytes;
    std::string bytes;
    if (path.empty() || !read_small_file(path, max_bytes, bytes)) return false;
    kv_parse(file, bytes);
    return true;
}

void kv_parse(KeyValueFile& file, std::string_view bytes)
{
    file.entries.clear();
    file.group.clear();
    file.last_written = -1;
    std::string converted;
    std::string_view text = bytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    } else {
        converted = latin1_to_utf8(bytes);
        text = converted;
    }

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t line_end = text.find_first_of("\r\n", pos);
        if (line_end == std::string_view::npos) line_end = text.size();
        std::string_view line = text.substr(pos, line_end - pos);
        pos = text.find_first_not_of("\r\n", line_end);
        if (pos == std::string_view::npos) pos = text.size();

        while (!line.empty() && is_blank(line.front())) line.remove_prefix(1);
        if (line.empty()) continue;
        KeyValueEntry entry;
        if (line.front() == ';') {
            line.remove_prefix(1);
            if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
            entry.kind = KeyValueKind::Comment;
            entry.name = line;
        } else if (line.front() == '[') {
            // Up to the ']', or to the line end when there is none.
            std::size_t close = line.find(']');
            entry.kind = KeyValueKind::Group;
            entry.name = line.substr(1, close == std::string_view::npos ? close : close - 1);
        } else if (std::size_t equals = line.find('='); equals != std::string_view::npos) {
            std::string_view key = line.substr(0, equals);
            while (!key.empty() && is_blank(key.back())) key.remove_suffix(1);
            std::string_view value = line.substr(equals + 1);
            while (!value.empty() && is_blank(value.front())) value.remove_prefix(1);
            entry.kind = KeyValueKind::Key;
            entry.name = key;
            entry.value = value;
        } else {
            // Not written by us; kept as it is so that a rewrite loses nothing.
            entry.kind = KeyValueKind::Other;
            entry.name = line;
        }
        file.entries.push_back(std::move(entry));
    }
}

std::string kv_format(const KeyValueFile& file)
{
    std::string out = "\xEF\xBB\xBF\n";
    for (const KeyValueEntry& entry : file.entries) {
        switch (entry.kind) {
        case KeyValueKind::Group: out += "[" + entry.name + "]"; break;
        case KeyValueKind::Comment: out += "; " + entry.name; break;
        case KeyValueKind::Key: out += entry.name + " = " + entry.value; break;
        case KeyValueKind::Other: out += entry.name; break;
        }
        out += '\n';
    }
    return out;
}

bool kv_close(KeyValueFile& file)
{
    bool ok = true;
    if (file.is_open && file.changed) {
        // A file read at its limit can grow when rewritten (a key added, ISO 8859-1
        // turned into UTF-8); written, it would lock itself out of every later read.
        const std::string text = kv_format(file);
        if (text.size() > file.max_bytes) {
            file_output_error = EFBIG;
            ok = false;
        } else {
            ok = write_file_replacing(file.path, text);
        }
    }
    file = KeyValueFile {};
    return ok;
}

bool kv_select_group(KeyValueFile& file, const std::string& name)
{
    file.group = name;
    std::ptrdiff_t begin = 0;
    std::ptrdiff_t end = 0;
    return group_range(file, begin, end);
}

std::string kv_read_string(const KeyValueFile& file, const std::string& key, const std::string& fallback)
{
    const KeyValueEntry* entry = find_key(file, key);
    if (entry == nullptr) return fallback;
    return std::string(trim_blanks(entry->value));
}

std::int64_t kv_read_int(const KeyValueFile& file, const std::string& key, std::int64_t fallback)
{
    const KeyValueEntry* entry = find_key(file, key);
    if (entry == nullptr) return fallback;
    return parse_leading_integer(trim_blanks(entry->value));
}

bool kv_write_string(KeyValueFile& file, const std::string& key, const std::string& value)
{
    // A key must read back as the same key: not empty, no '=', no line break,
    // and not starting like a comment, a header or with a blank.
    if (key.empty() || key.find('=') != std::string::npos || has_line_break(key) || key.front() == ';' ||
        key.front() == '[' || is_blank(key.front()) || is_blank(key.back()))
        return false;
    if (has_line_break(value)) return false;

    std::ptrdiff_t begin = 0;
    std::ptrdiff_t end = 0;
    if (!group_range(file, begin, end)) {
        if (has_line_break(file.group) || file.group.find(']') != std::string::npos) return false;
        insert_entry(file, static_cast<std::ptrdiff_t>(file.entries.size()),
                     KeyValueEntry {KeyValueKind::Group, file.group, ""});
        begin = end = static_cast<std::ptrdiff_t>(file.entries.size());
    }
    for (std::ptrdiff_t i = begin; i < end; ++i) {
        KeyValueEntry& entry = file.entries[static_cast<std::size_t>(i)];
        if (entry.kind == KeyValueKind::Key && same_name(entry.name, key)) {
            entry.name = key;
            entry.value = value;
            file.last_written = i;
            file.changed = true;
            return true;
        }
    }
    insert_entry(file, end, KeyValueEntry {KeyValueKind::Key, key, value});
    return true;
}

bool kv_write_int(KeyValueFile& file, const std::string& key, std::int64_t value)
{
    return kv_write_string(file, key, format_integer(value));
}

bool kv_write_comment(KeyValueFile& file, const std::string& text)
{
    if (has_line_break(text)) return false;
    insert_entry(file, file.last_written + 1, KeyValueEntry {KeyValueKind::Comment, text, ""});
    return true;
}

std::int64_t parse_leading_integer(std::string_view text)
{
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t min = std::numeric_limits<std::int64_t>::min();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        // Accumulate on the negative side, which holds one value more.
        if (value < (min + digit) / 10) return negative ? min : max;
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == min ? max : -value;
}

double parse_decimal(std::string_view text)
{
    while (!text.empty() && (is_blank(text.front()) || text.front() == '\n' || text.front() == '\r' ||
                             text.front() == '\v' || text.front() == '\f'))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    auto starts_with_word = [&](std::string_view word) {
        return text.size() >= word.size() && same_name(text.substr(0, word.size()), word);
    };
    double value = 0.0;
    if (starts_with_word("infinity")) {
        value = std::numeric_limits<double>::infinity();
    } else if (starts_with_word("nan")) {
        value = std::numeric_limits<double>::quiet_NaN();
    } else if (!text.empty() && ((text.front() >= '0' && text.front() <= '9') || text.front() == '.')) {
        auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
        if (result.ec == std::errc::result_out_of_range)
            value = decimal_magnitude(text) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        else if (result.ec != std::errc {})
            value = 0.0;
    }
    return negative ? -value : value;
}
