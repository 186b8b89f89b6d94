#include "setup/ui/setup_art.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <functional>

namespace SetupArt {

namespace {

const QColor kFrameDark(0, 40, 140);
const QColor kFrameMid(110, 140, 215);
const QColor kFrameLight(205, 218, 246);
const QColor kFrameShade(150, 160, 185);

QPixmap Blank(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The strip's body: light at the top, a soft blue towards the bottom, a dark line at the
// very bottom where the strip meets the panel.
void PaintStripBody(QPainter& painter, const QRect& rect)
{
    QLinearGradient fill(0, rect.top(), 0, rect.bottom());
    fill.setColorAt(0.0, QColor(250, 252, 255));
    fill.setColorAt(0.55, QColor(222, 231, 250));
    fill.setColorAt(1.0, QColor(182, 200, 240));
    painter.fillRect(rect, fill);
    painter.setPen(kFrameDark);
    painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
}

// One end of the strip: the body with a rounded outer corner and a dark outer edge.
QPixmap TitleEnd(int height, bool left)
{
    QPixmap pixmap = Blank(kTitleEndWidth, height);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    const QRectF body(0, 0, kTitleEndWidth, height);
    shape.addRoundedRect(left ? body.adjusted(0, 0, 12, 0) : body.adjusted(-12, 0, 0, 0), 6, 6);
    QPainterPath square;
    square.addRect(left ? body.adjusted(0, height / 2.0, 12, 0) : body.adjusted(-12, height / 2.0, 0, 0));
    painter.setClipPath(shape.united(square));
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintStripBody(painter, pixmap.rect());
    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kFrameDark, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape.united(square).translated(left ? 0.5 : -0.5, 0.5));
    if (left) {
        // A small emblem at the strip's start: the installer's box.
        const QRectF box(6, height / 2.0 - 5, 11, 9);
        painter.setPen(QPen(kFrameDark, 1));
        painter.setBrush(QColor(255, 214, 120));
        painter.drawRect(box);
        painter.drawLine(QPointF(box.left(), box.top() + 3), QPointF(box.right(), box.top() + 3));
    }
    return pixmap;
}

QPixmap Cached(const QString& key, const std::function<QPixmap()>& make)
{
    static QHash<QString, QPixmap> cache;
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, make());
    return *it;
}

}  // namespace

QFont Arial(int cellHeight, int weight, bool italic)
{
    // Arial and its metric twin Liberation Sans: 2048 units to the em, a cell of 1854
    // above the baseline and 434 below.
    constexpr double kEmPerCell = 2048.0 / (1854.0 + 434.0);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(cellHeight * kEmPerCell))));
    font.setWeight(QFont::Weight(weight));
    font.setItalic(italic);
    return font;
}

QPixmap TitleLeftEnd(int height)
{
    return Cached(QStringLiteral("title-left-%1").arg(height), [&] { return TitleEnd(height, true); });
}

QPixmap TitleRightEnd(int height)
{
    return Cached(QStringLiteral("title-right-%1").arg(height), [&] { return TitleEnd(height, false); });
}

QPixmap TitleMiddle(int height)
{
    return Cached(QStringLiteral("title-middle-%1").arg(height), [&] {
        QPixmap pixmap = Blank(16, height);
        QPainter painter(&pixmap);
        PaintStripBody(painter, pixmap.rect());
        return pixmap;
    });
}

QPixmap BorderCorner(Corner corner)
{
    return Cached(QStringLiteral("corner-%1").arg(int(corner)), [&] {
        QPixmap pixmap = Blank(kBorderSide, kBorderTopBottom);
        QPainter painter(&pixmap);
        painter.fillRect(pixmap.rect(), kFrameLight);
        painter.setPen(kFrameDark);
        const bool left = corner == Corner::TopLeft || corner == Corner::BottomLeft;
        const bool top = corner == Corner::TopLeft || corner == Corner::TopRight;
        const int outerX = left ? 0 : kBorderSide - 1;
        const int outerY = top ? 0 : kBorderTopBottom - 1;
        painter.drawLine(outerX, 0, outerX, kBorderTopBottom - 1);
        painter.drawLine(0, outerY, kBorderSide - 1, outerY);
        painter.setPen(kFrameMid);
        painter.drawPoint(left ? 1 : kBorderSide - 2, top ? 1 : kBorderTopBottom - 2);
        return pixmap;
    });
}

QPixmap BorderSideEdge(bool left)
{
    return Cached(QStringLiteral("side-%1").arg(left), [&] {
        QPixmap pixmap = Blank(kBorderSide, kBorderSideTile);
        QPainter painter(&pixmap);
        // Columns from the outside in: dark frame, mid blue, light, light, shade.
        const QColor columns[kBorderSide] = {kFrameDark, kFrameMid, kFrameLight, kFrameLight, kFrameShade};
        for (int i = 0; i < kBorderSide; ++i) {
            painter.setPen(columns[i]);
            const int x = left ? i : kBorderSide - 1 - i;
            painter.drawLine(x, 0, x, kBorderSideTile - 1);
        }
        // A rivet in the middle of each tile.
        painter.setPen(Qt::white);
        painter.drawPoint(left ? 2 : kBorderSide - 3, kBorderSideTile / 2);
        return pixmap;
    });
}

QPixmap BorderTopBottomEdge(bool top)
{
    return Cached(QStringLiteral("edge-%1").arg(top), [&] {
        QPixmap pixmap = Blank(kBorderTopBottomTile, kBorderTopBottom);
        QPainter painter(&pixmap);
        const QColor rows[kBorderTopBottom] = {kFrameDark, kFrameMid, kFrameLight, kFrameShade};
        for (int i = 0; i < kBorderTopBottom; ++i) {
            painter.setPen(rows[i]);
            const int y = top ? i : kBorderTopBottom - 1 - i;
            painter.drawLine(0, y, kBorderTopBottomTile - 1, y);
        }
        painter.setPen(Qt::white);
        painter.drawPoint(kBorderTopBottomTile / 2, top ? 2 : kBorderTopBottom - 3);
        return pixmap;
    });
}

void PaintBorder(QPainter& painter, const QRect& rect)
{
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.right() + 1 - kBorderSide;
    const int bottom = rect.bottom() + 1 - kBorderTopBottom;
    painter.drawTiledPixmap(QRect(left + kBorderSide, top, rect.width() - 2 * kBorderSide, kBorderTopBottom),
                            BorderTopBottomEdge(true));
    painter.drawTiledPixmap(QRect(left + kBorderSide, bottom, rect.width() - 2 * kBorderSide, kBorderTopBottom),
                            BorderTopBottomEdge(false));
    painter.drawTiledPixmap(QRect(left, top + kBorderTopBottom, kBorderSide, rect.height() - 2 * kBorderTopBottom),
                            BorderSideEdge(true));
    painter.drawTiledPixmap(QRect(right, top + kBorderTopBottom, kBorderSide, rect.height() - 2 * kBorderTopBottom),
                            BorderSideEdge(false));
    painter.drawPixmap(left, top, BorderCorner(Corner::TopLeft));
    painter.drawPixmap(right, top, BorderCorner(Corner::TopRight));
    painter.drawPixmap(left, bottom, BorderCorner(Corner::BottomLeft));
    painter.drawPixmap(right, bottom, BorderCorner(Corner::BottomRight));
}

namespace {

// The rounded body shared by the caption buttons and the strip's small buttons.
void PaintFaceBody(QPainter& painter, const QRectF& rect, FaceState state, qreal radius)
{
    QLinearGradient fill(0, rect.top(), 0, rect.bottom());
    switch (state) {
    case FaceState::Normal:
        fill.setColorAt(0.0, QColor(255, 255, 255));
        fill.setColorAt(0.5, QColor(226, 234, 250));
        fill.setColorAt(1.0, QColor(178, 196, 238));
        break;
    case FaceState::Hover:
        fill.setColorAt(0.0, QColor(255, 255, 255));
        fill.setColorAt(0.5, QColor(238, 244, 255));
        fill.setColorAt(1.0, QColor(200, 216, 252));
        break;
    case FaceState::Pressed:
        fill.setColorAt(0.0, QColor(168, 188, 234));
        fill.setColorAt(1.0, QColor(226, 234, 250));
        break;
    case FaceState::Disabled:
        fill.setColorAt(0.0, QColor(240, 240, 240));
        fill.setColorAt(1.0, QColor(205, 205, 205));
        break;
    }
    painter.setBrush(fill);
    painter.setPen(QPen(state == FaceState::Disabled ? QColor(150, 150, 150) : kFrameDark, 1));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

}  // namespace

QPixmap ButtonFace(const QString& caption, const QSize& size, FaceState state)
{
    const QString key = QStringLiteral("face-%1-%2x%3-%4").arg(caption).arg(size.width()).arg(size.height()).arg(int(state));
    return Cached(key, [&] {
        QPixmap pixmap = Blank(size.width(), size.height());
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintFaceBody(painter, QRectF(pixmap.rect()), state, 4);
        painter.setFont(Arial(14, 700));
        painter.setPen(state == FaceState::Disabled ? QColor(140, 140, 140) : kFrameDark);
        const int shift = state == FaceState::Pressed ? 1 : 0;
        painter.drawText(pixmap.rect().translated(shift, shift), Qt::AlignCenter, caption);
        return pixmap;
    });
}

QPixmap GlyphFace(Glyph glyph, const QSize& size, FaceState state)
{
    const QString key = QStringLiteral("glyph-%1-%2x%3-%4").arg(int(glyph)).arg(size.width()).arg(size.height()).arg(int(state));
    return Cached(key, [&] {
        QPixmap pixmap = Blank(size.width(), size.height());
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintFaceBody(painter, QRectF(pixmap.rect()), state, 3);
        painter.setPen(QPen(glyph == Glyph::Close && state == FaceState::Hover ? QColor(200, 20, 20) : kFrameDark, 2,
                            Qt::SolidLine, Qt::RoundCap));
        const QRectF inner = QRectF(pixmap.rect()).adjusted(4.5, 4.5, -4.5, -4.5);
        if (glyph == Glyph::Close) {
            painter.drawLine(inner.topLeft(), inner.bottomRight());
            painter.drawLine(inner.topRight(), inner.bottomLeft());
        } else {
            painter.drawLine(QPointF(inner.left(), inner.bottom()), inner.bottomRight());
        }
        return pixmap;
    });
}

QIcon InstallerIcon()
{
    QIcon icon;
    for (int side : {16, 32, 48, 64}) {
        QPixmap pixmap = Blank(side, side);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / 32.0, side / 32.0);
        // An open box...
        painter.setPen(QPen(kFrameDark, 1.5));
        painter.setBrush(QColor(255, 204, 102));
        painter.drawRect(QRectF(5, 15, 22, 14));
        painter.setBrush(QColor(240, 180, 70));
        painter.drawPolygon(QPolygonF({QPointF(5, 15), QPointF(1, 10), QPointF(12, 10), QPointF(16, 15)}));
        painter.drawPolygon(QPolygonF({QPointF(27, 15), QPointF(31, 10), QPointF(20, 10), QPointF(16, 15)}));
        // ...and the blue arrow going into it.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Accent());
        painter.drawPolygon(QPolygonF({QPointF(13, 1), QPointF(19, 1), QPointF(19, 11), QPointF(24, 11),
                                       QPointF(16, 20), QPointF(8, 11), QPointF(13, 11)}));
        icon.addPixmap(pixmap);
    }
    return icon;
}

void PaintSunkenBox(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, Qt::white);
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(l, t, r - 1, t);
    painter.drawLine(l, t, l, b - 1);
    painter.setPen(QColor(64, 64, 64));
    painter.drawLine(l + 1, t + 1, r - 2, t + 1);
    painter.drawLine(l + 1, t + 1, l + 1, b - 2);
    painter.setPen(Qt::white);
    painter.drawLine(l, b, r, b);
    painter.drawLine(r, t, r, b);
    painter.setPen(QColor(212, 208, 200));
    painter.drawLine(l + 1, b - 1, r - 1, b - 1);
    painter.drawLine(r - 1, t + 1, r - 1, b - 1);
}

}  // namespace SetupArt
