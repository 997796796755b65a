#pragma once

#include <string>

#include "model/drive.h"

// The report under the input panel: chain, wheels, link counts, idler, the
// error and the notes. The window puts it into its report field.
std::string build_report_text(const DriveInput& input, const DriveOptions& options, const DriveSolution& solution);

// The paragraph of one wheel; the wrap angle only when the chain is laid.
std::string format_wheel_report(const std::string& title, const SprocketGeometry& geometry,
                                const PitchCircle& circle, bool laid);
