#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <algorithm>
#include <cstring>

#include "app/access_dialog.h"
#include "app/client_area.h"
#include "app/help_window.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "platform/child_frame.h"

namespace {

const QString kCaption = QStringLiteral("ORDEXA %1");
const QString kHelpMissing = QStringLiteral(
    "No se encontró la ayuda de Ordexa: falta su página de contenido (index.html) en \"%1\". "
    "Vuelva a instalar el programa.");
// A child window is never made smaller than this to fit the workspace (unless the
// workspace itself is smaller), nor larger than the workspace.
constexpr QSize kMinimumChild(360, 260);
// The settings key of the main window's size, position and maximised state (Qt's own
// geometry record, in base64).
constexpr const char* kPlacementKey = "Ventana";
// The size the main window asks for the first time, as far as the screen allows.
constexpr QSize kPreferredSize(1100, 760);
// Room left on the available screen area for the window manager's frame and title bar.
constexpr QSize kFrameAllowance(16, 40);

// The size a child gets while the workspace has no size yet (a hidden main window).
constexpr QSize kDefaultChild(760, 540);

}  // namespace

QString CMaximisedCaptionTranslator::translate(const char* context, const char* sourceText, const char*, int) const
{
    // The test Qt makes before appending: "does the caption already hold the child's
    // title?" Asked for the title alone, it finds it in ours and appends nothing.
    if (context && sourceText && std::strcmp(context, "QMdiSubWindow") == 0 && std::strcmp(sourceText, "- [%1]") == 0)
        return QStringLiteral("%1");
    return {};
}

CMainFrame::CMainFrame(SettingsStore& settings, Prompts& prompts)
    : m_settings(settings), m_prompts(prompts), m_client(new CClientArea(this))
{
    Q_INIT_RESOURCE(app_resources);
    QCoreApplication::installTranslator(&m_captionTranslator);
    setObjectName(QStringLiteral("128"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ordexa.png")));
    setCentralWidget(m_client);
    setDockOptions(QMainWindow::AnimatedDocks);
    BuildToolBar();
    BuildAccessBar();
    BuildHelpKey();
    SetCaption(QString());
    RestorePlacement();
    connect(m_client, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
}

CMainFrame::~CMainFrame()
{
    // Closing the window while it is destroyed still reports children becoming inactive;
    // by then this frame's menus are gone, so nothing may answer.
    disconnect(m_client, nullptr, this, nullptr);
    QCoreApplication::removeTranslator(&m_captionTranslator);
}

void CMainFrame::RestorePlacement()
{
    const QByteArray saved =
        QByteArray::fromBase64(QByteArray::fromStdString(m_settings.ReadString(kPlacementKey, "")));
    // Qt's restore keeps the window on a screen that is there now, whatever size it was.
    if (!saved.isEmpty() && restoreGeometry(saved))
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        resize(kPreferredSize);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size = kPreferredSize.boundedTo(area.size() - kFrameAllowance);
    resize(size);
    move(area.left() + (area.width() - size.width() - kFrameAllowance.width()) / 2,
         area.top() + (area.height() - size.height() - kFrameAllowance.height()) / 2);
}

void CMainFrame::SavePlacement()
{
    m_settings.WriteString(kPlacementKey, saveGeometry().toBase64().toStdString());
}

QMdiArea* CMainFrame::MdiArea() const
{
    return m_client;
}

void CMainFrame::BuildToolBar()
{
    using namespace CommandId;
    QToolBar* bar = addToolBar(QStringLiteral("Barra de herramientas"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setIconSize(QSize(24, 24));
    bar->setMovable(false);
    const struct {
        const char* icon;
        const char* text;
        int id;
    } buttons[] = {
        {":/icons/new.png", "Nuevo diseño", kNewDesign},
        {":/icons/design.png", "Abrir en diseño de formato", kOpenDesign},
        {":/icons/screen.png", "Abrir en diseño de pantalla", kOpenScreenLayout},
        {":/icons/capture.png", "Abrir en pantalla de captura", kOpenCapture},
        {nullptr, nullptr, 0},
        {":/icons/about.png", "Acerca de", kAbout},
    };
    for (const auto& b : buttons) {
        if (!b.icon) {
            bar->addSeparator();
            continue;
        }
        QAction* action = bar->addAction(QIcon(QString::fromLatin1(b.icon)), QString::fromUtf8(b.text));
        action->setObjectName(QString::number(b.id));
        action->setToolTip(QString::fromUtf8(b.text));
        const int id = b.id;
        // The mode buttons open the format already chosen, where there is one; the menu's
        // open commands always ask.
        if (id == kOpenDesign || id == kOpenScreenLayout || id == kOpenCapture) {
            const FrameMode mode = id == kOpenDesign         ? FrameMode::Design
                                   : id == kOpenScreenLayout ? FrameMode::ScreenLayout
                                                             : FrameMode::Capture;
            connect(action, &QAction::triggered, this, [this, mode] { emit modeButtonPressed(mode); });
        } else {
            connect(action, &QAction::triggered, this, [this, id] { emit commandRequested(id); });
        }
    }
}

void CMainFrame::BuildAccessBar()
{
    m_accessBar = new QDockWidget(QStringLiteral("Accesos"), this);
    m_accessBar->setObjectName(QStringLiteral("160"));
    m_accessBar->setAllowedAreas(Qt::LeftDockWidgetArea);
    m_accessBar->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                             QDockWidget::DockWidgetFloatable);
    m_accessDialog = new CAccessDialog(m_settings, m_accessBar);
    m_accessBar->setWidget(m_accessDialog);
    addDockWidget(Qt::LeftDockWidgetArea, m_accessBar);

    m_accessBarAction = new QAction(QStringLiteral("Barra de acceso"), this);
    m_accessBarAction->setObjectName(QString::number(CommandId::kAccessBar));
    m_accessBarAction->setCheckable(true);
    m_accessBarAction->setChecked(true);
    // The check mark follows the bar (its close box hides it); choosing the item only
    // ever shows it again, so a checked item that is chosen stays checked.
    connect(m_accessBar->toggleViewAction(), &QAction::toggled, m_accessBarAction, &QAction::setChecked);
    connect(m_accessBarAction, &QAction::triggered, this, [this] { ShowAccessBar(); });
}

void CMainFrame::ShowAccessBar()
{
    if (m_accessBar->isFloating())
        m_accessBar->setFloating(false);
    if (dockWidgetArea(m_accessBar) != Qt::LeftDockWidgetArea)
        addDockWidget(Qt::LeftDockWidgetArea, m_accessBar);
    m_accessBar->show();
    m_accessBar->raise();
    m_accessBarAction->setChecked(true);
}

void CMainFrame::BuildHelpKey()
{
    // F1 anywhere in the main window or its children; the child frames own no F1.
    auto* help = new QAction(QStringLiteral("Ayuda"), this);
    help->setObjectName(QStringLiteral("helpKey"));
    help->setShortcut(QKeySequence::HelpContents);
    help->setShortcutContext(Qt::WindowShortcut);
    addAction(help);
    connect(help, &QAction::triggered, this, [this] { ShowHelpForActiveMode(); });
}

bool CMainFrame::ShowHelpForActiveMode()
{
    const CChildFrame* child = ActiveChild();
    if (!child)
        return ShowHelp();
    switch (child->Mode()) {
    case FrameMode::Design:
        return ShowHelp(QStringLiteral("diseno.html"));
    case FrameMode::Capture:
        return ShowHelp(QStringLiteral("captura.html"));
    case FrameMode::ScreenLayout:
        return ShowHelp(QStringLiteral("pantalla.html"));
    }
    return ShowHelp();
}

bool CMainFrame::ShowHelp(const QString& page)
{
    if (CHelpWindow::ContentsPage().isEmpty()) {
        QStringList folders;
        for (const QString& folder : CHelpWindow::HelpFolders())
            folders << QDir::toNativeSeparators(QDir::cleanPath(folder));
        m_prompts.Message(kHelpMissing.arg(folders.join(QStringLiteral("\" y en \""))).toStdString(), PromptIcon::Error);
        return false;
    }
    if (!m_help)
        m_help = new CHelpWindow(this);
    m_help->ShowPage(page);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
    return true;
}

QMdiSubWindow* CMainFrame::SubWindowOf(CChildFrame* frame) const
{
    return frame ? qobject_cast<QMdiSubWindow*>(frame->parentWidget()) : nullptr;
}

QMdiSubWindow* CMainFrame::AddChild(CChildFrame* frame)
{
    connect(frame, &CChildFrame::captionChanged, this, &CMainFrame::OnChildTitle);
    // The children shown side by side before this one decide its cascade step.
    int cascaded = 0;
    bool maximised = false;
    for (QMdiSubWindow* w : m_client->subWindowList()) {
        maximised = maximised || w->isMaximized();
        if (!w->isMinimized() && !w->isMaximized() && !w->isHidden())
            ++cascaded;
    }
    QMdiSubWindow* window = m_client->addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(frame->windowIcon());

    const QSize area = m_client->viewport()->size();
    const int step = std::max(16, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
    if (maximised) {
        // The workspace maximises a child shown while the active one is maximised.
    } else if (area.width() < kMinimumChild.width() / 2 || area.height() < kMinimumChild.height() / 2) {
        window->setGeometry(QRect(QPoint(cascaded * step, cascaded * step), kDefaultChild));
    } else {
        // Each child steps one title bar down and right; when the next step would push a
        // child of the smallest size out of the area, the cascade starts again at the corner.
        const QSize minimum = kMinimumChild.boundedTo(area);
        const int cascadeSlots = std::max(1, std::min((area.width() - minimum.width()) / step,
                                               (area.height() - minimum.height()) / step) + 1);
        const int k = cascaded % cascadeSlots;
        const QPoint origin(k * step, k * step);
        const QSize wanted = window->sizeHint().expandedTo(kDefaultChild);
        window->setGeometry(QRect(origin, wanted.boundedTo(QSize(area.width() - origin.x(), area.height() - origin.y()))));
    }
    window->show();
    m_client->setActiveSubWindow(window);
    OnChildTitle(frame);
    return window;
}

void CMainFrame::FitChild(CChildFrame* frame)
{
    QMdiSubWindow* window = SubWindowOf(frame);
    if (!window || window->isMaximized() || window->isMinimized())
        return;
    const QSize area = m_client->viewport()->size();
    if (area.width() < kMinimumChild.width() / 2 || area.height() < kMinimumChild.height() / 2)
        return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The frame's view is its largest scrolling area; what it cannot show now is what its
    // scroll bars can reach, and the window grows by that much.
    QAbstractScrollArea* view = nullptr;
    int largest = -1;
    for (QAbstractScrollArea* a : frame->findChildren<QAbstractScrollArea*>()) {
        const int size = a->viewport()->width() * a->viewport()->height();
        if (size > largest) {
            largest = size;
            view = a;
        }
    }
    QSize wanted = window->sizeHint();
    if (view) {
        auto reach = [](const QScrollBar* bar) { return bar->maximum() - bar->minimum(); };
        wanted = wanted.expandedTo(window->size() +
                                   QSize(reach(view->horizontalScrollBar()), reach(view->verticalScrollBar())));
    }
    const QPoint origin = window->pos();
    const QSize room(area.width() - origin.x(), area.height() - origin.y());
    window->resize(wanted.expandedTo(kMinimumChild.boundedTo(room)).boundedTo(room));
}

CChildFrame* CMainFrame::ActiveChild() const
{
    // The current window stays current while the program itself is in the background.
    QMdiSubWindow* window = m_client->currentSubWindow();
    return window ? qobject_cast<CChildFrame*>(window->widget()) : nullptr;
}

void CMainFrame::Activate(CChildFrame* frame)
{
    QMdiSubWindow* window = SubWindowOf(frame);
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    m_client->setActiveSubWindow(window);
    window->raise();
}

std::vector<CChildFrame*> CMainFrame::Children() const
{
    std::vector<CChildFrame*> children;
    for (QMdiSubWindow* window : m_client->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(window->widget()))
            children.push_back(frame);
    return children;
}

void CMainFrame::SetMainMenus(std::vector<QMenu*> menus)
{
    m_mainMenus = std::move(menus);
    OnSubWindowActivated(m_client->currentSubWindow());
}

void CMainFrame::SetModeMenus(FrameMode mode, MenuMaker make)
{
    m_modeMenus.erase(mode);
    m_menuMakers[mode] = std::move(make);
}

void CMainFrame::SetCaption(const QString& childTitle)
{
    const QString caption = kCaption.arg(childTitle);
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void CMainFrame::OnChildTitle(CChildFrame* frame)
{
    // The sub-window's title first: while it is maximised, the main caption set next then
    // already holds it and nothing is appended.
    if (QMdiSubWindow* window = SubWindowOf(frame))
        window->setWindowTitle(frame->windowTitle());
    if (frame == ActiveChild())
        SetCaption(frame->windowTitle());
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    // A null window also arrives when the whole program loses the focus.
    if (!window)
        window = m_client->currentSubWindow();
    CChildFrame* frame = window ? qobject_cast<CChildFrame*>(window->widget()) : nullptr;
    if (!frame) {
        ShowMenus(m_mainMenus);
        if (m_client->subWindowList().isEmpty())
            SetCaption(QString());
        return;
    }
    auto it = m_modeMenus.find(frame->Mode());
    if (it == m_modeMenus.end()) {
        const auto maker = m_menuMakers.find(frame->Mode());
        if (maker != m_menuMakers.end())
            it = m_modeMenus.emplace(frame->Mode(), maker->second()).first;
    }
    ShowMenus(it != m_modeMenus.end() ? it->second : m_mainMenus);
    SetCaption(frame->windowTitle());
}

void CMainFrame::ShowMenus(const std::vector<QMenu*>& menus)
{
    // The menus belong to the application; clearing only takes their entries off the bar.
    menuBar()->clear();
    for (QMenu* menu : menus)
        menuBar()->addMenu(menu);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Each child is closed as its own close box would close it, the active one first so
    // that a question about unsaved work comes from the window the clerk is looking at.
    QList<QPointer<QMdiSubWindow>> windows;
    if (QMdiSubWindow* active = m_client->currentSubWindow())
        windows << active;
    for (QMdiSubWindow* w : m_client->subWindowList())
        if (w != m_client->currentSubWindow())
            windows << w;
    for (const QPointer<QMdiSubWindow>& w : windows) {
        if (!w)
            continue;
        m_client->setActiveSubWindow(w);
        if (!w->close()) {
            event->ignore();
            return;
        }
    }
    if (m_help)
        m_help->close();
    SavePlacement();
    event->accept();
}
