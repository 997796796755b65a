#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/point.h"
#include "model/sprocket.h"

// What the user sets and the project file stores. The member values of the
// two records are the program's default drive: the window starts with them,
// and a project file takes them for the keys it lacks.
struct DriveInput {
    std::int64_t size_index = 2;  // row of the chain table, "08B"
    std::int64_t z1 = 17;
    std::int64_t z2 = 34;
    std::int64_t idler_teeth = 15;
    double centre_distance = 500.0;  // mm
    std::int64_t links = 0;          // 0 = the smallest even count that closes
    double idler_position = 0.5;     // 0..1 along the slack strand
    std::int64_t idler_outside = 1;  // 1: outside the chain loop, pushing inwards
    double rotation = 0.0;           // wheel 1's angle in radians, in [0, 4 pi]
};

// The smallest bore a wheel takes, mm. A smaller one is no hole any tool
// cuts, and it would reach the files as a circle of no size and a mesh whose
// corners fall together; it is refused as a bore that is too large is.
inline constexpr double smallest_bore = 0.01;
inline bool bore_too_small(double bore) { return bore > 0.0 && bore < smallest_bore; }

struct DriveOptions {
    double bore1 = 0.0;  // mm, 0 = none
    double bore2 = 0.0;
    double idler_bore = 0.0;
    std::int64_t show_pitch_circles = 1;
    std::int64_t export_pitch_circles = 1;
    std::int64_t export_scope = 0;  // ExportScope
    double chord_tolerance = 0.01;  // mm
};

// The three pitch circles in chain order.
enum WheelSlot : int { Wheel1 = 0, Idler = 1, Wheel2 = 2 };

struct PitchCircle {
    double x = 0.0;
    double y = 0.0;
    double radius = 0.0;      // pitch radius
    std::int64_t sense = 1;   // +1: the chain runs counter-clockwise round it
    std::int64_t teeth = 0;
    double phase = 0.0;       // angle of a roller seat
    double wrap = 0.0;        // wrap angle of the chain, 0..2 pi
};

struct DriveSolution {
    std::int64_t valid = 0;  // sprockets built, wheels apart
    std::int64_t laid = 0;   // chain laid, idler solved
    std::string error_text;
    std::string warning_text;  // one warning a line, each ending in '\n'
    std::array<PitchCircle, 3> circles;  // indexed by WheelSlot
    SprocketGeometry wheel1_geometry;
    SprocketGeometry wheel2_geometry;
    SprocketGeometry idler_geometry;
    Outline rollers;  // roller centres in chain order, roller 0 leaves wheel 1
    double pitch = 0.0;
    std::int64_t chosen_links = 0;
    double iso_links = 0.0;
    double tight_links = 0.0;
    double centre_distance_without_idler = 0.0;
    double idler_deflection = 0.0;
    double closure_deviation = 0.0;
    // Link i joins roller i and i + 1; it is an inner link when i + link_parity is even.
    std::int64_t link_parity = 0;
    Point2D slack_start;
    Point2D slack_end;
    Point2D strand_normal;  // unit normal of the slack strand, into the loop
};

extern DriveInput drive_input;
extern DriveOptions drive_options;
extern DriveSolution drive_solution;

// The full recalculation: sprockets, overlap check, link counts, laying.
// 1 when the chain is laid, else 0 with the reason in error_text.
std::int64_t compute_drive(const DriveInput& input, DriveSolution& solution);
