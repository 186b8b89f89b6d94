#pragma once
// Toolbar pictures drawn by the program itself, so the frames need no image files.
#include <QIcon>
#include <functional>

class QPainter;

// A picture painted on a 16 x 16 grid, rendered at 16 and 32 pixels so it stays sharp on
// the usual toolbar buttons and on dense screens. The painter starts with Qt's defaults.
QIcon PaintedIcon(const std::function<void(QPainter&)>& paint);

// The "Acerca de" button's picture: a speech bubble with a question mark, the same in
// every frame's toolbar.
QIcon AboutIcon();
