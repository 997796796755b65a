#include "app/commands_placeholder.h"

// The guide and About commands live in guide_command.cpp and about_window.cpp.
