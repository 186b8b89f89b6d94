#include "design/ruler_corner_view.h"

#include <QPainter>

#include "base/log_font.h"
#include "platform/qt_dc.h"
#include "design/rules.h"

CRulerCornerView::CRulerCornerView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(CRules::kThicknessPx, CRules::kThicknessPx);
}

QSize CRulerCornerView::sizeHint() const
{
    return {CRules::kThicknessPx, CRules::kThicknessPx};
}

void CRulerCornerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The menu colour of the desktop: the window colour of the palette.
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QtDc dc(painter, logicalDpiX());
    const QColor ink = palette().color(QPalette::WindowText);
    dc.SetTextColor(Rgb(ink.red(), ink.green(), ink.blue()));
    dc.SetBkTransparent(true);
    LogFont font;
    font.face = "Times New Roman";
    font.height = 10;  // pixels
    font.weight = 400;
    dc.SelectFont(font);
    dc.SetTextAlign(TextAlign::kLeft);
    dc.TextOut(2, 2, kUnitText);
}
