#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "files/key_value_file.h"
#include "model/drive.h"

// The project of data/nondefault.zdr: every field away from its default.
inline DriveInput nondefault_input()
{
    DriveInput input;
    input.size_index = 4;  // 12B
    input.z1 = 21;
    input.z2 = 57;
    input.idler_teeth = 19;
    input.centre_distance = 812.345678912;
    input.links = 120;
    input.idler_position = 0.3125;
    input.idler_outside = 0;
    input.rotation = 3.25;
    return input;
}

inline DriveOptions nondefault_options()
{
    DriveOptions options;
    options.bore1 = 25.4;
    options.bore2 = 40.0;
    options.idler_bore = 12.5;
    options.show_pitch_circles = 0;
    options.export_pitch_circles = 0;
    options.export_scope = 3;
    options.chord_tolerance = 0.0025;
    return options;
}

inline void expect_same_project(const DriveInput& input, const DriveOptions& options, const DriveInput& want_input,
                                const DriveOptions& want_options)
{
    EXPECT_EQ(input.size_index, want_input.size_index);
    EXPECT_EQ(input.z1, want_input.z1);
    EXPECT_EQ(input.z2, want_input.z2);
    EXPECT_EQ(input.idler_teeth, want_input.idler_teeth);
    EXPECT_EQ(input.centre_distance, want_input.centre_distance);
    EXPECT_EQ(input.links, want_input.links);
    EXPECT_EQ(input.idler_position, want_input.idler_position);
    EXPECT_EQ(input.idler_outside, want_input.idler_outside);
    EXPECT_EQ(input.rotation, want_input.rotation);
    EXPECT_EQ(options.bore1, want_options.bore1);
    EXPECT_EQ(options.bore2, want_options.bore2);
    EXPECT_EQ(options.idler_bore, want_options.idler_bore);
    EXPECT_EQ(options.show_pitch_circles, want_options.show_pitch_circles);
    EXPECT_EQ(options.export_pitch_circles, want_options.export_pitch_circles);
    EXPECT_EQ(options.export_scope, want_options.export_scope);
    EXPECT_EQ(options.chord_tolerance, want_options.chord_tolerance);
}

// Drops every line of `key` from the selected group (the writer never removes).
inline void remove_key(KeyValueFile& file, const std::string& key)
{
    bool in_group = file.group.empty();
    std::vector<KeyValueEntry> kept;
    for (const KeyValueEntry& entry : file.entries) {
        if (entry.kind == KeyValueKind::Group) in_group = entry.name == file.group;
        if (in_group && entry.kind == KeyValueKind::Key && entry.name == key) continue;
        kept.push_back(entry);
    }
    file.entries = kept;
}
