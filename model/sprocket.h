#pragma once

#include <cstdint>
#include <string>

#include "model/point.h"

// Tooth data of one wheel after DIN 8196 and its closed outline around (0, 0).
// Lengths in mm, angles in radians. Where the standard gives a range, the
// wheel takes its middle.
struct SprocketGeometry {
    std::int64_t teeth = 0;
    double pitch = 0.0;
    double roller_diameter = 0.0;
    double pitch_diameter = 0.0;
    double root_diameter = 0.0;
    double tip_diameter = 0.0;
    double tip_diameter_min = 0.0;
    double tip_diameter_max = 0.0;
    double drawn_tip_diameter = 0.0;
    double seating_radius = 0.0;
    double flank_radius = 0.0;
    double seating_angle = 0.0;
    double tooth_width = 0.0;
    std::int64_t pointed = 0;
    std::int64_t valid = 0;
    std::string error_text;
    // Counter-clockwise, the middle of one tooth gap on the positive x axis.
    Outline outline;
};

// Builds the wheel; 1 on success, 0 with the reason in error_text. A step of 0
// or less spaces the outline's points p / 200 apart along every arc.
int build_sprocket(SprocketGeometry& geometry, std::int64_t teeth, double pitch,
                   double roller_diameter, double inner_width, double step);

// The flank arc point at turning angle phi; (ux, uy) points from the seat
// centre to the end of the seat.
Point2D flank_arc_point(double fx, double fy, double re, double ux, double uy, double phi);

// 1 when the flank point at phi has reached the tip circle or the tooth's centre line.
int flank_limit_reached(double fx, double fy, double re, double ux, double uy, double phi,
                        double tip_radius, double half_tooth_angle);
