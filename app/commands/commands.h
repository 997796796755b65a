#pragma once

// The commands the dispatcher calls, each in its own header: the canvas
// mouse, the project commands, the export command, and the guide and About
// commands. Only the top of the program includes this.
#include "app/commands/canvas_mouse.h"
#include "app/commands/export_command.h"
#include "app/commands/help_commands.h"
#include "app/commands/project_dialogs.h"
