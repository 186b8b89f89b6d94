#include "setup/ui/image_button.h"

#include <QKeyEvent>
#include <QPainter>

CImageButton::CImageButton(int commandId, const QString& caption, QWidget* parent)
    : QAbstractButton(parent), m_commandId(commandId), m_size(CaptionSize())
{
    setText(caption);
    setAccessibleName(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    resize(m_size);
    connect(this, &QAbstractButton::clicked, this, [this] { emit command(m_commandId); });
}

CImageButton::CImageButton(int commandId, SetupArt::Glyph glyph, const QSize& size, QWidget* parent)
    : QAbstractButton(parent), m_commandId(commandId), m_glyph(glyph), m_size(size)
{
    setAccessibleName(glyph == SetupArt::Glyph::Close ? QStringLiteral("Cerrar") : QStringLiteral("Minimizar"));
    setFocusPolicy(Qt::NoFocus);
    resize(m_size);
    connect(this, &QAbstractButton::clicked, this, [this] { emit command(m_commandId); });
}

QSize CImageButton::sizeHint() const
{
    return m_size;
}

SetupArt::FaceState CImageButton::State() const
{
    if (!isEnabled())
        return SetupArt::FaceState::Disabled;
    if (isDown())
        return SetupArt::FaceState::Pressed;
    if (m_hover || hasFocus())
        return SetupArt::FaceState::Hover;
    return SetupArt::FaceState::Normal;
}

void CImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_glyph ? SetupArt::GlyphFace(*m_glyph, size(), State())
                                     : SetupArt::ButtonFace(text(), size(), State()));
}

void CImageButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CImageButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CImageButton::keyPressEvent(QKeyEvent* event)
{
    // Enter presses the button that has the focus, as Space does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
