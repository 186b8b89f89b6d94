#include "setup/ui/progress_bar.h"

#include <QPainter>
#include <algorithm>

#include "setup/ui/setup_art.h"

CProgressBar::CProgressBar(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Avance de la instalación"));
}

void CProgressBar::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_position = std::clamp(m_position, m_minimum, std::max(m_minimum, m_maximum));
    repaint();
}

void CProgressBar::SetPosition(int position)
{
    m_position = std::clamp(position, m_minimum, std::max(m_minimum, m_maximum));
    repaint();
}

void CProgressBar::SetMaximum(int maximum)
{
    SetRange(m_minimum, maximum);
}

void CProgressBar::Step()
{
    SetPosition(m_position + m_step);
}

int CProgressBar::FilledWidth() const
{
    const int inner = std::max(0, width() - 2);
    // An empty range (a package of no files) has nothing to fill.
    if (m_maximum <= m_minimum)
        return 0;
    return int(qint64(m_position - m_minimum) * inner / (m_maximum - m_minimum));
}

void CProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(Qt::white);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.fillRect(QRect(1, 1, FilledWidth(), height() - 2), SetupArt::Accent());
}
