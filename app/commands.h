#pragma once

// The commands the dispatcher calls, each in its own header: the project
// commands, the export command, and the guide and About commands.
#include "app/export_command.h"
#include "app/help_commands.h"
#include "app/project_dialogs.h"
