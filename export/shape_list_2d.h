#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/drive.h"
#include "model/point.h"

// The kind of an exported element; its name is the DXF layer and the STEP
// curve set, in the language of the build.
enum LayerCode : std::int64_t {
    LayerZ1 = 0,
    LayerZ2 = 1,
    LayerIdler = 2,
    LayerInnerPlate = 3,
    LayerOuterPlate = 4,
    LayerPin = 5,
    LayerRoller = 6,
    LayerPitchCircle = 7,  // 2D only
    LayerBush = 8,         // 3D only
};

// Every code that is not 0 to 6 or 8 is taken as the pitch circle layer.
std::string layer_name(std::int64_t code);
std::int64_t layer_colour_index(std::int64_t code);  // DXF group 62

// The name and the colour number (as text) of every code, looked up once for
// a whole file.
struct LayerTexts {
    std::array<std::string, 9> name;
    std::array<std::string, 9> colour;

    LayerTexts();
    // The index of the code's texts; every unknown code is the pitch circle's.
    std::size_t slot(std::int64_t code) const;
};

// One element of the 2D drawing, in model millimetres.
struct Shape2D {
    std::int64_t layer = 0;      // LayerCode
    std::int64_t is_circle = 0;  // 1: cx, cy, r; 0: the closed polyline `points`
    double cx = 0.0;
    double cy = 0.0;
    double r = 0.0;  // above 0 for a circle
    Outline points;  // closed, the first point not repeated
};

// The drawing of the export scope, shape by shape: each exported wheel
// (outline, bore, pitch circle on request), then every link plate in chain
// order, then roller by roller a ROLLER and a PIN circle. `visit` sees one
// shape at a time, which lives only for the call, so that a writer never
// holds the drawing of a long chain whole; with `layer` at 0 or above only the
// shapes of that layer are made. 0, visiting nothing, with "There is no valid
// drive to export." in export_error_text when no drive is laid or the chain
// size is unknown.
std::int64_t for_each_2d_shape(const DriveInput& input, const DriveSolution& solution, const DriveOptions& options,
                               std::int64_t layer, const std::function<void(const Shape2D&)>& visit);

// What a writer does before it opens its file: goes through the shapes once
// (`also` sees each of them) and returns 1 when they can be written; 0 with
// the reason in export_error_text when no drive is laid, the chain size is
// unknown, nothing is selected, a coordinate is not a finite number ("There
// is no valid drive to export."), or an exported wheel's bore is too large
// (check_export_bores).
std::int64_t check_2d_shapes(const DriveInput& input, const DriveSolution& solution, const DriveOptions& options,
                             const std::function<void(const Shape2D&)>& also = {});

// The whole drawing as a list, emptied first: 1 when built, 0 as
// check_2d_shapes (the list then stays empty).
std::int64_t build_2d_shape_list(const DriveInput& input, const DriveSolution& solution,
                                 const DriveOptions& options, std::vector<Shape2D>& list);

// A circle element; nothing unless r is above 0.
void add_circle_shape_2d(std::vector<Shape2D>& list, std::int64_t code, double cx, double cy, double r);
