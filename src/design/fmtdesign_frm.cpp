#include "design/fmtdesign_frm.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

#include "design/design_commands.h"
#include "design/design_icons.h"
#include "design/fmtdesign_view.h"
#include "design/properties_panel_bar.h"
#include "design/ruler_corner_view.h"
#include "design/rules.h"
#include "platform/frame_host.h"
#include "platform/key_indicators.h"

namespace {

// Resource texts that fix the widths of the message and position panes.
const QString kMessagePaneText = QStringLiteral("Mensajes del sistema");
const QString kPositionPaneText = QStringLiteral("Posición del Objeto");

}  // namespace

CFmtdesignFrm::CFmtdesignFrm(FrameHost& host, QWidget* parent)
    : CChildFrame(host, FrameMode::Design, QStringLiteral("Diseño de formato - %1"), parent),
      m_editor(m_document, ChangeHooks{[this] { BeginChange(); }, [this] { ChangeAbandoned(); }}),
      m_dialogs(PlatformDesignDialogs())
{
    BuildToolBars();
    BuildStatusBar();
    BuildPanes();
    UpdateCommandStates();
    UpdateCaption();
}

CFmtdesignFrm::~CFmtdesignFrm()
{
    // The panel lends the format; it goes before the format does.
    delete m_panelBar;
    m_panelBar = nullptr;
}

void CFmtdesignFrm::BuildPanes()
{
    auto* client = new QWidget(this);
    auto* grid = new QGridLayout(client);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    m_corner = new CRulerCornerView(client);
    m_corner->setFixedSize(CRules::kThicknessPx, CRules::kThicknessPx);
    m_rulerH = new CRules(client);
    m_rulerV = new CRules(client);
    for (CRules* ruler : {m_rulerH, m_rulerV}) {
        ruler->SetPageSize(kPageWidthUnits, kPageHeightUnits);
        ruler->SetScale(kRulerScale);
    }
    m_rulerH->SetOrientation(CRules::kHorizontal);
    m_rulerV->SetOrientation(CRules::kVertical);
    m_view = new CFmtdesignView(*this, client);

    grid->addWidget(m_corner, 0, 0);
    grid->addWidget(m_rulerH, 0, 1);
    grid->addWidget(m_rulerV, 1, 0);
    grid->addWidget(m_view, 1, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    setCentralWidget(client);
    m_view->setFocus();
}

void CFmtdesignFrm::BuildToolBars()
{
    auto build = [this](const QString& title, int barId, std::span<const int> ids) {
        std::vector<ToolButton> buttons;
        for (int id : ids) {
            if (id == 0) {
                buttons.push_back({});
                continue;
            }
            const DesignCommand* command = FindDesignCommand(id);
            buttons.push_back({id, DesignCommandIcon(id), QString::fromUtf8(command->tooltip),
                               command->prompt ? QString::fromUtf8(command->prompt) : QString()});
        }
        return AddCommandToolBar(title, QStringLiteral("toolbar%1").arg(barId), 24, buttons);
    };
    m_designBar = build(QStringLiteral("Diseño"), kDesignToolbarId, DesignToolbarButtons());
    // The format toolbar starts on a row of its own, so that neither hides buttons in a
    // window of the usual size.
    addToolBarBreak(Qt::TopToolBarArea);
    m_formatBar = build(QStringLiteral("Formato"), kFormatToolbarId, FormatToolbarButtons());
}

void CFmtdesignFrm::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    // The prompt pane: a prompt, while a command is highlighted, covers "Preparado".
    m_readyLabel = new QLabel(QString::fromUtf8(kReadyPrompt), bar);
    bar->addWidget(m_readyLabel, 1);

    const QFontMetrics metrics(bar->font());
    auto pane = [&](int width) {
        auto* label = new QLabel(bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(width);
        bar->addPermanentWidget(label);
        return label;
    };
    // Nothing writes to the message pane; it keeps its place between prompt and position.
    m_messagePane = pane(2 * metrics.horizontalAdvance(kMessagePaneText));
    m_messagePane->setObjectName(QStringLiteral("pane59143"));
    m_positionPane = pane(3 * metrics.horizontalAdvance(kPositionPaneText) / 2);
    m_positionPane->setObjectName(QStringLiteral("pane59142"));
    AddKeyIndicatorPanes(bar);
}

QAction* CFmtdesignFrm::ToolbarAction(int id) const
{
    for (QToolBar* bar : {m_designBar, m_formatBar})
        if (QAction* action = FindToolAction(bar, id))
            return action;
    return nullptr;
}

void CFmtdesignFrm::UpdateCommandStates()
{
    for (QToolBar* bar : {m_designBar, m_formatBar})
        if (bar)
            RefreshToolBar(bar);
}

void CFmtdesignFrm::ShowCommandPrompt(int id)
{
    const DesignCommand* command = id ? FindDesignCommand(id) : nullptr;
    if (command && command->prompt)
        statusBar()->showMessage(QString::fromUtf8(command->prompt));
    else
        statusBar()->clearMessage();
}

void CFmtdesignFrm::SetPositionText(const std::string& text)
{
    m_positionText = QString::fromStdString(text);
    m_positionPane->setText(m_positionText);
}

void CFmtdesignFrm::ReportToRulers(QObject*, int code, int value)
{
    m_rulerH->UpdateRuler(code, value);
    m_rulerV->UpdateRuler(code, value);
}

void CFmtdesignFrm::RefreshPanel()
{
    if (m_panelBar)
        m_panelBar->Panel()->Refresh(m_document.Selection());
    UpdateCommandStates();
}

void CFmtdesignFrm::CommitPanelEdit()
{
    if (m_panelBar)
        m_panelBar->Panel()->CommitPendingEdit();
}

void CFmtdesignFrm::ShowProperties()
{
    if (!m_panelBar) {
        m_panelBar = new CPropertiesBar(m_document.GetFormat(), m_host.GetPrompts(), this);
        CPropertiesPanel* panel = m_panelBar->Panel();
        // Every commit of the panel goes through the history and the modified state.
        connect(panel, &CPropertiesPanel::aboutToChange, this, [this] { BeginChange(); });
        connect(panel, &CPropertiesPanel::changed, this, [this] {
            GestureChanged();
            Repaint();
        });
        connect(panel, &CPropertiesPanel::changeAbandoned, this, [this] { ChangeAbandoned(); });
        connect(m_panelBar, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandStates(); });
    }
    m_panelBar->ShowFor(m_document.Selection());
    UpdateCommandStates();
}

void CFmtdesignFrm::Repaint()
{
    if (m_view)
        m_view->viewport()->update();
}

void CFmtdesignFrm::FormatShown()
{
    // A file was read into the frame by the application: a fresh start.
    m_document.Select(nullptr);
    m_editor.ForgetHover();
    m_history.Clear();
    m_level = 0;
    m_cleanLevel = 0;
    ShowScanMessage(m_scan.RestoreFor(QString::fromStdString(Path())));
    Repaint();
    RefreshPanel();
}

void CFmtdesignFrm::ShowScanMessage(const QString& text)
{
    if (text.isEmpty())
        return;
    // A long path does not fit beside the panes of a window of the usual size: the
    // whole note is also the status bar's tooltip until the next prompt replaces it.
    QStatusBar* bar = statusBar();
    bar->showMessage(text);
    bar->setToolTip(text);
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString&) { bar->setToolTip(QString()); },
            Qt::SingleShotConnection);
}

void CFmtdesignFrm::resizeEvent(QResizeEvent* event)
{
    CChildFrame::resizeEvent(event);
    // The rulers keep their 16 pixels through the layout. The caption is not set again
    // here: inside an MDI window a new title resizes the window, which would resize the
    // frame again.
    const bool maximised = parentWidget() && parentWidget()->isMaximized();
    if (maximised && !m_wasMaximised && m_view)
        m_view->ScrollToOrigin();
    m_wasMaximised = maximised;
}
