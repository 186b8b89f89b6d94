#include "app/ordexa_app.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QMenu>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

#include "capture/ui/fmtcaptura_frm.h"
#include "design/design_commands.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtpantalla_frm.h"
#include "platform/format_dialogs.h"
#include "platform/qt_locale.h"
#include "app/main_frame.h"
#include "app/recent_formats.h"
#include "app/recovery_keeper.h"
#include "app/access_dialog.h"

namespace {
const QString kTitle = QStringLiteral("Ordexa");
}

void COrdexaApp::ConfigureQtApplication()
{
    QApplication::setOrganizationName(QStringLiteral("KALVOR Soft"));
    QApplication::setApplicationName(QStringLiteral("Ordexa"));
    // Ties the windows to the desktop entry, so the desktop shows the program's icon.
    QApplication::setDesktopFileName(QStringLiteral("mx.kalvorsoft.Ordexa"));
    // The old screen font name is not known to fontconfig; its metric twin is.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

COrdexaApp::COrdexaApp(SettingsStore& settings, Prompts& prompts) : m_settings(settings), m_prompts(prompts) {}

COrdexaApp::~COrdexaApp() = default;

bool COrdexaApp::Start(const QStringList& args, bool show)
{
    LoadSpanishTranslations();
    m_mainFrame = std::make_unique<CMainFrame>(m_settings, m_prompts);
    BuildMenus();
    ConnectMainFrame();
    if (show) {
        m_mainFrame->show();
    }
    // A format named on the command line (the file manager opening a ".fmt" with the
    // program) opens in design mode, where the format itself is edited.
    for (const QString& arg : args) {
        if (!arg.startsWith(QLatin1Char('-'))) {
            OpenForDesign(QFileInfo(arg).absoluteFilePath().toStdString());
            break;
        }
    }
    return true;
}

void COrdexaApp::StartRecovery(const std::string& folder, RecoveryKeeper::Chooser chooser)
{
    m_keeper = std::make_unique<RecoveryKeeper>(*this, m_prompts);
    if (chooser)
        m_keeper->SetChooser(std::move(chooser));
    m_keeper->Start(folder);
}

QPrinter& COrdexaApp::Printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>();
        // With no printer installed the printout goes to a PDF file, whose sheet Qt takes
        // from the locale (A4 for Mexico and for a bare system); forms in Mexican offices
        // are letter size. A real printer keeps its own default paper.
        if (m_printer->outputFormat() == QPrinter::PdfFormat)
            m_printer->setPageSize(QPageSize(QPageSize::Letter));
    }
    return *m_printer;
}

void COrdexaApp::LoadSpanishTranslations()
{
    // Qt's own dialogs and buttons ("Sí", "No", "Abrir", "Cancelar") speak Spanish too.
    InstallQtSpanishTranslations(m_qtTranslator);
}

QMenu* COrdexaApp::Menu(const QString& title, MenuItems items)
{
    auto* menu = new QMenu(title, m_mainFrame.get());
    AddItems(menu, items);
    // The active frame says which of its commands can be chosen now and which are
    // marked, and shows the prompt of the highlighted one in its status bar. Closed
    // menus keep their items enabled, so that shortcuts reach the frame, which ignores
    // a command that does not apply.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        CChildFrame* active = m_mainFrame->ActiveChild();
        for (QAction* action : menu->actions()) {
            const int id = action->data().toInt();
            if (const std::optional<CommandUiState> state = active && id ? active->CommandState(id) : std::nullopt)
                ApplyCommandState(action, *state);
        }
    });
    connect(menu, &QMenu::aboutToHide, this, [this, menu] {
        for (QAction* action : menu->actions())
            if (action->data().toInt())
                action->setEnabled(true);
        if (CChildFrame* active = m_mainFrame->ActiveChild())
            active->ShowCommandPrompt(0);
    });
    connect(menu, &QMenu::hovered, this, [this](QAction* action) {
        if (CChildFrame* active = m_mainFrame->ActiveChild())
            active->ShowCommandPrompt(action->data().toInt());
    });
    return menu;
}

void COrdexaApp::AddItems(QMenu* menu, MenuItems items)
{
    for (const auto& [text, id] : items) {
        if (text.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        if (id == CommandId::kAccessBar) {
            // One checkable action in every menu, its mark following the bar.
            menu->addAction(m_mainFrame->AccessBarAction());
            continue;
        }
        const int command = id;
        QAction* action = menu->addAction(text);
        action->setData(command);
        if (command == CommandId::kUndo)
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        else if (command == CommandId::kRedo)
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
    }
}

void COrdexaApp::ConnectMainFrame()
{
    CMainFrame* frame = m_mainFrame.get();
    connect(frame, &CMainFrame::commandRequested, this, &COrdexaApp::OnCommand);
    CAccessDialog* access = frame->AccessDialog();
    connect(this, &COrdexaApp::recentFormatsChanged, access, &CAccessDialog::FillRecentList);
    connect(access, &CAccessDialog::newFormatRequested, this, [this] { NewDesign(); });
    connect(access, &CAccessDialog::openRequested, this, [this](FrameMode mode, const QString& path) {
        const std::string p = path.toStdString();
        if (mode == FrameMode::Design)
            OpenForDesign(p);
        else if (mode == FrameMode::ScreenLayout)
            OpenForScreenLayout(p);
        else
            OpenForCapture(p);
    });
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
    QMenu* view = Menu(QStringLiteral("&Ver"), {{QStringLiteral("Barra de acceso"), kAccessBar}});
    m_mainFrame->SetMainMenus({file, view, Menu(QStringLiteral("Ay&uda"), {{QStringLiteral("&Contenido"), kHelpContents}})});
    QMenu* help = Menu(QStringLiteral("Ay&uda"), {{QStringLiteral("&Contenido"), kHelpContents},
                                                   {QString(), 0},
                                                   {QStringLiteral("&Acerca de Ordexa..."), kAbout}});

    m_mainFrame->SetModeMenus(FrameMode::Design, DesignMenus(view, help));
    m_mainFrame->SetModeMenus(FrameMode::Capture,
                              {Menu(QStringLiteral("&Archivo"),
                                    {{QStringLiteral("&Abrir formato para captura"), kOpenCapture},
                                     {QStringLiteral("Abrir datos capturados"), kOpenCaptured},
                                     {QStringLiteral("&Guardar captura"), kSaveCapture},
                                     {QStringLiteral("Guardar captura como..."), kSaveCaptureAs},
                                     {QString(), 0},
                                     {QStringLiteral("Con&figurar impresora"), kPrintSetup},
                                     {QStringLiteral("Configurar &Márgenes"), kMargins},
                                     {QStringLiteral("&Hoja de calibración..."), kCalibrationSheet},
                                     {QStringLiteral("&Imprimir formato"), kPrintFormat},
                                     {QStringLiteral("&Vista preliminar"), kPrintPreview},
                                     {QStringLiteral("Imprimir &lote..."), kBatchPrint},
                                     {QString(), 0},
                                     {QStringLiteral("&Cerrar"), kCloseFrame},
                                     {QStringLiteral("&Salir"), kExit}}),
                               Menu(QStringLiteral("&Ver"), {{QStringLiteral("&Barra de herramientas"), kToolbar},
                                                             {QStringLiteral("&Limpiar formato"), kClearCapture},
                                                             {QString(), 0},
                                                             {QStringLiteral("Barra de acceso"), kAccessBar}}),
                               help});
    m_mainFrame->SetModeMenus(FrameMode::ScreenLayout,
                              {Menu(QStringLiteral("&Archivo"),
                                    {{QStringLiteral("&Abrir formato para edición de pantalla"), kOpenScreenLayout},
                                     {QStringLiteral("&Guardar formato"), kSaveLayout},
                                     {QStringLiteral("&Cerrar formato"), kCloseLayout},
                                     {QString(), 0},
                                     {QStringLiteral("&Salir"), kExit}}),
                               Menu(QStringLiteral("&Edición"), {{QStringLiteral("&Deshacer"), kUndo},
                                                                 {QStringLiteral("&Rehacer"), kRedo}}),
                               Menu(QStringLiteral("&Pantalla"), {{QStringLiteral("Título &Arriba"), kCaptionAbove},
                                                                  {QStringLiteral("Título a un &lado"), kCaptionSide},
                                                                  {QString(), 0},
                                                                  {QStringLiteral("&Orden de captura"), kCaptureOrder}}),
                               view, help});
}

std::vector<QMenu*> COrdexaApp::DesignMenus(QMenu* view, QMenu* help)
{
    using namespace CommandId;
    // The texts are the design frame's own, kept with its prompts and tooltips.
    auto item = [](int id) { return std::pair<QString, int>(QString::fromUtf8(FindDesignCommand(id)->menuText), id); };
    const std::pair<QString, int> separator{QString(), 0};
    QMenu* file = Menu(QStringLiteral("&Archivo"), {item(kNewDesign), item(kOpenDesign), item(kSaveDesign),
                                                    item(kSaveDesignAs), item(kCloseDesign), separator,
                                                    {QStringLiteral("&Salir"), kExit}});
    QMenu* edit = Menu(QStringLiteral("&Edición"), {item(kUndo), item(kRedo), separator, item(kDeleteElement)});
    QMenu* design = Menu(QStringLiteral("&Diseño"), {item(kSelectTool)});
    design->addMenu(Menu(QStringLiteral("Controles variables"), {item(kInsertTextlineVar), item(kInsertParrafoVar),
                                                                 item(kInsertCuadrosVar), item(kInsertMarcaVar),
                                                                 item(kInsertGrid)}));
    design->addMenu(Menu(QStringLiteral("Controles estáticos"), {item(kInsertConsText), item(kInsertConsParrafo),
                                                                  item(kInsertLinea), item(kInsertRectangulo),
                                                                  item(kInsertEtiqueta)}));
    AddItems(design, {separator, item(kSnapMillimetre), item(kSnapCentimetre), separator, item(kProperties)});
    QMenu* format = Menu(QStringLiteral("&Formato"), {item(kFont), item(kColor)});
    format->addMenu(Menu(QStringLiteral("Alineación"), {item(kAlignLeft), item(kAlignCenter), item(kAlignRight)}));
    AddItems(format, {separator, item(kLineHorizontal), item(kLineVertical), separator, item(kResetCaptureScreen)});
    AddItems(format, {separator, item(kScanBackground), item(kScanFade), item(kRemoveScanBackground)});
    return {file, edit, design, format, view, help};
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
        // Chooses the printer only: its button accepts the choice, nothing prints here.
        QPrintDialog dialog(&Printer(), m_mainFrame.get());
        dialog.setWindowTitle(QStringLiteral("Configurar impresora"));
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(QStringLiteral("Aceptar"));
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
    case kHelpContents:
        m_mainFrame->ShowHelp();
        break;
    case kAccessBar:
        m_mainFrame->ShowAccessBar();
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
    if (m_keeper)
        m_keeper->Watch(frame);
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
    m_mainFrame->FitChild(frame);
    return frame;
}

CChildFrame* COrdexaApp::OpenForCapture(const std::string& path)
{
    CChildFrame* frame = AddChild(new CFmtcapturaFrm(*this));
    frame->LoadFromPath(path);
    m_mainFrame->FitChild(frame);
    return frame;
}

CChildFrame* COrdexaApp::OpenForScreenLayout(const std::string& path)
{
    CChildFrame* frame = AddChild(new CFmtpantallaFrm(*this));
    frame->LoadFromPath(path);
    m_mainFrame->FitChild(frame);
    return frame;
}

void COrdexaApp::AddToRecentFormats(const std::string& path, int slot)
{
    ::AddToRecentFormats(m_settings, path, slot, [this] { emit recentFormatsChanged(); });
}
