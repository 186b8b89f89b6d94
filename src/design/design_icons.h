#pragma once
// The design mode's toolbar pictures and pointer shapes, drawn by the program itself.
#include <QCursor>
#include <QIcon>
#include <functional>

class QPainter;

#include "design/design_editor.h"

// A toolbar picture painted on a 16 x 16 grid (pen: 1 unit of dark ink), rendered at
// twice that size so it stays sharp on 24-pixel buttons and dense screens.
QIcon PaintedIcon(const std::function<void(QPainter&)>& paint);
// The toolbar picture of a design command (an empty icon for an unknown id).
QIcon DesignCommandIcon(int commandId);
// The pointer shape of each role.
QCursor DesignCursorShape(DesignCursor cursor);
