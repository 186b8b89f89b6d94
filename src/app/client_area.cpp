#include "app/client_area.h"

#include <QPainter>
#include <QResizeEvent>

namespace {

constexpr QSize kLogoSize(470, 150);

// The logo: the program's sheet (a form with a title bar, a filled line, a row of boxes
// and a ticked mark) beside its name and purpose. Painted here rather than rendered from
// a drawing file, which took twice as long at every start (its texts above all); painted,
// it is also sharp on dense screens.
QPixmap PaintLogo(double pixelRatio)
{
    QPixmap logo(kLogoSize * pixelRatio);
    logo.setDevicePixelRatio(pixelRatio);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x1f, 0x3a, 0x56), rule(0x6f, 0x8f, 0xb0);
    p.save();
    p.translate(8, 11);
    p.scale(2, 2);
    // The sheet with its folded corner.
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{12, 4}, {42, 4}, {54, 16}, {54, 60}, {12, 60}}));
    p.setBrush(QColor(0xc9, 0xd6, 0xe3));
    p.drawPolygon(QPolygonF({{42, 4}, {42, 16}, {54, 16}}));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(17, 10, 20, 4), 1, 1);
    // A filled line, a row of boxes, a ticked mark and its caption.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rule, 1.5));
    p.drawRect(QRectF(17, 21, 32, 7));
    for (int i = 0; i < 5; ++i)
        p.drawRect(QRectF(17 + 6 * i, 33, 6, 7));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(17, 46, 7, 7));
    p.drawLine(QPointF(28, 50), QPointF(47, 50));
    p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 26), QPointF(31, 26));
    p.setPen(QPen(QColor(0x1e, 0x84, 0x49), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{18.5, 49.5}, {20.5, 52}, {25, 46}}));
    p.restore();
    // The name and the purpose, in the screen's own face.
    QFont name = p.font();
    name.setPixelSize(60);
    name.setBold(true);
    p.setFont(name);
    p.setPen(ink);
    p.drawText(QPointF(142, 82), QStringLiteral("ORDEXA"));
    QFont purpose = p.font();
    purpose.setPixelSize(17);
    purpose.setBold(false);
    p.setFont(purpose);
    p.setPen(QColor(0x26, 0x36, 0x4a));
    p.drawText(QPointF(145, 112), QStringLiteral("Diseño, captura e impresión"));
    p.drawText(QPointF(145, 133), QStringLiteral("de formatos preimpresos"));
    return logo;
}

}  // namespace

CClientArea::CClientArea(QWidget* parent) : QMdiArea(parent)
{
    setObjectName(QStringLiteral("clientArea"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QPoint CClientArea::LogoOrigin(const QSize& area, const QSize& logo)
{
    return {(area.width() - logo.width()) / 2, (area.height() - logo.height()) / 2};
}

void CClientArea::paintEvent(QPaintEvent*)
{
    if (m_logo.isNull() || m_logo.devicePixelRatio() != viewport()->devicePixelRatio())
        m_logo = PaintLogo(viewport()->devicePixelRatio());
    // The viewport is double-buffered: the background and the logo reach the screen in
    // one step, with no flash of an erased background.
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, background());
    if (!m_logo.isNull())
        painter.drawPixmap(LogoOrigin(area.size(), m_logo.deviceIndependentSize().toSize()), m_logo);
}

void CClientArea::resizeEvent(QResizeEvent* event)
{
    QMdiArea::resizeEvent(event);
    // The centre moved: the whole area is painted again, not only the uncovered strip.
    viewport()->update();
}
