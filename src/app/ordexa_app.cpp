#include "app/ordexa_app.h"

#include <QAction>
#include <QDate>
#include <QLocale>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QMenu>
#include <QMessageBox>
#include <QPageSize>
#include <QPrinter>

#include "capture/capture_session.h"
#include "capture/ui/fmtcaptura_frm.h"
#include "capture/ui/fmtcapture_view.h"
#include "design/design_commands.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtpantalla_frm.h"
#include "platform/format_dialogs.h"
#include "platform/print_dialog.h"
#include "platform/qt_locale.h"
#include "app/main_frame.h"
#include "app/recent_formats.h"
#include "app/recovery_keeper.h"
#include "app/access_dialog.h"
#include "ordexa_version.h"

namespace {
const QString kTitle = QStringLiteral("Ordexa");
}

void COrdexaApp::ConfigureQtApplication()
{
    QApplication::setOrganizationName(QStringLiteral("KALVOR Soft"));
    QApplication::setApplicationName(QStringLiteral("Ordexa"));
    QApplication::setApplicationVersion(QString::fromLatin1(kOrdexaVersion));
    // Ties the windows to the desktop entry, so the desktop shows the program's icon.
    QApplication::setDesktopFileName(QStringLiteral("mx.kalvorsoft.Ordexa"));
    // The old screen font name is not known to fontconfig; its metric twin is.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

COrdexaApp::COrdexaApp(SettingsStore& settings, Prompts& prompts)
    : m_settings(settings), m_prompts(prompts), m_askFormat(AskFormatToOpen)
{
}

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
    // program) opens in design mode, where the format itself is edited; captured data
    // (".cap") opens on the capture screen of its format.
    for (const QString& arg : args) {
        if (!arg.startsWith(QLatin1Char('-'))) {
            const std::string path = QFileInfo(arg).absoluteFilePath().toStdString();
            if (arg.endsWith(QStringLiteral(".cap"), Qt::CaseInsensitive))
                OpenCaptureFile(path);
            else
                OpenForDesign(path);
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
        // Ctrl+S saves in every mode that saves; only the active mode's menus are on
        // the menu bar, so the one shortcut never means two commands.
        if (command == CommandId::kSaveDesign || command == CommandId::kSaveLayout || command == CommandId::kSaveCapture)
            action->setShortcut(QKeySequence::Save);
        else if (command == CommandId::kUndo)
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        else if (command == CommandId::kRedo)
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
        else if (const DesignCommand* design = FindDesignCommand(command); design && design->shortcut)
            action->setShortcut(QKeySequence(QString::fromUtf8(design->shortcut)));
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
    connect(access, &CAccessDialog::openRequested, this, &COrdexaApp::OpenChosen);
    connect(frame, &CMainFrame::modeButtonPressed, this, &COrdexaApp::OpenChosen);
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
    m_mainFrame->SetModeMenus(FrameMode::Design, [this] { return DesignMenus(HelpMenu()); });
    m_mainFrame->SetModeMenus(FrameMode::Capture, [this] { return CaptureMenus(); });
    m_mainFrame->SetModeMenus(FrameMode::ScreenLayout, [this, view] { return LayoutMenus(view); });
}

QMenu* COrdexaApp::HelpMenu()
{
    // One help menu, shared by the three modes.
    using namespace CommandId;
    if (!m_helpMenu)
        m_helpMenu = Menu(QStringLiteral("Ay&uda"), {{QStringLiteral("&Contenido"), kHelpContents},
                                                      {QString(), 0},
                                                      {QStringLiteral("&Acerca de Ordexa..."), kAbout}});
    return m_helpMenu;
}

std::vector<QMenu*> COrdexaApp::CaptureMenus()
{
    using namespace CommandId;
    return {Menu(QStringLiteral("&Archivo"),
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
           HelpMenu()};
}

std::vector<QMenu*> COrdexaApp::LayoutMenus(QMenu* view)
{
    using namespace CommandId;
    return {Menu(QStringLiteral("&Archivo"),
                {{QStringLiteral("&Abrir formato para edición de pantalla"), kOpenScreenLayout},
                 {QStringLiteral("&Guardar formato"), kSaveLayout},
                 {QStringLiteral("&Cerrar formato"), kCloseLayout},
                 {QString(), 0},
                 {QStringLiteral("&Salir"), kExit}}),
           Menu(QStringLiteral("&Edición"), {{QStringLiteral("&Deshacer"), kUndo},
                                             {QStringLiteral("&Rehacer"), kRedo},
                                             {QString(), 0},
                                             DesignItem(kSelectAll),
                                             DesignItem(kNextElement),
                                             DesignItem(kPreviousElement)}),
           LayoutMenu(), view, HelpMenu()};
}

std::pair<QString, int> COrdexaApp::DesignItem(int id)
{
    // The texts are the design frame's own, kept with its prompts and tooltips. A key the
    // view handles itself is shown beside its item, after a tab.
    const DesignCommand* command = FindDesignCommand(id);
    QString text = QString::fromUtf8(command->menuText);
    if (command->keyText)
        text += QLatin1Char('\t') + QString::fromUtf8(command->keyText);
    return {text, id};
}

QMenu* COrdexaApp::LayoutMenu()
{
    using namespace CommandId;
    QMenu* layout = Menu(QStringLiteral("&Pantalla"), {{QStringLiteral("Título &Arriba"), kCaptionAbove},
                                                       {QStringLiteral("Título a un &lado"), kCaptionSide},
                                                       {QString(), 0},
                                                       {QStringLiteral("&Orden de captura"), kCaptureOrder},
                                                       {QString(), 0}});
    layout->addMenu(Menu(QStringLiteral("Or&ganizar"),
                         {DesignItem(kAlignLefts), DesignItem(kAlignRights), DesignItem(kAlignTops),
                          DesignItem(kAlignBottoms), DesignItem(kAlignCentresHorizontally),
                          DesignItem(kAlignCentresVertically), {QString(), 0}, DesignItem(kDistributeHorizontally),
                          DesignItem(kDistributeVertically), {QString(), 0}, DesignItem(kSameWidth),
                          DesignItem(kSameHeight)}));
    layout->addMenu(Menu(QStringLiteral("&Mover"), {DesignItem(kMoveLeft), DesignItem(kMoveRight), DesignItem(kMoveUp),
                                                    DesignItem(kMoveDown)}));
    return layout;
}

std::vector<QMenu*> COrdexaApp::DesignMenus(QMenu* help)
{
    using namespace CommandId;
    auto item = [](int id) { return DesignItem(id); };
    const std::pair<QString, int> separator{QString(), 0};
    QMenu* file = Menu(QStringLiteral("&Archivo"), {item(kNewDesign), item(kOpenDesign), item(kSaveDesign),
                                                    item(kSaveDesignAs), item(kCloseDesign), separator,
                                                    {QStringLiteral("&Salir"), kExit}});
    QMenu* edit = Menu(QStringLiteral("&Edición"),
                       {item(kUndo), item(kRedo), separator, item(kCut), item(kCopy), item(kPaste), item(kDuplicate),
                        item(kDeleteElement), separator, item(kSelectAll), item(kNextElement), item(kPreviousElement)});
    QMenu* design = Menu(QStringLiteral("&Diseño"), {item(kSelectTool)});
    design->addMenu(Menu(QStringLiteral("Controles &variables"), {item(kInsertTextlineVar), item(kInsertParrafoVar),
                                                                  item(kInsertCuadrosVar), item(kInsertMarcaVar),
                                                                  item(kInsertGrid), item(kInsertCodigoBarras)}));
    design->addMenu(Menu(QStringLiteral("Controles es&táticos"), {item(kInsertConsText), item(kInsertConsParrafo),
                                                                   item(kInsertLinea), item(kInsertRectangulo),
                                                                   item(kInsertEtiqueta), item(kInsertImagen)}));
    AddItems(design, {separator, item(kSnapMillimetre), item(kSnapCentimetre), separator, item(kProperties)});
    QMenu* format = Menu(QStringLiteral("&Formato"), {item(kFont), item(kColor)});
    format->addMenu(Menu(QStringLiteral("A&lineación"), {item(kAlignLeft), item(kAlignCenter), item(kAlignRight)}));
    format->addMenu(Menu(QStringLiteral("&Organizar"),
                         {item(kAlignLefts), item(kAlignRights), item(kAlignTops), item(kAlignBottoms),
                          item(kAlignCentresHorizontally), item(kAlignCentresVertically), separator,
                          item(kDistributeHorizontally), item(kDistributeVertically), separator, item(kSameWidth),
                          item(kSameHeight)}));
    format->addMenu(Menu(QStringLiteral("&Mover y tamaño"),
                         {item(kMoveLeft), item(kMoveRight), item(kMoveUp), item(kMoveDown), separator, item(kWiden),
                          item(kNarrow), item(kTaller), item(kShorter)}));
    AddItems(format, {separator, item(kLineHorizontal), item(kLineVertical), separator, item(kResetCaptureScreen)});
    AddItems(format, {separator, item(kScanBackground), item(kScanFade), item(kRemoveScanBackground)});
    // The design mode's own view menu: the zoom of the page, then the access bar.
    QMenu* designView = Menu(QStringLiteral("&Ver"), {item(kZoomIn), item(kZoomOut), item(kZoomActual),
                                                       item(kZoomFitWindow), item(kZoomPageWidth), separator,
                                                       {QStringLiteral("Barra de acceso"), kAccessBar}});
    return {file, edit, design, format, designView, help};
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
        PrintDialog dialog(Printer(), m_mainFrame.get());
        dialog.setWindowTitle(QStringLiteral("Configurar impresora"));
        // The file entry stays offered: without it the setup would turn a PDF choice (or
        // a system without printers) into no choice at all.
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(QStringLiteral("Aceptar"));
        dialog.exec();
        break;
    }
    case kAbout:
        QMessageBox::about(m_mainFrame.get(), QStringLiteral("Acerca de Ordexa"), AboutText());
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

void COrdexaApp::OpenChosen(FrameMode mode)
{
    CAccessDialog* access = m_mainFrame->AccessDialog();
    std::string path = access->ChosenPath().toStdString();
    access->ForgetChoice();
    if (path.empty())
        if (CChildFrame* active = m_mainFrame->ActiveChild())
            path = active->Path();
    if (path.empty()) {
        path = m_askFormat(m_mainFrame.get());
        if (path.empty())
            return;
    }
    OpenInMode(mode, path);
}

QString COrdexaApp::AboutText()
{
    const QDate built = QDate::fromString(QString::fromLatin1(kOrdexaBuildDate), Qt::ISODate);
    const QString day = QLocale(QLocale::Spanish, QLocale::Mexico).toString(built, QStringLiteral("d 'de' MMMM 'de' yyyy"));
    return QStringLiteral("Ordexa\nDiseño, captura e impresión de formatos preimpresos.\n\n"
                          "Versión %1\nCompilado el %2")
        .arg(QString::fromLatin1(kOrdexaVersion), day);
}

void COrdexaApp::OpenAsked(FrameMode mode)
{
    const std::string path = m_askFormat(m_mainFrame.get());
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

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    if (a == b)
        return true;
    const QString ca = QFileInfo(QString::fromStdString(a)).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(QString::fromStdString(b)).canonicalFilePath();
}

}  // namespace

CChildFrame* COrdexaApp::FrameShowing(FrameMode mode, const std::string& path, const CChildFrame* except) const
{
    for (CChildFrame* frame : m_mainFrame->Children())
        if (frame != except && frame->Mode() == mode && SameFile(frame->Path(), path))
            return frame;
    return nullptr;
}

bool COrdexaApp::BringForward(FrameMode mode, const std::string& path, const CChildFrame* except)
{
    CChildFrame* frame = FrameShowing(mode, path, except);
    if (!frame)
        return false;
    m_mainFrame->Activate(frame);
    return true;
}

void COrdexaApp::FormatSaved(const std::string& path, CChildFrame* by)
{
    for (CChildFrame* frame : m_mainFrame->Children())
        if (frame != by && SameFile(frame->Path(), path))
            frame->FormatSavedElsewhere();
}

CChildFrame* COrdexaApp::OpenInMode(FrameMode mode, const std::string& path)
{
    // Choosing a mode for a format already open in it brings that window forward: two
    // windows of one mode on one file would only overwrite each other.
    if (CChildFrame* open = FrameShowing(mode, path)) {
        m_mainFrame->Activate(open);
        AddToRecentFormats(path, 1);
        return open;
    }
    CChildFrame* frame = nullptr;
    if (mode == FrameMode::Design)
        frame = new CFmtdesignFrm(*this);
    else if (mode == FrameMode::Capture)
        frame = new CFmtcapturaFrm(*this);
    else
        frame = new CFmtpantallaFrm(*this);
    AddChild(frame);
    frame->LoadFromPath(path);
    m_mainFrame->FitChild(frame);
    return frame;
}

CChildFrame* COrdexaApp::OpenForDesign(const std::string& path)
{
    return OpenInMode(FrameMode::Design, path);
}

CChildFrame* COrdexaApp::OpenForCapture(const std::string& path)
{
    return OpenInMode(FrameMode::Capture, path);
}

CChildFrame* COrdexaApp::OpenForScreenLayout(const std::string& path)
{
    return OpenInMode(FrameMode::ScreenLayout, path);
}

CChildFrame* COrdexaApp::OpenCaptureFile(const std::string& capturePath)
{
    std::string formatName;
    std::string message;
    if (!CaptureSession::ReadCaptureFormatName(capturePath, formatName, message)) {
        m_prompts.Message(message, PromptIcon::Error);
        return nullptr;
    }
    std::string formatPath = CaptureSession::FindCaptureFormat(capturePath, formatName, RecentFormats(m_settings));
    if (formatPath.empty()) {
        const std::string question = "No se encontró el formato \"" + formatName + "\" con el que se capturaron los datos de \"" +
                                     capturePath + "\" (no está en la misma carpeta ni entre los formatos recientes). "
                                     "¿Desea buscarlo?";
        if (!m_prompts.AskYesNo(question))
            return nullptr;
        formatPath = m_askFormat(m_mainFrame.get());
        if (formatPath.empty())
            return nullptr;
    }
    auto* frame = qobject_cast<CFmtcapturaFrm*>(OpenForCapture(formatPath));
    // A format that could not be read leaves an empty frame and its own message.
    if (!frame || frame->Path().empty())
        return frame;
    // A capture screen already open on the format offers to save its values first.
    if (frame->View()->OfferToSave())
        frame->View()->LoadCapture(capturePath);
    return frame;
}

void COrdexaApp::AddToRecentFormats(const std::string& path, int slot)
{
    ::AddToRecentFormats(m_settings, path, slot, [this] { emit recentFormatsChanged(); });
}
