#include "text/texts.h"

namespace text {

const char* const teeth_out_of_range = "Number of teeth must be between 6 and 250.";
const char* const invalid_chain_dimensions = "Invalid chain dimensions.";
const char* const tooth_form_failed = "Tooth form could not be constructed.";

}  // namespace text
