#include "setup/ui/setup_panel.h"

#include <QImage>
#include <QPainter>
#include <QTextOption>

#include "setup/ui/setup_art.h"

CSetupPanel::CSetupPanel(QWidget* parent) : QWidget(parent) {}

QRect CSetupPanel::ContentsRect() const
{
    return rect().adjusted(SetupArt::kBorderSide, SetupArt::kBorderTopBottom, -SetupArt::kBorderSide,
                           -SetupArt::kBorderTopBottom);
}

void CSetupPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(ContentsRect(), SetupArt::PageGrey());
    SetupArt::PaintBorder(painter, rect());
}

CStatusWindow::CStatusWindow(QWidget* parent) : QWidget(parent) {}

void CStatusWindow::SetText(const QString& text)
{
    m_text = text;
    setAccessibleName(text);
    // Extraction runs without returning to the event loop: the text must show now.
    repaint();
}

void CStatusWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SetupArt::PageGrey());
    painter.setFont(SetupArt::Arial(16));
    painter.setPen(SetupArt::Accent());
    // A long path in the reason breaks where the line ends instead of running off.
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(rect().adjusted(20, 0, -20, 0)), m_text, option);
}

CHeaderBand::CHeaderBand(const QString& productName, const QString& picturePath, QWidget* parent)
    : QWidget(parent), m_productName(productName), m_picturePath(picturePath)
{
    setFixedHeight(kHeight);
}

QString CHeaderBand::Title() const
{
    return QStringLiteral("Programa de instalación de %1").arg(m_productName);
}

void CHeaderBand::paintEvent(QPaintEvent*)
{
    if (!m_loaded) {
        // A Windows bitmap, whatever its depth (the shipped one has a 256-colour palette);
        // a picture that cannot be read leaves the corner empty.
        m_picture = QImage(m_picturePath, "BMP");
        m_loaded = true;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_picture.isNull())
        painter.drawImage(QRect(2, 2, 68, 68), m_picture);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    painter.setFont(SetupArt::Arial(20, 800, true));
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 10, width(), height() - 10), Qt::AlignHCenter | Qt::AlignTop, Title());
}
