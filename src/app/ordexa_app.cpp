#include "ordexa_app.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>

#include "fmtcaptura_frm.h"
#include "fmtdesign_frm.h"
#include "fmtpantalla_frm.h"
#include "format_dialogs.h"
#include "main_frame.h"
#include "recent_formats.h"

namespace {
const QString kTitle = QStringLiteral("Ordexa");
}

COrdexaApp::COrdexaApp(SettingsStore& settings, Prompts& prompts) : m_settings(settings), m_prompts(prompts) {}

COrdexaApp::~COrdexaApp() = default;

bool COrdexaApp::Start(const QStringList& args, bool show)
{
    LoadSpanishTranslations();
    m_mainFrame = std::make_unique<CMainFrame>();
    BuildMenus();
    if (show) {
        m_mainFrame->show();
    }
    // A format named on the command line opens for capture, the mode a clerk uses daily.
    for (const QString& arg : args) {
        if (!arg.startsWith(QLatin1Char('-'))) {
            OpenForCapture(QFileInfo(arg).absoluteFilePath().toStdString());
            break;
        }
    }
    return true;
}

void COrdexaApp::LoadSpanishTranslations()
{
    // Qt's own dialogs and buttons ("Sí", "No", "Abrir", "Cancelar") speak Spanish too.
    if (m_qtTranslator.load(QLocale(QLocale::Spanish, QLocale::Mexico), QStringLiteral("qtbase"),
                            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);
}

QMenu* COrdexaApp::Menu(const QString& title, MenuItems items)
{
    auto* menu = new QMenu(title, m_mainFrame.get());
    AddItems(menu, items);
    return menu;
}

void COrdexaApp::AddItems(QMenu* menu, MenuItems items)
{
    for (const auto& [text, id] : items) {
        if (text.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        const int command = id;
        connect(menu->addAction(text), &QAction::triggered, this, [this, command] { OnCommand(command); });
    }
}

void COrdexaApp::BuildMenus()
{
    using namespace CommandId;
    QMenu* file = Menu(QStringLiteral("&Archivo"), {{QStringLiteral("&Nuevo diseño"), kNewDesign}});
    QMenu* open = Menu(QStringLiteral("&Abrir"), {{QStringLiteral("&Diseño de formato"), kOpenDesign},
                                                   {QStringLiteral("Formato de &captura"), kOpenScreenLayout},
                                                   {QStringLiteral("&Pantalla de captura"), kOpenCapture}});
    file->addMenu(open);
    AddItems(file, {{QStringLiteral("Con&figurar impresora..."), kPrintSetup}, {QString(), 0}, {QStringLiteral("&Salir"), kExit}});
    QMenu* help = Menu(QStringLiteral("Ay&uda"), {{QStringLiteral("&Acerca de Ordexa..."), kAbout}});
    m_mainFrame->SetMainMenus({file, help});

    m_mainFrame->SetModeMenus(FrameMode::Design,
                              {Menu(QStringLiteral("&Archivo"), {{QStringLiteral("Nuevo formato"), kNewDesign},
                                                                 {QStringLiteral("Abrir formato..."), kOpenDesign},
                                                                 {QString(), 0},
                                                                 {QStringLiteral("&Salir"), kExit}}),
                               help});
    m_mainFrame->SetModeMenus(FrameMode::Capture,
                              {Menu(QStringLiteral("&Archivo"),
                                    {{QStringLiteral("&Abrir formato para captura"), kOpenCapture},
                                     {QStringLiteral("Con&figurar impresora..."), kPrintSetup},
                                     {QString(), 0},
                                     {QStringLiteral("&Salir"), kExit}}),
                               help});
    m_mainFrame->SetModeMenus(FrameMode::ScreenLayout,
                              {Menu(QStringLiteral("&Archivo"),
                                    {{QStringLiteral("&Abrir formato para edición de pantalla"), kOpenScreenLayout},
                                     {QString(), 0},
                                     {QStringLiteral("&Salir"), kExit}}),
                               help});
}

void COrdexaApp::OnCommand(int id)
{
    using namespace CommandId;
    // Inside a frame of the same mode, the frame's own handler runs first (the design
    // frame's "Abrir formato..." loads into itself).
    if (CChildFrame* active = m_mainFrame->ActiveChild(); active && active->HandleCommand(id))
        return;
    switch (id) {
    case kNewDesign:
        NewDesign();
        break;
    case kOpenDesign:
        // An empty design frame runs its own open command; if the user cancels, the
        // empty frame stays.
        static_cast<CFmtdesignFrm*>(NewDesign())->OpenFormat();
        break;
    case kOpenCapture:
        OpenAsked(FrameMode::Capture);
        break;
    case kOpenScreenLayout:
        OpenAsked(FrameMode::ScreenLayout);
        break;
    case kPrintSetup: {
        QPrintDialog dialog(&m_printer, m_mainFrame.get());
        dialog.setWindowTitle(QStringLiteral("Configurar impresora"));
        dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
        dialog.exec();
        break;
    }
    case kAbout:
        QMessageBox::about(m_mainFrame.get(), QStringLiteral("Acerca de Ordexa"),
                           QStringLiteral("Ordexa\nDiseño, captura e impresión de formatos preimpresos."));
        break;
    case kExit:
        m_mainFrame->close();
        break;
    default:
        break;
    }
}

void COrdexaApp::OpenAsked(FrameMode mode)
{
    const std::string path = AskFormatToOpen(m_mainFrame.get());
    if (path.empty())
        return;
    if (mode == FrameMode::Capture)
        OpenForCapture(path);
    else
        OpenForScreenLayout(path);
}

CChildFrame* COrdexaApp::AddChild(CChildFrame* frame)
{
    m_mainFrame->AddChild(frame);
    return frame;
}

CChildFrame* COrdexaApp::NewDesign()
{
    return AddChild(new CFmtdesignFrm(*this));
}

CChildFrame* COrdexaApp::OpenForDesign(const std::string& path)
{
    CChildFrame* frame = AddChild(new CFmtdesignFrm(*this));
    frame->LoadFromPath(path);
    return frame;
}

CChildFrame* COrdexaApp::OpenForCapture(const std::string& path)
{
    CChildFrame* frame = AddChild(new CFmtcapturaFrm(*this));
    frame->LoadFromPath(path);
    return frame;
}

CChildFrame* COrdexaApp::OpenForScreenLayout(const std::string& path)
{
    CChildFrame* frame = AddChild(new CFmtpantallaFrm(*this));
    frame->LoadFromPath(path);
    return frame;
}

void COrdexaApp::AddToRecentFormats(const std::string& path, int slot)
{
    ::AddToRecentFormats(m_settings, path, slot, [this] { emit recentFormatsChanged(); });
}
