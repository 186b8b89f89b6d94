#include "setup/ui/setup_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QScreen>

#include "base/prompts.h"
#include "setup/destination_check.h"
#include "setup/ui/folder_dialog.h"
#include "setup/ui/image_button.h"
#include "setup/ui/progress_bar.h"
#include "setup/ui/setup_art.h"
#include "setup/ui/setup_commands.h"
#include "setup/ui/setup_page.h"
#include "setup/ui/setup_panel.h"
#include "setup/ui/title_strip.h"

namespace {

// What the status window shows when the installer's own data cannot be used.
QString ExtractionFailure(const std::string& reason)
{
    return QStringLiteral("No se pudo preparar la instalación.\n\n%1\n\nPresione 'Cancelar' para salir.")
        .arg(QString::fromStdString(reason));
}

}  // namespace

CSetupWindow::CSetupWindow(Prompts& prompts, SetupSource source, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_prompts(prompts), m_source(std::move(source))
{
    setWindowTitle(QStringLiteral("Setup"));
    setWindowIcon(SetupArt::InstallerIcon());
    setFixedSize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - kWidth) / 2, area.top() + (area.height() - kHeight) / 2);
    }
}

CSetupWindow::~CSetupWindow()
{
    RemoveTemporaryFiles(m_payload);
}

void CSetupWindow::paintEvent(QPaintEvent*)
{
    if (!m_painted) {
        m_painted = true;
        CreateChildren();
    }
    QPainter painter(this);
    painter.fillRect(rect(), SetupArt::PageGrey());
}

void CSetupWindow::CreateChildren()
{
    m_title = new CTitleStrip(this);
    m_title->setGeometry(0, 0, kWidth, CTitleStrip::kHeight);
    connect(m_title, &CTitleStrip::command, this, &CSetupWindow::OnCommand);
    m_panel = new CSetupPanel(this);
    m_panel->setGeometry(0, CTitleStrip::kHeight, kWidth, kHeight - CTitleStrip::kHeight);
    m_status = new CStatusWindow(m_panel);
    m_status->setGeometry(m_panel->ContentsRect());
    m_title->show();
    m_panel->show();
    m_status->show();
    QMetaObject::invokeMethod(this, &CSetupWindow::Start, Qt::QueuedConnection);
}

void CSetupWindow::Start()
{
    std::string message;
    const bool ok = ExtractPayload(
        m_source.exePath, m_source.tempFolder, [this](const std::string& text) { m_status->SetText(QString::fromStdString(text)); },
        m_payload, message);
    if (!ok) {
        // Nothing can be installed: the reason stays on the screen with a way out.
        m_stage = Stage::ExtractFailed;
        m_title->SetCaption(QStringLiteral("SETUP"));
        m_status->SetText(ExtractionFailure(message));
        AddButton(SetupCommand::kCancel, QStringLiteral("Cancelar"), 100)->setFocus();
        emit extractionEnded(false);
        return;
    }
    m_folder = QString::fromStdString(ExpandHomeFolder(m_payload.defaultFolder));
    delete m_status;
    m_title->SetCaption(ProductName() + QStringLiteral(" SETUP"));
    m_header = new CHeaderBand(ProductName(), QString::fromStdString(m_payload.picturePath), m_panel);
    const QRect area = m_panel->ContentsRect();
    m_header->setGeometry(area.left(), area.top(), area.width(), CHeaderBand::kHeight);
    m_header->show();
    ShowPage([&](QWidget* parent) { return new CWelcomePage(ProductName(), QString::fromStdString(m_payload.description), parent); },
             Stage::Welcome);
    AddButton(SetupCommand::kNext, QStringLiteral("Siguiente"), 200)->setFocus();
    AddButton(SetupCommand::kCancel, QStringLiteral("Cancelar"), 100);
    emit extractionEnded(true);
}

QString CSetupWindow::ProductName() const
{
    return QString::fromStdString(m_payload.productName);
}

CSetupPage* CSetupWindow::ShowPage(const std::function<CSetupPage*(QWidget* parent)>& make, Stage stage)
{
    delete m_page;
    m_page = make(m_panel);
    m_stage = stage;
    const QRect area = m_panel->ContentsRect();
    m_page->setGeometry(area.left(), area.top() + CHeaderBand::kHeight, area.width(), CSetupPage::kHeight);
    m_page->show();
    return m_page;
}

CImageButton* CSetupWindow::AddButton(int commandId, const QString& caption, int rightOffset)
{
    auto* button = new CImageButton(commandId, caption, m_panel);
    button->move(m_panel->width() - rightOffset, m_panel->height() - 35);
    connect(button, &CImageButton::command, this, &CSetupWindow::OnCommand);
    button->show();
    m_buttons << button;
    return button;
}

void CSetupWindow::RemoveButton(int commandId)
{
    for (auto it = m_buttons.begin(); it != m_buttons.end();) {
        if (*it && (*it)->CommandId() == commandId) {
            delete it->data();
            it = m_buttons.erase(it);
        } else {
            ++it;
        }
    }
}

CImageButton* CSetupWindow::Button(int commandId) const
{
    for (const QPointer<CImageButton>& button : m_buttons)
        if (button && button->CommandId() == commandId)
            return button;
    return nullptr;
}

void CSetupWindow::OnCommand(int commandId)
{
    switch (commandId) {
    case SetupCommand::kClose:
    case SetupCommand::kFinish:
        close();
        break;
    case SetupCommand::kMinimize:
        showMinimized();
        break;
    case SetupCommand::kNext:
        Next();
        break;
    case SetupCommand::kCancel:
        Cancel();
        break;
    case SetupCommand::kBrowse:
        Browse();
        break;
    default:
        break;
    }
}

void CSetupWindow::Next()
{
    switch (m_stage) {
    case Stage::Welcome:
        ShowPage([&](QWidget* parent) { return new CLicensePage(QString::fromStdString(m_payload.licenceText), parent); },
                 Stage::Licence);
        break;
    case Stage::Licence:
        ShowPage(
            [&](QWidget* parent) {
                auto* page = new CFolderPage(ProductName(), m_folder, parent);
                connect(page, &CFolderPage::command, this, &CSetupWindow::OnCommand);
                return page;
            },
            Stage::Folder);
        break;
    case Stage::Folder: {
        if (QDir::isAbsolutePath(m_folder))
            m_folder = QDir::cleanPath(m_folder);
        // Checked before anything is copied, so the clerk can choose again right here.
        const QString problem = DestinationProblem(m_folder, ProductName(), m_payload.contentBytes);
        if (!problem.isEmpty()) {
            m_prompts.Message(problem.toStdString(), PromptIcon::Warning);
            return;
        }
        ShowPage(
            [&](QWidget* parent) {
                auto* page = new CProgressPage(m_folder, parent);
                connect(page, &CProgressPage::startInstall, this, &CSetupWindow::Install);
                return page;
            },
            Stage::Installing);
        break;
    }
    default:
        break;
    }
}

void CSetupWindow::Cancel()
{
    // When nothing can be installed any more, leaving needs no confirmation.
    if (m_stage == Stage::ExtractFailed || m_stage == Stage::InstallFailed) {
        close();
        return;
    }
    if (m_prompts.AskYesNo(CancelQuestion().toStdString()))
        close();
}

void CSetupWindow::Browse()
{
    auto* page = qobject_cast<CFolderPage*>(m_page);
    if (!page)
        return;
    CFolderDialog dialog(m_folder, ProductName(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_folder = QString::fromStdString(ExpandHomeFolder(dialog.Folder().toStdString()));
    page->SetFolder(m_folder);
}

void CSetupWindow::Install()
{
    auto* page = qobject_cast<CProgressPage*>(m_page);
    if (!page || m_stage != Stage::Installing)
        return;
    RemoveButton(SetupCommand::kNext);
    RemoveButton(SetupCommand::kCancel);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string message;
    const bool ok = InstallFiles(m_folder.toStdString(), m_payload.packagePath, *page->ProgressBar(), m_report,
                                 message, m_source.menus, m_source.exePath);
    QApplication::restoreOverrideCursor();
    if (ok) {
        m_stage = Stage::Finished;
        page->ShowFinished(InstallNotes(m_report));
        AddButton(SetupCommand::kFinish, QStringLiteral("Finalizar"), 100)->setFocus();
    } else {
        m_stage = Stage::InstallFailed;
        page->ShowFailure(QStringLiteral("La instalación no terminó.\n\n%1\n\nPresione 'Cancelar' para salir.")
                              .arg(QString::fromStdString(message)));
        AddButton(SetupCommand::kCancel, QStringLiteral("Cancelar"), 100)->setFocus();
    }
    emit installationEnded(ok);
}

namespace {

// "a, b, c y 2 más": a few names, so that the sentence fits on the page.
QString NameList(const std::vector<std::string>& names)
{
    constexpr size_t kShown = 4;
    QStringList shown;
    for (size_t i = 0; i < names.size() && i < kShown; ++i)
        shown << QString::fromStdString(names[i]);
    QString text = shown.join(QStringLiteral(", "));
    if (names.size() > kShown)
        text += QStringLiteral(" y %1 más").arg(names.size() - kShown);
    return text;
}

}  // namespace

QString CSetupWindow::InstallNotes(const InstallReport& report)
{
    QStringList notes;
    if (!report.keptChanged.empty())
        notes << (report.keptChanged.size() == 1
                      ? QStringLiteral("Se conservó un archivo que usted modificó: %1. La versión nueva quedó a su "
                                       "lado como %2.")
                            .arg(NameList(report.keptChanged), NameList(report.besideNames))
                      : QStringLiteral("Se conservaron %1 archivos que usted modificó: %2. Las versiones nuevas "
                                       "quedaron a su lado: %3.")
                            .arg(report.keptChanged.size())
                            .arg(NameList(report.keptChanged), NameList(report.besideNames)));
    if (!report.ignoredListed.empty()) {
        std::vector<std::string> names;
        for (const std::string& path : report.ignoredListed)
            names.push_back(path.substr(path.rfind('/') + 1));
        notes << QStringLiteral("La lista de una instalación anterior nombraba %1 que este programa no instaló; "
                                "no se tomó en cuenta, y el desinstalador no los quitará: %2.")
                     .arg(names.size() == 1 ? QStringLiteral("un archivo")
                                            : QStringLiteral("%1 archivos").arg(names.size()),
                          NameList(names));
    }
    return notes.join(QLatin1Char(' '));
}

QString CSetupWindow::DestinationProblem(const QString& folder, const QString& productName, quint64 neededBytes)
{
    return QString::fromStdString(
        ::DestinationProblem(folder.toStdString(), productName.toStdString(), neededBytes));
}
