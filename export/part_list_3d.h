#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/drive.h"

// What a solid of the 3D exports is: a toothed disc, a link plate with two
// holes, or a cylinder (a tube when it has an inner diameter).
enum PartKind : std::int64_t { PartWheel = 0, PartPlate = 1, PartCylinder = 2 };

// One solid of the exported drive: a prism along z from z_low to z_high, the
// plane z = 0 being the middle of the chain and of the wheels. Only the fields
// of its own kind are set; the others stay 0.
struct ExportPart {
    std::int64_t kind = PartWheel;  // PartKind
    std::int64_t layer = 0;         // LayerCode
    std::string name;               // the solid's name in 3D STEP files
    double z_low = 0.0;
    double z_high = 0.0;
    // Wheel: which wheel (its outline comes from the drive) and its bore, 0 = none.
    std::int64_t wheel_slot = 0;  // WheelSlot
    double bore = 0.0;
    // Plate: the centres of its two holes, the link's two rollers.
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    double plate_height = 0.0;
    double plate_hole_diameter = 0.0;
    // Cylinder: the axis and the diameters; inner 0 = a solid cylinder.
    double cx = 0.0;
    double cy = 0.0;
    double outer_diameter = 0.0;
    double inner_diameter = 0.0;
};

// The solids of the export scope, the list emptied first: Z1, Z2 and the idler
// as discs of their own tooth width, then link by link in chain order its two
// plates (+z side "a", -z side "b") with two bushes and two rollers (inner link)
// or two pins (outer link), cylinder "a" on the link's first roller and "b" on
// its second. With an odd number of links the last link is of the same kind
// as the first, and its "b" cylinders, which would lie in those of link 1 on
// roller 0, are left out.
// 1 when built (an empty list for a scope outside the table); 0 with an empty
// list and the reason in export_error_text when no drive is laid, the chain
// size is unknown, a position is not a finite number ("There is no valid drive
// to export.") or an exported wheel's bore is too large (check_export_bores).
std::int64_t build_3d_part_list(const DriveInput& input, const DriveSolution& solution, const DriveOptions& options,
                                std::vector<ExportPart>& list);
