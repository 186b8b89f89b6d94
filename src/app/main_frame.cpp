#include "main_frame.h"

#include <QMdiSubWindow>
#include <QMenuBar>

#include "child_frame.h"

namespace {
const QString kCaption = QStringLiteral("ORDEXA %1");
}

CMainFrame::CMainFrame() : m_mdi(new QMdiArea(this))
{
    setCentralWidget(m_mdi);
    setWindowTitle(kCaption.arg(QString()));
    resize(1024, 720);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
}

QMdiSubWindow* CMainFrame::AddChild(CChildFrame* frame)
{
    connect(frame, &CChildFrame::captionChanged, this, &CMainFrame::OnChildTitle);
    QMdiSubWindow* window = m_mdi->addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(760, 520);
    window->show();
    m_mdi->setActiveSubWindow(window);
    OnChildTitle(frame);
    return window;
}

CChildFrame* CMainFrame::ActiveChild() const
{
    // The current window stays current while the program itself is in the background.
    QMdiSubWindow* window = m_mdi->currentSubWindow();
    return window ? qobject_cast<CChildFrame*>(window->widget()) : nullptr;
}

std::vector<CChildFrame*> CMainFrame::Children() const
{
    std::vector<CChildFrame*> children;
    for (QMdiSubWindow* window : m_mdi->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(window->widget()))
            children.push_back(frame);
    return children;
}

void CMainFrame::SetMainMenus(std::vector<QMenu*> menus)
{
    m_mainMenus = std::move(menus);
    OnSubWindowActivated(m_mdi->currentSubWindow());
}

void CMainFrame::SetModeMenus(FrameMode mode, std::vector<QMenu*> menus)
{
    m_modeMenus[mode] = std::move(menus);
}

void CMainFrame::OnChildTitle(CChildFrame* frame)
{
    if (QMdiSubWindow* window = qobject_cast<QMdiSubWindow*>(frame->parentWidget()))
        window->setWindowTitle(frame->windowTitle());
    if (frame == ActiveChild())
        setWindowTitle(kCaption.arg(frame->windowTitle()));
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    // A null window also arrives when the whole program loses the focus.
    if (!window)
        window = m_mdi->currentSubWindow();
    CChildFrame* frame = window ? qobject_cast<CChildFrame*>(window->widget()) : nullptr;
    if (!frame) {
        ShowMenus(m_mainMenus);
        if (m_mdi->subWindowList().isEmpty())
            setWindowTitle(kCaption.arg(QString()));
        return;
    }
    const auto it = m_modeMenus.find(frame->Mode());
    ShowMenus(it != m_modeMenus.end() ? it->second : m_mainMenus);
    setWindowTitle(kCaption.arg(frame->windowTitle()));
}

void CMainFrame::ShowMenus(const std::vector<QMenu*>& menus)
{
    // The menus belong to the application; clearing only takes their entries off the bar.
    menuBar()->clear();
    for (QMenu* menu : menus)
        menuBar()->addMenu(menu);
}
