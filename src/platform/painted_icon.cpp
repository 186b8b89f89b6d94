#include "platform/painted_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QIcon PaintedIcon(const std::function<void(QPainter&)>& paint)
{
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon AboutIcon()
{
    return PaintedIcon([](QPainter& p) {
        p.setPen(QPen(QColor(40, 80, 160), 1));
        p.setBrush(QColor(225, 235, 255));
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(1.5, 1.5, 13, 10), 3, 3);
        QPolygonF tail;
        tail << QPointF(4.5, 11) << QPointF(4, 15) << QPointF(8, 11);
        bubble.addPolygon(tail);
        p.drawPath(bubble.simplified());
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(40, 80, 160));
        p.drawText(QRectF(1.5, 1.5, 13, 10), Qt::AlignCenter, QStringLiteral("?"));
    });
}
