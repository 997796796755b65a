#include "text/texts.h"

namespace text {

const char* const teeth_out_of_range = "Tandental moet tussen 6 en 250 liggen.";
const char* const invalid_chain_dimensions = "Ongeldige kettingmaten.";
const char* const tooth_form_failed = "Tandvorm kan niet worden gemaakt.";

}  // namespace text
