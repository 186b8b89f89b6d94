#pragma once
// The program's top-level window: an MDI area holding the child frames of the three
// modes. Its menu bar shows the main menu while no child is active and the active
// child's mode menu otherwise; its caption follows the active child's.
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <map>
#include <vector>

#include "command_ids.h"

class CChildFrame;
class QMdiSubWindow;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();

    // Puts a child frame into the MDI area and shows it.
    QMdiSubWindow* AddChild(CChildFrame* frame);
    CChildFrame* ActiveChild() const;
    std::vector<CChildFrame*> Children() const;
    QMdiArea* MdiArea() const { return m_mdi; }

    // The menus of the main menu (no child active) and of each mode; lent, not owned.
    void SetMainMenus(std::vector<QMenu*> menus);
    void SetModeMenus(FrameMode mode, std::vector<QMenu*> menus);

public slots:
    // A child frame set its caption: "ORDEXA %s" with it.
    void OnChildTitle(CChildFrame* frame);

private:
    void OnSubWindowActivated(QMdiSubWindow* window);
    void ShowMenus(const std::vector<QMenu*>& menus);

    QMdiArea* m_mdi;
    std::vector<QMenu*> m_mainMenus;
    std::map<FrameMode, std::vector<QMenu*>> m_modeMenus;
};
