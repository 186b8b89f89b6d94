#pragma once
// The program's top-level window: the area holding the child frames of the three modes
// (with the logo behind them), the main menu and toolbar, the access bar "Accesos"
// docked at the left, and the help window. Its menu bar shows the main menu while no
// child is active and the active child's mode menu otherwise; its caption is
// "ORDEXA <active child's caption>".
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QTranslator>
#include <functional>
#include <map>
#include <vector>

#include "app/help_window.h"
#include "platform/command_ids.h"

class CAccessDialog;
class CChildFrame;
class CClientArea;
class Prompts;
class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class SettingsStore;

// Qt writes "<main title> - [<child title>]" while a child is maximised; our caption
// already holds the child's title, so this keeps it from being written twice.
class CMaximisedCaptionTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // The settings store (the recent list) and the prompts are lent by the application.
    CMainFrame(SettingsStore& settings, Prompts& prompts);
    ~CMainFrame() override;

    // Puts a child frame into the workspace, below and to the right of the last one
    // (cascaded), inside the visible area, and shows it.
    QMdiSubWindow* AddChild(CChildFrame* frame);
    // The child's content is known (its format was loaded): it gets the size the content
    // asks for, as far as the workspace allows from where the child stands.
    void FitChild(CChildFrame* frame);
    CChildFrame* ActiveChild() const;
    // Makes `frame`'s window the active one (restored first when it was minimised).
    void Activate(CChildFrame* frame);
    std::vector<CChildFrame*> Children() const;
    QMdiArea* MdiArea() const;
    CClientArea* ClientArea() const { return m_client; }

    // The menus of the main menu (no child active) and of each mode; lent, not owned.
    // A mode's menus are made by `make` the first time a window of that mode comes
    // forward: most sessions use one or two of the three modes, and the start does not
    // wait for the others.
    using MenuMaker = std::function<std::vector<QMenu*>()>;
    void SetMainMenus(std::vector<QMenu*> menus);
    void SetModeMenus(FrameMode mode, MenuMaker make);

    CAccessDialog* AccessDialog() const { return m_accessDialog; }
    QDockWidget* AccessBar() const { return m_accessBar; }
    // "Barra de acceso": checked while the bar is visible; the same action in every menu.
    QAction* AccessBarAction() const { return m_accessBarAction; }
    // Shows the access bar and docks it at the left (it never hides it).
    void ShowAccessBar();
    // Opens the help on its contents page, or on another of its pages; false (after a
    // message) when the help is missing.
    bool ShowHelp(const QString& page = QStringLiteral("index.html"));
    // F1: the help page of the active child's mode, the contents when no child is active.
    bool ShowHelpForActiveMode();
    CHelpWindow* HelpWindow() const { return m_help; }

signals:
    // A toolbar button of the main frame was pressed.
    void commandRequested(int id);
    // A mode button of the main toolbar was pressed.
    void modeButtonPressed(FrameMode mode);

public slots:
    // A child frame set its caption: "ORDEXA %s" with it.
    void OnChildTitle(CChildFrame* frame);

protected:
    // Leaving the program closes every child through its own close; a child that refuses
    // (the clerk cancels saving its work) keeps the program open.
    void closeEvent(QCloseEvent* event) override;

private:
    // Size, position and maximised state as the clerk left them, or, the first time, a
    // window that fits the screen's available area, centred on it.
    void RestorePlacement();
    void SavePlacement();
    void BuildToolBar();
    void BuildAccessBar();
    void BuildHelpKey();
    void OnSubWindowActivated(QMdiSubWindow* window);
    void ShowMenus(const std::vector<QMenu*>& menus);
    void SetCaption(const QString& childTitle);
    QMdiSubWindow* SubWindowOf(CChildFrame* frame) const;

    SettingsStore& m_settings;
    Prompts& m_prompts;
    CClientArea* m_client;
    QDockWidget* m_accessBar = nullptr;
    CAccessDialog* m_accessDialog = nullptr;
    QAction* m_accessBarAction = nullptr;
    QPointer<CHelpWindow> m_help;
    CMaximisedCaptionTranslator m_captionTranslator;
    std::vector<QMenu*> m_mainMenus;
    std::map<FrameMode, std::vector<QMenu*>> m_modeMenus;
    std::map<FrameMode, MenuMaker> m_menuMakers;
};
