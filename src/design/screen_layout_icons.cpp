#include "design/screen_layout_icons.h"

#include <QPainter>
#include <functional>

#include "design/design_icons.h"
#include "platform/command_ids.h"
#include "platform/painted_icon.h"

namespace {

using namespace CommandId;

const QColor kInk(40, 40, 40);
const QColor kField(255, 255, 255);
const QColor kCaption(30, 90, 200);
const QColor kBadge(200, 30, 30);

// An entry field, outlined.
void Field(QPainter& p, const QRectF& rc)
{
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(kField);
    p.drawRect(rc);
}

// A caption: a short thick stroke in the caption colour.
void Caption(QPainter& p, QPointF from, double length)
{
    p.save();
    p.setPen(QPen(kCaption, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, from + QPointF(length, 0));
    p.restore();
}

}  // namespace

QIcon ScreenLayoutIcon(int commandId)
{
    switch (commandId) {
    case kOpenScreenLayout:
        return DesignCommandIcon(kOpenDesign);
    case kSaveLayout:
        return DesignCommandIcon(kSaveDesign);
    case kCaptionAbove:
        return PaintedIcon([](QPainter& p) {
            Caption(p, QPointF(2.5, 4.5), 7);
            Field(p, QRectF(1.5, 7.5, 13, 6));
        });
    case kCaptionSide:
        return PaintedIcon([](QPainter& p) {
            Caption(p, QPointF(1.5, 8.5), 4);
            Field(p, QRectF(7.5, 5.5, 7, 6));
        });
    case kCaptureOrder:
        return PaintedIcon([](QPainter& p) {
            Field(p, QRectF(1.5, 2.5, 13, 4));
            Field(p, QRectF(1.5, 9.5, 13, 4));
            p.setPen(Qt::NoPen);
            p.setBrush(kBadge);
            p.drawEllipse(QPointF(4.5, 4.5), 2.6, 2.6);
            p.drawEllipse(QPointF(4.5, 11.5), 2.6, 2.6);
            p.setPen(QPen(Qt::white, 1.0));
            p.drawLine(QPointF(4.5, 3.2), QPointF(4.5, 5.8));
            p.drawLine(QPointF(3.6, 10.3), QPointF(5.4, 12.7));
        });
    case kAbout:
        return AboutIcon();
    default:
        return DesignCommandIcon(commandId);
    }
}
