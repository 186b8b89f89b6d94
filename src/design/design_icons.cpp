#include "design/design_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <map>

#include "platform/command_ids.h"
#include "platform/painted_icon.h"

namespace {

using namespace CommandId;

// Letters are set at this many times their size and drawn scaled back, so that a
// fraction of a pixel in their size is kept instead of rounded away.
constexpr int kScale = 2;

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kAccent(30, 90, 200);
const QColor kVariable(0, 120, 0);

// The design pictures start with the dark ink pen one unit wide.
QIcon Draw(const std::function<void(QPainter&)>& paint)
{
    return PaintedIcon([&paint](QPainter& p) {
        p.setPen(QPen(kInk, 1.0));
        paint(p);
    });
}

void Page(QPainter& p)
{
    QPainterPath path;
    path.moveTo(3.5, 1.5);
    path.lineTo(10.5, 1.5);
    path.lineTo(13.5, 4.5);
    path.lineTo(13.5, 14.5);
    path.lineTo(3.5, 14.5);
    path.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
    p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
}

void Lines(QPainter& p, double left, double top, int count, double width, double step, Qt::Alignment align)
{
    for (int i = 0; i < count; ++i) {
        const double w = (i % 2) ? width * 0.7 : width;
        double x = left;
        if (align & Qt::AlignRight)
            x = left + width - w;
        else if (align & Qt::AlignHCenter)
            x = left + (width - w) / 2;
        p.drawLine(QPointF(x, top + i * step), QPointF(x + w, top + i * step));
    }
}

void Letters(QPainter& p, const QRectF& box, const QString& text, double pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(int(pixelSize * kScale));
    font.setBold(bold);
    p.save();
    p.scale(1.0 / kScale, 1.0 / kScale);
    p.setFont(font);
    const QRectF scaled(box.x() * kScale, box.y() * kScale, box.width() * kScale, box.height() * kScale);
    p.drawText(scaled, Qt::AlignCenter, text);
    p.restore();
}

// A variable element: drawn in green, the colour of fields the clerk fills in.
void VariableBox(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kVariable, 1.0));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(kInk, 1.0));
}

const std::map<int, std::function<void(QPainter&)>>& Painters()
{
    static const std::map<int, std::function<void(QPainter&)>> painters = {
        {kNewDesign, [](QPainter& p) { Page(p); }},
        {kOpenDesign,
         [](QPainter& p) {
             p.setBrush(QColor(240, 200, 90));
             p.drawRect(QRectF(1.5, 4.5, 12, 9));
             p.drawRect(QRectF(1.5, 3.0, 5, 1.5));
             p.setBrush(QColor(250, 220, 120));
             QPolygonF flap;
             flap << QPointF(3.5, 7.5) << QPointF(15.0, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
             p.drawPolygon(flap);
         }},
        {kSaveDesign,
         [](QPainter& p) {
             p.setBrush(kAccent);
             p.drawRect(QRectF(2.5, 2.5, 11, 11));
             p.setBrush(kPaper);
             p.drawRect(QRectF(4.5, 2.5, 7, 4));
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(QRectF(5.5, 9.5, 5, 4));
         }},
        {kSnapMillimetre,
         [](QPainter& p) {
             for (int i = 0; i <= 6; ++i)
                 p.drawLine(QPointF(1.5 + i * 2, 12.5), QPointF(1.5 + i * 2, i % 5 == 0 ? 8.5 : 10.5));
             p.drawLine(QPointF(1.5, 12.5), QPointF(14.5, 12.5));
             Letters(p, QRectF(0, 0, 16, 8), QStringLiteral("mm"), 7, true);
         }},
        {kSnapCentimetre,
         [](QPainter& p) {
             for (int i = 0; i <= 2; ++i)
                 p.drawLine(QPointF(1.5 + i * 6.5, 12.5), QPointF(1.5 + i * 6.5, 8.5));
             p.drawLine(QPointF(1.5, 12.5), QPointF(14.5, 12.5));
             Letters(p, QRectF(0, 0, 16, 8), QStringLiteral("cm"), 7, true);
         }},
        {kSelectTool,
         [](QPainter& p) {
             QPolygonF arrow;
             arrow << QPointF(4, 1.5) << QPointF(4, 13) << QPointF(6.8, 10.3) << QPointF(8.8, 14.5) << QPointF(10.6, 13.6)
                   << QPointF(8.6, 9.5) << QPointF(12.3, 9.5);
             p.setBrush(kPaper);
             p.drawPolygon(arrow);
         }},
        {kDeleteElement,
         [](QPainter& p) {
             p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
             p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
         }},
        {kProperties,
         [](QPainter& p) {
             p.setBrush(kPaper);
             p.drawRect(QRectF(2.5, 1.5, 11, 13));
             p.setPen(QPen(kAccent, 1.0));
             for (int i = 0; i < 4; ++i) {
                 p.drawLine(QPointF(4.5, 4.5 + i * 2.7), QPointF(6.5, 4.5 + i * 2.7));
                 p.drawLine(QPointF(8, 4.5 + i * 2.7), QPointF(11.5, 4.5 + i * 2.7));
             }
         }},
        {kInsertTextlineVar,
         [](QPainter& p) {
             VariableBox(p, QRectF(1.5, 5.5, 13, 6));
             Letters(p, QRectF(1.5, 5.5, 9, 6), QStringLiteral("ab"), 6);
             p.drawLine(QPointF(11.5, 6.5), QPointF(11.5, 10.5));
         }},
        {kInsertParrafoVar,
         [](QPainter& p) {
             VariableBox(p, QRectF(1.5, 2.5, 13, 11));
             Lines(p, 3.5, 5.0, 3, 9, 3, Qt::AlignLeft);
         }},
        {kInsertCuadrosVar,
         [](QPainter& p) {
             for (int i = 0; i < 3; ++i) {
                 VariableBox(p, QRectF(1.5 + i * 4.6, 5.5, 3.8, 5));
                 Letters(p, QRectF(1.5 + i * 4.6, 5.5, 3.8, 5), QString(QChar('A' + i)), 4.5);
             }
         }},
        {kInsertMarcaVar,
         [](QPainter& p) {
             VariableBox(p, QRectF(3.5, 3.5, 9, 9));
             p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             QPolygonF check;
             check << QPointF(5.5, 8) << QPointF(7.3, 10.5) << QPointF(11, 5.5);
             p.drawPolyline(check);
         }},
        {kInsertGrid,
         [](QPainter& p) {
             VariableBox(p, QRectF(1.5, 2.5, 13, 11));
             p.setPen(QPen(kVariable, 1.0));
             p.fillRect(QRectF(2, 3, 12, 2.5), QColor(200, 230, 200));
             for (double x : {5.8, 10.2})
                 p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
             for (double y : {5.5, 8.2, 10.9})
                 p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
         }},
        {kInsertConsText, [](QPainter& p) { Letters(p, QRectF(0, 0, 16, 16), QStringLiteral("A"), 14, true); }},
        {kInsertConsParrafo, [](QPainter& p) { Lines(p, 2.5, 3.5, 4, 11, 3, Qt::AlignLeft); }},
        {kInsertLinea,
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.6));
             p.drawLine(QPointF(2, 8), QPointF(14, 8));
         }},
        {kInsertRectangulo,
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.2));
             p.drawRect(QRectF(2.5, 3.5, 11, 9));
         }},
        {kInsertEtiqueta,
         [](QPainter& p) {
             QPolygonF tag;
             tag << QPointF(1.5, 8) << QPointF(5, 4.5) << QPointF(14.5, 4.5) << QPointF(14.5, 11.5) << QPointF(5, 11.5);
             p.setBrush(QColor(255, 245, 180));
             p.drawPolygon(tag);
             p.drawEllipse(QPointF(5, 8), 1, 1);
         }},
        {kInsertCodigoBarras,
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kInk);
             // A small QR-like square: three finder corners and a few modules.
             for (QPointF corner : {QPointF(1.5, 1.5), QPointF(9.5, 1.5), QPointF(1.5, 9.5)}) {
                 p.drawRect(QRectF(corner, QSizeF(5, 5)));
                 p.setBrush(Qt::white);
                 p.drawRect(QRectF(corner + QPointF(1, 1), QSizeF(3, 3)));
                 p.setBrush(kInk);
                 p.drawRect(QRectF(corner + QPointF(2, 2), QSizeF(1, 1)));
             }
             for (QPointF m : {QPointF(10, 10), QPointF(12, 12), QPointF(13.5, 9.5), QPointF(9.5, 13.5), QPointF(7.5, 7.5)})
                 p.drawRect(QRectF(m, QSizeF(1.5, 1.5)));
         }},
        {kInsertImagen,
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.0));
             p.setBrush(QColor(210, 230, 250));
             p.drawRect(QRectF(1.5, 2.5, 13, 11));
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(240, 190, 40));
             p.drawEllipse(QPointF(5, 6), 1.6, 1.6);
             p.setBrush(QColor(60, 140, 60));
             QPolygonF hill;
             hill << QPointF(2, 13) << QPointF(7, 7.5) << QPointF(10, 10.5) << QPointF(11.5, 9) << QPointF(14, 13);
             p.drawPolygon(hill);
         }},
        {kFont,
         [](QPainter& p) {
             Letters(p, QRectF(0, 1, 10, 14), QStringLiteral("A"), 13, true);
             Letters(p, QRectF(8, 5, 8, 10), QStringLiteral("a"), 9);
         }},
        {kColor,
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(220, 40, 40));
             p.drawEllipse(QPointF(6, 6), 3.5, 3.5);
             p.setBrush(QColor(40, 160, 40));
             p.drawEllipse(QPointF(10.5, 7), 3.5, 3.5);
             p.setBrush(QColor(40, 80, 220));
             p.drawEllipse(QPointF(8, 10.8), 3.5, 3.5);
         }},
        {kAlignLeft, [](QPainter& p) { Lines(p, 2.5, 3.5, 4, 11, 3, Qt::AlignLeft); }},
        {kAlignCenter, [](QPainter& p) { Lines(p, 2.5, 3.5, 4, 11, 3, Qt::AlignHCenter); }},
        {kAlignRight, [](QPainter& p) { Lines(p, 2.5, 3.5, 4, 11, 3, Qt::AlignRight); }},
        {kLineHorizontal,
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.6));
             p.drawLine(QPointF(2, 8), QPointF(14, 8));
             p.setPen(QPen(kAccent, 1.0));
             p.drawLine(QPointF(2, 5), QPointF(2, 11));
             p.drawLine(QPointF(14, 5), QPointF(14, 11));
         }},
        {kLineVertical,
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.6));
             p.drawLine(QPointF(8, 2), QPointF(8, 14));
             p.setPen(QPen(kAccent, 1.0));
             p.drawLine(QPointF(5, 2), QPointF(11, 2));
             p.drawLine(QPointF(5, 14), QPointF(11, 14));
         }},
    };
    return painters;
}

// A pointer picture of 32 x 32 pixels: black strokes with a white rim, so the shape
// shows on the white page and on dark elements alike.
QCursor StrokedCursor(const QPainterPath& path, QPoint hotSpot)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(path);
    p.end();
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

QCursor InsertCursor()
{
    // A cross-hair whose centre is the corner where the element will be placed, with a
    // small frame standing for the new element.
    QPainterPath path;
    path.moveTo(8, 1);
    path.lineTo(8, 15);
    path.moveTo(1, 8);
    path.lineTo(15, 8);
    path.addRect(11, 11, 9, 6);
    return StrokedCursor(path, {8, 8});
}

QCursor HeaderCursor(bool column)
{
    // A thick arrow pointing into the column (down) or the row (right).
    QPolygonF arrow;
    arrow << QPointF(5, 2) << QPointF(11, 2) << QPointF(11, 10) << QPointF(15, 10) << QPointF(8, 17) << QPointF(1, 10)
          << QPointF(5, 10);
    if (!column) {
        QTransform turn;
        turn.translate(0, 16).rotate(-90);
        arrow = turn.map(arrow);
    }
    QPainterPath path;
    path.addPolygon(arrow);
    path.closeSubpath();
    return StrokedCursor(path, column ? QPoint(8, 16) : QPoint(16, 8));
}

}  // namespace

QIcon DesignCommandIcon(int commandId)
{
    const auto& painters = Painters();
    const auto it = painters.find(commandId);
    if (it == painters.end())
        return {};
    return Draw(it->second);
}

QCursor DesignCursorShape(DesignCursor cursor)
{
    switch (cursor) {
    case DesignCursor::Insert: {
        static const QCursor insert = InsertCursor();
        return insert;
    }
    case DesignCursor::Select: return QCursor(Qt::ArrowCursor);
    case DesignCursor::SizeHorizontal: return QCursor(Qt::SizeHorCursor);
    case DesignCursor::SizeVertical: return QCursor(Qt::SizeVerCursor);
    case DesignCursor::ColumnHeader: {
        static const QCursor header = HeaderCursor(true);
        return header;
    }
    case DesignCursor::RowHeader: {
        static const QCursor header = HeaderCursor(false);
        return header;
    }
    }
    return QCursor(Qt::ArrowCursor);
}
