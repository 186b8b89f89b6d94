#pragma once
// The application object: starts the program, keeps the settings and the recent formats
// list, and opens a format in one of the three modes as a child frame of the main frame.
#include <QObject>
#include <QPrinter>
#include <QTranslator>
#include <memory>
#include <string>
#include <vector>

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

    CChildFrame* OpenForDesign(const std::string& path);
    CChildFrame* OpenForCapture(const std::string& path);
    CChildFrame* OpenForScreenLayout(const std::string& path);
    // Captured data opened from outside (the file manager): its format, found beside it,
    // opens in capture mode with the values loaded. Null after a message when the format
    // is not found.
    CChildFrame* OpenCapturedData(const std::string& capPath);
    CChildFrame* NewDesign();

    // A menu or toolbar command, wherever it was chosen.
    void OnCommand(int id);

    // FrameHost
    void AddToRecentFormats(const std::string& path, int slot) override;
    Prompts& GetPrompts() override { return m_prompts; }
    SettingsStore& GetSettings() override { return m_settings; }
    QPrinter* ApplicationPrinter() override { return &Printer(); }
    void RunCommand(int id) override { OnCommand(id); }

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
    void BuildMenus();
    // The main frame's toolbar and access bar reach the application's commands.
    void ConnectMainFrame();
    // Items are (text, command id); an empty text is a separator.
    using MenuItems = std::initializer_list<std::pair<QString, int>>;
    QMenu* Menu(const QString& title, MenuItems items);
    // The menus of the format design mode, around the shared view and help menus.
    std::vector<QMenu*> DesignMenus(QMenu* view, QMenu* help);
    void AddItems(QMenu* menu, MenuItems items);
    void OpenAsked(FrameMode mode);
    void LoadSpanishTranslations();

    SettingsStore& m_settings;
    Prompts& m_prompts;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<QPrinter> m_printer;
    QTranslator m_qtTranslator;
};
