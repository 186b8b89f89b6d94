#include "capture/ui/capture_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "platform/painted_icon.h"

namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);

// A sheet with a folded corner inside the rectangle.
void Sheet(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
}

}  // namespace

namespace CaptureIcons {

QIcon OpenFormat()
{
    return PaintedIcon([](QPainter& p) {
        Sheet(p, QRectF(4.5, 1.5, 8, 9));
        p.setPen(QPen(QColor(70, 110, 190), 1));
        for (int y = 4; y <= 8; y += 2)
            p.drawLine(QPointF(6, y + 0.5), QPointF(11, y + 0.5));
        // The folder: its back, then its open front leaning forward.
        p.setPen(QPen(QColor(150, 105, 20), 1));
        p.setBrush(QColor(235, 190, 80));
        p.drawRect(QRectF(1.5, 6.5, 12, 8));
        QPolygonF front;
        front << QPointF(3.5, 9.5) << QPointF(15.5, 9.5) << QPointF(13.5, 14.5) << QPointF(1.5, 14.5);
        p.setBrush(QColor(250, 215, 110));
        p.drawPolygon(front);
    });
}

QIcon Print()
{
    return PaintedIcon([](QPainter& p) {
        Sheet(p, QRectF(4.5, 0.5, 7, 6));
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(190, 190, 195));
        p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        p.setPen(QPen(QColor(70, 110, 190), 1));
        p.drawLine(QPointF(6, 11.5), QPointF(10, 11.5));
        p.drawLine(QPointF(6, 13), QPointF(9, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 170, 70));
        p.drawEllipse(QPointF(12.5, 7.5), 0.9, 0.9);
    });
}

QIcon PrintPreview()
{
    return PaintedIcon([](QPainter& p) {
        Sheet(p, QRectF(1.5, 0.5, 10, 13));
        p.setPen(QPen(QColor(70, 110, 190), 1));
        for (int y = 3; y <= 9; y += 2)
            p.drawLine(QPointF(3.5, y + 0.5), QPointF(9.5, y + 0.5));
        // The magnifying glass over the sheet's lower right: its lens, then its handle.
        p.setPen(QPen(kInk, 1.3));
        p.setBrush(QColor(200, 225, 250, 200));
        p.drawEllipse(QPointF(9.5, 9.5), 3.2, 3.2);
        p.setPen(QPen(QColor(120, 80, 30), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.9, 11.9), QPointF(15, 15));
    });
}

QIcon Margins()
{
    return PaintedIcon([](QPainter& p) {
        Sheet(p, QRectF(3.5, 3.5, 11, 12));
        p.setPen(QPen(QColor(70, 110, 190), 1, Qt::DotLine));
        p.drawLine(QPointF(6.5, 3.5), QPointF(6.5, 15.5));
        p.drawLine(QPointF(3.5, 6.5), QPointF(14.5, 6.5));
        // Arrows along the top and the left edge: the content moves right and down.
        p.setPen(QPen(QColor(200, 40, 40), 1.2));
        p.drawLine(QPointF(1, 1.5), QPointF(9, 1.5));
        p.drawLine(QPointF(7, 0), QPointF(9, 1.5));
        p.drawLine(QPointF(7, 3), QPointF(9, 1.5));
        p.drawLine(QPointF(1.5, 1), QPointF(1.5, 11));
        p.drawLine(QPointF(0, 9), QPointF(1.5, 11));
        p.drawLine(QPointF(3, 9), QPointF(1.5, 11));
    });
}

QIcon Clear()
{
    return PaintedIcon([](QPainter& p) {
        Sheet(p, QRectF(1.5, 1.5, 10, 13));
        // The eraser, tilted, over the sheet's lower right.
        p.save();
        p.translate(10.5, 10.5);
        p.rotate(-40);
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(230, 110, 130));
        p.drawRect(QRectF(-2, -5.5, 5, 7));
        p.setBrush(QColor(90, 120, 200));
        p.drawRect(QRectF(-2, 1.5, 5, 3.5));
        p.restore();
    });
}

QIcon About()
{
    return AboutIcon();
}

}  // namespace CaptureIcons
