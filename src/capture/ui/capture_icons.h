#pragma once
// The capture toolbar's pictures, drawn by the program at 16 x 16 pixels (and twice that
// for high-density screens), so they need no image files.
#include <QIcon>

namespace CaptureIcons {
QIcon OpenFormat();  // an opened folder with a sheet
QIcon Print();       // a printer with a sheet coming out
QIcon PrintPreview();  // a sheet under a magnifying glass
QIcon Margins();     // a sheet with arrows pushing its content right and down
QIcon Clear();       // a sheet and an eraser
QIcon About();       // a speech bubble with a question mark
}  // namespace CaptureIcons
