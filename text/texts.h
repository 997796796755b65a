#pragma once

// Every text the user sees. The English and the Dutch table define the same
// keys; each program links exactly one of them, so the logic never asks which
// language it speaks. A key missing from one table is a link error.
namespace text {

// Sprocket tooth form
extern const char* const teeth_out_of_range;
extern const char* const invalid_chain_dimensions;
extern const char* const tooth_form_failed;

}  // namespace text
