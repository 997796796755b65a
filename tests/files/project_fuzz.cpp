// libFuzzer target for the reader of project and preferences files: any bytes
// must load without a crash or sanitizer report, give records inside their
// limits, and save to a file that loads back to the same records.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/key_value_file.h"
#include "app/shell/project_file.h"
#include "model/drive.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

bool same(const DriveInput& a, const DriveOptions& ao, const DriveInput& b, const DriveOptions& bo)
{
    return a.size_index == b.size_index && a.z1 == b.z1 && a.z2 == b.z2 && a.idler_teeth == b.idler_teeth &&
           a.centre_distance == b.centre_distance && a.links == b.links && a.idler_position == b.idler_position &&
           a.idler_outside == b.idler_outside && a.rotation == b.rotation && ao.bore1 == bo.bore1 &&
           ao.bore2 == bo.bore2 && ao.idler_bore == bo.idler_bore &&
           ao.show_pitch_circles == bo.show_pitch_circles && ao.export_pitch_circles == bo.export_pitch_circles &&
           ao.export_scope == bo.export_scope && ao.chord_tolerance == bo.chord_tolerance;
}

void require_within_limits(const DriveInput& input, const DriveOptions& options)
{
    require(input.size_index >= 0 && input.size_index <= 9);
    require(std::isfinite(input.centre_distance));
    require(input.links >= 0);
    require(input.idler_position >= 0.02 && input.idler_position <= 0.98);
    require(input.idler_outside == 0 || input.idler_outside == 1);
    require(input.rotation >= 0.0 && input.rotation <= 12.566370614359172);
    require(std::isfinite(options.bore1) && options.bore1 >= 0.0);
    require(std::isfinite(options.bore2) && options.bore2 >= 0.0);
    require(std::isfinite(options.idler_bore) && options.idler_bore >= 0.0);
    require(options.show_pitch_circles == 0 || options.show_pitch_circles == 1);
    require(options.export_pitch_circles == 0 || options.export_pitch_circles == 1);
    require(options.export_scope >= 0 && options.export_scope <= 4);
    require(options.chord_tolerance >= 0.0005 && options.chord_tolerance <= 1.0);
}

// Saves the records and loads them again over the defaults.
void save_and_load(const DriveInput& input, const DriveOptions& options, DriveInput& out_input,
                   DriveOptions& out_options)
{
    KeyValueFile saved;
    project_to_key_values(saved, input, options);
    KeyValueFile loaded;
    kv_parse(loaded, kv_format(saved));
    set_project_defaults(out_input, out_options);
    project_file_message.clear();
    require(project_from_key_values(loaded, out_input, out_options) == 1);
    require(project_file_message.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    parse_decimal(bytes);
    parse_leading_integer(bytes);

    KeyValueFile file;
    kv_parse(file, bytes);
    // Whatever was read is written back so that it reads the same again.
    std::string once = kv_format(file);
    KeyValueFile again;
    kv_parse(again, once);
    require(kv_format(again) == once);

    DriveInput input;
    DriveOptions options;
    set_project_defaults(input, options);
    project_file_message.clear();
    if (project_from_key_values(file, input, options) != 1) return 0;
    require_within_limits(input, options);

    DriveInput second;
    DriveOptions second_options;
    save_and_load(input, options, second, second_options);
    require_within_limits(second, second_options);
    DriveInput third;
    DriveOptions third_options;
    save_and_load(second, second_options, third, third_options);
    require(same(second, second_options, third, third_options));
    return 0;
}
