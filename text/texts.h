#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Every text the user sees. The English and the Dutch table define the same
// keys; each program links exactly one of them, so the logic never asks which
// language it speaks. A key missing from one table is a link error.
namespace text {

// The pattern with each "{}" replaced by the next value, in order.
std::string fill(const char* pattern, std::initializer_list<std::string_view> values);

// Sprocket tooth form
extern const char* const teeth_out_of_range;
extern const char* const invalid_chain_dimensions;
extern const char* const tooth_form_failed;

// Drive solve and chain laying; "{}" stands for a number filled in by fill()
extern const char* const unknown_chain_size;
extern const char* const prefix_wheel1;
extern const char* const prefix_wheel2;
extern const char* const prefix_idler;
extern const char* const wheels_overlap;
extern const char* const no_valid_input;
extern const char* const centre_distance_too_small;
extern const char* const chain_cannot_be_laid;
extern const char* const chain_too_short;
extern const char* const idler_cannot_take_up;
extern const char* const idler_runs_into_wheel;
extern const char* const internal_roller_count;
extern const char* const warn_odd_links;
extern const char* const warn_idler_touches_wheel1;
extern const char* const warn_idler_touches_wheel2;
extern const char* const warn_wrap_below_120;
extern const char* const warn_recommended_centre_distance;
extern const char* const warn_chain_not_closed;

// Report
extern const char* const report_chain;
extern const char* const report_wheel1;
extern const char* const report_wheel2;
extern const char* const report_idler;
extern const char* const report_ratio;
extern const char* const report_iso_links;
extern const char* const report_tight_links;
extern const char* const report_chosen_links;
extern const char* const report_chain_length;
extern const char* const report_centre_distance_without_idler;
extern const char* const report_idler_deflection;
extern const char* const report_idler_at;
extern const char* const report_error;
extern const char* const report_note;
extern const char* const report_bore1_too_large;
extern const char* const report_bore2_too_large;
extern const char* const report_idler_bore_too_large;
extern const char* const report_pointed;
extern const char* const report_tooth_width;
extern const char* const report_wrap;

}  // namespace text
