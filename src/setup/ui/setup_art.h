#pragma once
// The installer's own look: the title strip's skin, the panel's border, the button faces
// and the window icon, all painted by the program into pixmaps (no picture files), plus
// the fonts and colours every part of the wizard shares.
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

class QPainter;
class QRect;

namespace SetupArt {

// The blue of the captions, the status texts and the progress bar.
inline QColor Accent() { return QColor(0, 64, 255); }
// The pages' grey.
inline QColor PageGrey() { return QColor(218, 218, 218); }

// Arial whose character cell (ascent + descent) is `cellHeight` pixels, as the window
// system's font heights are given, with a weight on the 100..900 scale (400 normal, 800
// heavy). The em, which Qt sizes, is smaller than the cell.
QFont Arial(int cellHeight, int weight = 400, bool italic = false);

// The title strip's skin: a 40-pixel left end, a piece tiled across the middle and a
// 40-pixel right end, all `height` pixels high.
QPixmap TitleLeftEnd(int height);
QPixmap TitleMiddle(int height);
QPixmap TitleRightEnd(int height);
constexpr int kTitleEndWidth = 40;

// The panel's border pieces: corners 5 x 4, side edges 5 wide tiled every 35 pixels,
// top and bottom edges 4 high tiled every 44 pixels.
constexpr int kBorderSide = 5;
constexpr int kBorderTopBottom = 4;
constexpr int kBorderSideTile = 35;
constexpr int kBorderTopBottomTile = 44;
enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };
QPixmap BorderCorner(Corner corner);
QPixmap BorderSideEdge(bool left);
QPixmap BorderTopBottomEdge(bool top);
// Draws the whole border around `rect` from the pieces above.
void PaintBorder(QPainter& painter, const QRect& rect);

// A button face with its caption, in one of its states.
enum class FaceState { Normal, Hover, Pressed, Disabled };
QPixmap ButtonFace(const QString& caption, const QSize& size, FaceState state);
// The title strip's small buttons: a cross (close) or a bar (minimize).
enum class Glyph { Close, Minimize };
QPixmap GlyphFace(Glyph glyph, const QSize& size, FaceState state);

// The installer's icon: a box with an arrow going into it.
QIcon InstallerIcon();

// A sunken white box, as an edit box is framed (two-pixel edge, dark above and at the
// left, light below and at the right).
void PaintSunkenBox(QPainter& painter, const QRect& rect);

}  // namespace SetupArt
