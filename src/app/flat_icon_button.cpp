#include "app/flat_icon_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

QColor HoverColour(const QColor& face)
{
    constexpr int kLighten = 0x1E;
    return QColor(std::min(face.red() + kLighten, 255), std::min(face.green() + kLighten, 255),
                  std::min(face.blue() + kLighten, 255));
}

CFlatIconButton::CFlatIconButton(const QIcon& icon, const QString& text, QWidget* parent)
    : QPushButton(icon, text, parent)
{
    setFlat(true);
    setIconSize(QSize(kIconPx, kIconPx));
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

QSize CFlatIconButton::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const int textWidth = fm.horizontalAdvance(text().remove(QLatin1Char('&')));
    return {kMarginPx * 3 + kIconPx + textWidth, std::max(kIconPx, fm.height()) + kMarginPx * 2};
}

QSize CFlatIconButton::minimumSizeHint() const
{
    return {kMarginPx * 2 + kIconPx, sizeHint().height()};
}

QColor CFlatIconButton::BackgroundColour() const
{
    const QColor face = palette().color(QPalette::Button);
    return m_hover || isDown() ? HoverColour(face) : face;
}

void CFlatIconButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QPushButton::enterEvent(event);
}

void CFlatIconButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QPushButton::leaveEvent(event);
}

void CFlatIconButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, BackgroundColour());
    if (m_hover || isDown()) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
    const QRect iconRect(kMarginPx, (r.height() - kIconPx) / 2, kIconPx, kIconPx);
    icon().paint(&painter, iconRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    const QRect textRect = r.adjusted(kMarginPx * 2 + kIconPx, 0, -kMarginPx, 0);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    const QString elided = fontMetrics().elidedText(text().remove(QLatin1Char('&')), Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, elided);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = r.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
