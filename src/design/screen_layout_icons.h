#pragma once
// The screen layout toolbar's pictures, drawn by the program (no image files).
#include <QIcon>

// The picture of a screen layout command; opening and saving share the design mode's.
QIcon ScreenLayoutIcon(int commandId);
