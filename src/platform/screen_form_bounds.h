#pragma once
// Everything the capture screen and the screen layout draw of a format, in form pixels:
// the controls with their outlines, the captions beside or above them and the order
// badges. Captions stand left of and above their controls, so they may reach past the
// form's origin; a view that starts its picture at this rectangle's corner shows every
// caption and outline whole, while the positions stored in the file stay as they are.
#include "base/geometry.h"
#include "model/format_file.h"

// The stored extent united with every drawn thing. `withOrderBadges` counts the badges
// the screen layout shows in capture-order mode.
Rect ScreenFormBounds(const Format& format, bool withOrderBadges);
