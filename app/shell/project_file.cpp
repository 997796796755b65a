#include "app/shell/project_file.h"

#include <cmath>

#include <sys/stat.h>

#include "app/shell/preferences.h"
#include "files/file_output.h"
#include "files/path_name.h"
#include "model/chain_size.h"
#include "model/format.h"
#include "model/geometry.h"
#include "text/texts.h"

std::string project_file_message;

namespace {

// The same in every language build: these are names in the file, not texts.
const char* const identification_group = "Zandrel";
const char* const file_comment = " Zandrel - project";

std::int64_t flag(std::int64_t value) { return value != 0 ? 1 : 0; }

}  // namespace

int set_project_defaults(DriveInput& input, DriveOptions& options)
{
    // Its callers go on to look sizes up by name.
    load_chain_size_table();
    input = DriveInput{};
    options = DriveOptions{};
    return 0;
}

std::string format_decimal9(double x) { return format_fixed(x, 9); }

double read_project_double(const KeyValueFile& file, const std::string& key, double current)
{
    const std::string current_text = format_decimal9(current);
    double value = parse_decimal(kv_read_string(file, key, current_text));
    // NaN or an infinity would poison the drive and every later save.
    if (!std::isfinite(value)) value = parse_decimal(current_text);
    return value;
}

void project_to_key_values(KeyValueFile& file, const DriveInput& input, const DriveOptions& options)
{
    load_chain_size_table();
    kv_write_comment(file, file_comment);

    kv_select_group(file, identification_group);
    kv_write_int(file, "versie", 1);

    kv_select_group(file, "Ketting");
    if (input.size_index >= 0 && input.size_index < chain_size_count)
        kv_write_string(file, "maat", chain_sizes[static_cast<std::size_t>(input.size_index)].name);
    kv_write_int(file, "schakels", input.links);

    kv_select_group(file, "Wielen");
    kv_write_int(file, "z1", input.z1);
    kv_write_int(file, "z2", input.z2);
    kv_write_string(file, "hartafstand", format_decimal9(input.centre_distance));
    kv_write_string(file, "boring1", format_decimal9(options.bore1));
    kv_write_string(file, "boring2", format_decimal9(options.bore2));

    kv_select_group(file, "Spanwiel");
    kv_write_int(file, "tanden", input.idler_teeth);
    kv_write_string(file, "plaats", format_decimal9(input.idler_position));
    kv_write_int(file, "buiten", input.idler_outside);
    kv_write_string(file, "boring", format_decimal9(options.idler_bore));

    kv_select_group(file, "Weergave");
    kv_write_string(file, "draaistand", format_decimal9(input.rotation));
    kv_write_int(file, "steekcirkels", options.show_pitch_circles);

    kv_select_group(file, "Export");
    kv_write_int(file, "steekcirkels", options.export_pitch_circles);
    kv_write_int(file, "wat", options.export_scope);
    kv_write_string(file, "koordafwijking", format_decimal9(options.chord_tolerance));
}

int write_project_file(const std::string& path, const DriveInput& input, const DriveOptions& options)
{
    project_file_message.clear();
    KeyValueFile file;
    if (!kv_create(file, path)) {
        project_file_message = text::project_cannot_write;
        return 0;
    }
    project_to_key_values(file, input, options);
    if (!kv_close(file)) {
        project_file_message = text::project_cannot_write;
        return 0;
    }
    return 1;
}

int project_from_key_values(KeyValueFile& file, DriveInput& input, DriveOptions& options)
{
    load_chain_size_table();
    kv_select_group(file, identification_group);
    if (kv_read_int(file, "versie", 0) < 1) {
        project_file_message = text::project_not_zandrel;
        return 0;
    }

    kv_select_group(file, "Ketting");
    int size_index = find_chain_size_index(kv_read_string(file, "maat", ""));
    if (size_index < 0) {
        project_file_message = text::project_unknown_chain_size;
        size_index = static_cast<int>(DriveInput{}.size_index);
    }
    input.size_index = size_index;
    input.links = kv_read_int(file, "schakels", input.links);

    kv_select_group(file, "Wielen");
    input.z1 = kv_read_int(file, "z1", input.z1);
    input.z2 = kv_read_int(file, "z2", input.z2);
    input.centre_distance = read_project_double(file, "hartafstand", input.centre_distance);
    options.bore1 = read_project_double(file, "boring1", options.bore1);
    options.bore2 = read_project_double(file, "boring2", options.bore2);

    kv_select_group(file, "Spanwiel");
    input.idler_teeth = kv_read_int(file, "tanden", input.idler_teeth);
    input.idler_position = read_project_double(file, "plaats", input.idler_position);
    input.idler_outside = flag(kv_read_int(file, "buiten", input.idler_outside));
    options.idler_bore = read_project_double(file, "boring", options.idler_bore);

    kv_select_group(file, "Weergave");
    // A file may hold an angle of any size, which one step each way would
    // leave outside the range: a far one is folded first.
    double rotation = read_project_double(file, "draaistand", input.rotation);
    if (rotation > 2.0 * four_pi || rotation < -four_pi) rotation = std::fmod(rotation, four_pi);
    input.rotation = normalise_rotation_angle(rotation);
    options.show_pitch_circles = flag(kv_read_int(file, "steekcirkels", options.show_pitch_circles));

    kv_select_group(file, "Export");
    options.export_pitch_circles = flag(kv_read_int(file, "steekcirkels", options.export_pitch_circles));
    options.export_scope = kv_read_int(file, "wat", options.export_scope);
    options.chord_tolerance = read_project_double(file, "koordafwijking", options.chord_tolerance);

    if (input.idler_position < 0.02)
        input.idler_position = 0.02;
    else if (input.idler_position > 0.98)
        input.idler_position = 0.98;
    if (input.links < 0) input.links = 0;
    if (options.bore1 < 0.0) options.bore1 = 0.0;
    if (options.bore2 < 0.0) options.bore2 = 0.0;
    if (options.idler_bore < 0.0) options.idler_bore = 0.0;
    if (options.export_scope < 0 || options.export_scope > 4) options.export_scope = 0;
    if (options.chord_tolerance < 0.0005 || options.chord_tolerance > 1.0) options.chord_tolerance = 0.01;
    return 1;
}

int load_project_file(const std::string& path, DriveInput& input, DriveOptions& options)
{
    project_file_message.clear();
    load_chain_size_table();
    // Folders, pipes, devices and anything far larger than a project are
    // refused before a byte is read; an empty file holds no project either.
    std::string bytes;
    if (!read_small_file(path, project_file_max_bytes, bytes) || bytes.empty()) {
        project_file_message = text::project_cannot_open;
        return 0;
    }
    KeyValueFile file;
    kv_parse(file, bytes);
    return project_from_key_values(file, input, options);
}

int load_project_over_defaults(const std::string& path, DriveInput& input, DriveOptions& options)
{
    set_project_defaults(input, options);
    return load_project_file(path, input, options);
}

std::string with_project_extension(const std::string& path)
{
    if (extension_dot(file_name_of(path)) != std::string::npos) return path;
    return path + ".zdr";
}

std::string proposed_project_path(const std::string& current_project_path)
{
    if (!current_project_path.empty()) return current_project_path;
    std::string folder = read_pref_folder("projectmap");
    if (folder.empty()) return "zandrel.zdr";
    if (folder.back() != '/') folder += '/';
    return folder + "zandrel.zdr";
}

bool overwrite_question_needed(const std::string& path, const std::string& current_project_path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return false;
    return path != current_project_path;
}
