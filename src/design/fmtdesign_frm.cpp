#include "design/fmtdesign_frm.h"

#include <QAction>
#include <QGridLayout>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <climits>
#include <QStatusBar>
#include <QToolBar>

#include "design/design_commands.h"
#include "design/design_icons.h"
#include "design/fmtdesign_view.h"
#include "design/properties_panel_bar.h"
#include "design/ruler_corner_view.h"
#include "design/rules.h"
#include "platform/command_ids.h"
#include "platform/frame_host.h"
#include "platform/key_indicators.h"

namespace {

// Resource texts that fix the widths of the message and position panes.
const QString kMessagePaneText = QStringLiteral("Mensajes del sistema");
const QString kPositionPaneText = QStringLiteral("Posición del Objeto");
// The settings keys of the properties panel's place on the screen.
constexpr const char* kPanelXKey = "PanelX";
constexpr const char* kPanelYKey = "PanelY";

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
    // The zoom of the page, beside the position it changes the meaning of.
    m_zoomPane = pane(metrics.horizontalAdvance(QStringLiteral("400 %")) + 12);
    m_zoomPane->setObjectName(QStringLiteral("paneZoom"));
    m_zoomPane->setAlignment(Qt::AlignCenter);
    m_zoomPane->setText(QStringLiteral("100 %"));
    m_zoomPane->setToolTip(QStringLiteral("Zoom de la página (Ctrl+rueda del ratón)"));
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
    RefreshModifiedMark();
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
        m_panelBar->Panel()->RefreshSelection();
    if (m_view)
        m_view->AnnounceSelection();
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
        connect(panel, &CPropertiesPanel::colourRequested, this, [this] { HandleCommand(CommandId::kColor); });
        connect(m_panelBar, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandStates(); });
        panel->SetDocument(&m_document);
        m_panelBar->SetFirstPlace(PanelPlace());
        // Where the clerk moves the panel is where it opens next time.
        m_panelBar->installEventFilter(this);
    }
    m_panelBar->ShowFor(m_document.Selection());
    UpdateCommandStates();
}

QPoint CFmtdesignFrm::PanelPlace() const
{
    const QRect screen = this->screen()->availableGeometry();
    const QPoint saved(m_host.GetSettings().ReadInt(kPanelXKey, INT_MIN), m_host.GetSettings().ReadInt(kPanelYKey, INT_MIN));
    // A remembered place is used while the panel's corner is still on the screen.
    if (saved.x() != INT_MIN && screen.adjusted(0, 0, -60, -40).contains(saved))
        return saved;
    // Beside the page: at the page view's right edge, below the rulers, so that it
    // covers neither the toolbars nor the page's left part where work starts.
    if (m_view && m_view->isVisible()) {
        const QPoint topRight = m_view->mapToGlobal(QPoint(m_view->width(), 0));
        const int width = m_panelBar ? m_panelBar->sizeHint().width() : 300;
        return {std::clamp(topRight.x() - width - 24, screen.left(), std::max(screen.left(), screen.right() - width)),
                std::clamp(topRight.y() + 8, screen.top(), std::max(screen.top(), screen.bottom() - 200))};
    }
    return {CPropertiesBar::kInitialX, CPropertiesBar::kInitialY};
}

bool CFmtdesignFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panelBar && event->type() == QEvent::Move && m_panelBar->isVisible() && m_panelBar->isFloating()) {
        m_host.GetSettings().WriteInt(kPanelXKey, m_panelBar->x());
        m_host.GetSettings().WriteInt(kPanelYKey, m_panelBar->y());
    }
    return CChildFrame::eventFilter(watched, event);
}

void CFmtdesignFrm::showEvent(QShowEvent* event)
{
    CChildFrame::showEvent(event);
    // Each design frame's panel shows only while its frame is the active one, so that no
    // panel edits a format the clerk is not looking at.
    auto* window = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (m_activationWatched || !window || !window->mdiArea())
        return;
    m_activationWatched = true;
    connect(window->mdiArea(), &QMdiArea::subWindowActivated, this, [this, window](QMdiSubWindow* active) {
        // Nothing active: the program's window itself lost the focus (to the panel, say).
        if (!active || !m_panelBar)
            return;
        if (active != window) {
            m_panelWanted = m_panelBar->isVisible();
            if (m_panelWanted)
                m_panelBar->hide();
        } else if (m_panelWanted) {
            m_panelWanted = false;
            m_panelBar->show();
        }
    });
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
