// The dialogs the project commands ask through: the save question and the
// open and save file dialogs, owned by the main window.
#pragma once

#include "editor/core/ProjectCommands.h"

class QWidget;

namespace FramePrompts {
ProjectCommands::Prompts For(QWidget* owner);
}
