#pragma once
// The application object: starts the program, keeps the settings and the recent formats
// list, and opens a format in one of the three modes as a child frame of the main frame.
#include <QObject>
#include <QPrinter>
#include <QTranslator>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/recovery_keeper.h"
#include "platform/command_ids.h"
#include "platform/frame_host.h"

class CChildFrame;
class CMainFrame;
class QMenu;

class COrdexaApp : public QObject, public FrameHost {
    Q_OBJECT
public:
    // The settings store and prompts are lent: QSettings and message boxes in the
    // program, in-memory ones in tests.
    COrdexaApp(SettingsStore& settings, Prompts& prompts);
    ~COrdexaApp() override;

    // What the Qt application must know before the program starts: the names its
    // settings are kept under, the desktop entry its windows belong to, and the metric
    // twin of the old screen font.
    static void ConfigureQtApplication();
    // What "Acerca de" says: the program, its version and the day it was built.
    static QString AboutText();

    // The start-up sequence: main frame, command line, mode menus, show. `args` are the
    // program's arguments after its name; a format named there opens in design mode.
    bool Start(const QStringList& args, bool show = true);

    // Starts keeping recovery copies in `folder` and offers the copies a run that did
    // not end normally left there (after Start, once the main window is shown). The
    // question about them goes to `chooser` when one is given, else to the dialog.
    void StartRecovery(const std::string& folder, RecoveryKeeper::Chooser chooser = nullptr);
    RecoveryKeeper* Recovery() const { return m_keeper.get(); }

    CChildFrame* OpenForDesign(const std::string& path);
    CChildFrame* OpenForCapture(const std::string& path);
    CChildFrame* OpenForScreenLayout(const std::string& path);
    CChildFrame* NewDesign();
    // A captured-data file opened from the file manager or the command line: the capture
    // screen of the format it names, with its values loaded. When that format cannot be
    // found the clerk is told and may look for it. Null when nothing was opened.
    CChildFrame* OpenCaptureFile(const std::string& capturePath);

    // A menu or toolbar command, wherever it was chosen.
    void OnCommand(int id);
    // A mode button (access bar, main toolbar): opens the format chosen in the access
    // bar, else the active window's format, and asks for one only when there is neither.
    void OpenChosen(FrameMode mode);
    // The open dialog for a format file; tests answer it themselves.
    void SetFormatAsker(std::function<std::string(QWidget*)> ask) { m_askFormat = std::move(ask); }

    // FrameHost
    void AddToRecentFormats(const std::string& path, int slot) override;
    Prompts& GetPrompts() override { return m_prompts; }
    SettingsStore& GetSettings() override { return m_settings; }
    QPrinter* ApplicationPrinter() override { return &Printer(); }
    void RunCommand(int id) override { OnCommand(id); }
    void FormatSaved(const std::string& path, CChildFrame* frame) override;
    bool BringForward(FrameMode mode, const std::string& path, const CChildFrame* except) override;
    // The window of mode `mode` showing the format file `path` (the same file under any
    // name), other than `except`; null when there is none.
    CChildFrame* FrameShowing(FrameMode mode, const std::string& path, const CChildFrame* except = nullptr) const;

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    // The printer chosen with "Configurar impresora...", offered first when printing.
    // Made on first use: asking the print system for its printers costs the start-up
    // several milliseconds that a clerk who does not print never needs.
    QPrinter& Printer();

signals:
    // The recent formats list changed; the access bar reads it again.
    void recentFormatsChanged();

private:
    CChildFrame* AddChild(CChildFrame* frame);
    // Opens `path` in a new frame of `mode`, or brings forward the one already showing it.
    CChildFrame* OpenInMode(FrameMode mode, const std::string& path);
    void BuildMenus();
    // The main frame's toolbar and access bar reach the application's commands.
    void ConnectMainFrame();
    // Items are (text, command id); an empty text is a separator.
    using MenuItems = std::initializer_list<std::pair<QString, int>>;
    QMenu* Menu(const QString& title, MenuItems items);
    // The menus of the format design mode, around the shared view and help menus.
    std::vector<QMenu*> DesignMenus(QMenu* help);
    std::vector<QMenu*> CaptureMenus();
    std::vector<QMenu*> LayoutMenus(QMenu* view);
    QMenu* HelpMenu();
    // The screen layout's "&Pantalla" menu.
    QMenu* LayoutMenu();
    // A design command's menu item: its text, with the key the view handles beside it.
    static std::pair<QString, int> DesignItem(int id);
    void AddItems(QMenu* menu, MenuItems items);
    void OpenAsked(FrameMode mode);
    void LoadSpanishTranslations();

    SettingsStore& m_settings;
    Prompts& m_prompts;
    // Outlives the main frame, so the windows closing with it take their copies along.
    std::unique_ptr<RecoveryKeeper> m_keeper;
    std::unique_ptr<CMainFrame> m_mainFrame;
    QMenu* m_helpMenu = nullptr;  // made with the first mode's menus, owned by the main frame
    std::unique_ptr<QPrinter> m_printer;
    QTranslator m_qtTranslator;
    std::function<std::string(QWidget*)> m_askFormat;
};
