#pragma once
// The design mode's toolbar pictures and pointer shapes, drawn by the program itself.
#include <QCursor>
#include <QIcon>

#include "design/design_editor.h"

// The toolbar picture of a design command (an empty icon for an unknown id).
QIcon DesignCommandIcon(int commandId);
// The pointer shape of each role.
QCursor DesignCursorShape(DesignCursor cursor);
