#include "app/client_area.h"

#include <QPainter>
#include <QResizeEvent>

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
    if (m_logo.isNull())
        m_logo = QPixmap(QStringLiteral(":/icons/logo.svg"));
    // The viewport is double-buffered: the background and the logo reach the screen in
    // one step, with no flash of an erased background.
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, background());
    if (!m_logo.isNull())
        painter.drawPixmap(LogoOrigin(area.size(), m_logo.size()), m_logo);
}

void CClientArea::resizeEvent(QResizeEvent* event)
{
    QMdiArea::resizeEvent(event);
    // The centre moved: the whole area is painted again, not only the uncovered strip.
    viewport()->update();
}
