#pragma once
// A whole format drawn into a picture as the design view, the screen layout designer or
// the printer would draw it, through the same element drawing the program uses there.
#include <QImage>
#include <QSize>
#include <string>

#include "format_file.h"

enum class RenderMode { Design, Screen, Print };

// The Arial 14-pixel font the capture screen and the screen layout lend to the elements.
LogFont CaptureScreenFont();

// The picture's size in pixels: its top-left corner is the design view's scrollable
// area's corner (design), the sheet's corner (print) or the capture form's corner
// (screen), and it reaches the right and lower edges of every element. Design mode fits
// constant text to its text first, as drawing it does.
QSize RenderSize(Format& format, RenderMode mode, double dpi);

// Draws the format onto `painter` from its current origin (white background is the
// caller's). Print mode prints constant content only, since no values exist here.
void RenderFormat(Format& format, RenderMode mode, double dpi, QPainter& painter);
