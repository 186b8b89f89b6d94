#include "design/properties_panel_bar.h"

#include <QMainWindow>

CPropertiesBar::CPropertiesBar(Format& format, Prompts& prompts, QMainWindow* frame)
    : QDockWidget(QString::fromUtf8(kCaption), frame)
{
    setObjectName(QStringLiteral("propertiesBar%1").arg(kBarId));
    // It floats and never docks: no dock area takes it, and should anything put it back
    // into the frame it floats again at once.
    // Without the floatable feature there is no button or double click that would dock
    // it; a floating bar can still be moved.
    setAllowedAreas(Qt::NoDockWidgetArea);
    m_panel = new CPropertiesPanel(format, prompts, this);
    setWidget(m_panel);
    setFloating(true);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (!floating)
            setFloating(true);
    });
    // "Cerrar" hides the bar like its close box; the panel and its values stay.
    connect(m_panel, &CPropertiesPanel::closeRequested, this, &QWidget::hide);
    hide();
}

void CPropertiesBar::ShowFor(CControles* selection)
{
    if (m_panel->HasDocument())
        m_panel->RefreshSelection();
    else
        m_panel->Refresh(selection);
    if (!m_placed) {
        m_placed = true;
        adjustSize();
        move(m_firstPlace);
    }
    show();
    raise();
}
