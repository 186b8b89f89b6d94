#pragma once
// A whole format drawn into a picture as the design view, the screen layout designer or
// the printer would draw it, through the same element drawing the program uses there.
#include <QImage>
#include <QSize>
#include <cstdint>
#include <string>

#include "model/format_file.h"

enum class RenderMode { Design, Screen, Print };

// The Arial 14-pixel font the capture screen and the screen layout lend to the elements.
LogFont CaptureScreenFont();

// The largest picture that is drawn: 24,000 pixels a side and 80 million pixels (320 MB).
// A letter sheet at 600 dpi is 34 million pixels.
inline constexpr int kMaxRenderSide = 24000;
inline constexpr int64_t kMaxRenderPixels = 80'000'000;

// The picture's size in pixels: its top-left corner is the design view's scrollable
// area's corner (design), the sheet's corner (print) or the capture form's corner
// (screen), and it reaches the right and lower edges of every element, its outline's pen
// included. Design mode measures constant text as drawing it will fit it. Nothing is
// drawn and the elements are left as they are; fonts and positions count as drawing holds
// them (DrawableFont, DrawableRect), so the size is found in bounded time whatever the
// file holds.
QSize RenderSize(const Format& format, RenderMode mode, double dpi);

// Empty when a picture of this size can be drawn; otherwise why not, one line of Spanish
// that the caller prefixes with the name of the format.
std::string RenderRefusal(QSize size);

// Draws the format onto `painter` from its current origin (white background is the
// caller's). Print mode prints constant content only, since no values exist here. Screen
// mode lends each element the screen font and the layout mode for its drawing only: the
// elements are left as they were (design mode fits constant text and places unplaced
// entry controls, as the design view does).
void RenderFormat(Format& format, RenderMode mode, double dpi, QPainter& painter);
