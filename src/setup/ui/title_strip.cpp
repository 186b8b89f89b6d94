#include "setup/ui/title_strip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "setup/ui/image_button.h"
#include "setup/ui/setup_art.h"
#include "setup/ui/setup_commands.h"

namespace {
constexpr int kGlyphSide = 16;
constexpr int kCaptionX = 24;
}  // namespace

CTitleStrip::CTitleStrip(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(kHeight);
    const QSize glyph(kGlyphSide, kGlyphSide);
    m_close = new CImageButton(SetupCommand::kClose, SetupArt::Glyph::Close, glyph, this);
    m_minimize = new CImageButton(SetupCommand::kMinimize, SetupArt::Glyph::Minimize, glyph, this);
    connect(m_close, &CImageButton::command, this, &CTitleStrip::command);
    connect(m_minimize, &CImageButton::command, this, &CTitleStrip::command);
}

void CTitleStrip::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void CTitleStrip::resizeEvent(QResizeEvent*)
{
    const int top = (height() - kGlyphSide) / 2;
    m_close->move(width() - 8 - kGlyphSide, top);
    m_minimize->move(width() - 12 - 2 * kGlyphSide, top);
}

void CTitleStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int end = SetupArt::kTitleEndWidth;
    painter.drawTiledPixmap(QRect(end, 0, width() - 2 * end, height()), SetupArt::TitleMiddle(height()));
    painter.drawPixmap(0, 0, SetupArt::TitleLeftEnd(height()));
    painter.drawPixmap(width() - end, 0, SetupArt::TitleRightEnd(height()));
    painter.setFont(SetupArt::Arial(14, 800));
    painter.setPen(SetupArt::Accent());
    painter.drawText(QRect(kCaptionX, 0, m_minimize->x() - kCaptionX - 4, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     m_caption);
}

void CTitleStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The window system moves the window itself where it can (and keeps it on the
    // screen); elsewhere the strip follows the mouse.
    if (QWindow* handle = window()->windowHandle(); handle && handle->startSystemMove())
        return;
    m_dragging = true;
    m_grab = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void CTitleStrip::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - m_grab);
}

void CTitleStrip::mouseReleaseEvent(QMouseEvent*)
{
    m_dragging = false;
}
