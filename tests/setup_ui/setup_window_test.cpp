#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <memory>

#include "base/prompts.h"
#include "setup/ui/folder_dialog.h"
#include "setup/ui/image_button.h"
#include "setup/ui/progress_bar.h"
#include "setup/ui/setup_commands.h"
#include "setup/ui/setup_page.h"
#include "setup/ui/setup_panel.h"
#include "setup/ui/title_strip.h"
#include "setup_fixture.h"

namespace {

using Stage = CSetupWindow::Stage;

class SetupWindowTest : public ::testing::Test {
protected:
    // Shows the installer made from `exe` and waits for its data to be taken apart.
    bool Open(const QString& exe)
    {
        window = std::make_unique<CSetupWindow>(prompts, fixture.Source(exe));
        window->show();
        return WaitFor([&] { return window->CurrentStage() != Stage::Extracting; });
    }

    void Click(int commandId)
    {
        CImageButton* button = window->Button(commandId);
        ASSERT_NE(button, nullptr) << "no button " << commandId;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Welcome -> licence -> folder, by the buttons.
    void GoToFolderPage()
    {
        Click(SetupCommand::kNext);
        Click(SetupCommand::kNext);
        ASSERT_EQ(window->CurrentStage(), Stage::Folder);
    }

    SetupFixture fixture;
    ScriptedPrompts prompts;
    std::unique_ptr<CSetupWindow> window;
};

}  // namespace

TEST_F(SetupWindowTest, ClicksThroughTheFourPagesAndInstallsEveryFile)
{
    ASSERT_TRUE(Open(fixture.MakeInstaller()));
    ASSERT_EQ(window->CurrentStage(), Stage::Welcome);
    EXPECT_EQ(window->size(), QSize(600, 400));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->windowTitle(), "Setup");
    EXPECT_EQ(window->TitleStrip()->Caption(), "ORDEXA SETUP");
    EXPECT_EQ(window->StatusWindow(), nullptr);
    EXPECT_EQ(window->HeaderBand()->Title(), "Programa de instalación de ORDEXA");
    // The picture is read on the band's first paint, 8-bit palette and all.
    ASSERT_TRUE(WaitFor([&] { return !window->HeaderBand()->Picture().isNull(); }));
    EXPECT_EQ(window->HeaderBand()->Picture().pixel(5, 5), qRgb(0, 64, 255));
    auto* welcome = qobject_cast<CWelcomePage*>(window->Page());
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(welcome->Guide(), "Este programa de instalación lo guiará a través de los pasos requeridos para "
                                "instalar ORDEXA en su computadora");
    // The buttons sit 200 and 100 pixels from the panel's right edge, 35 above its bottom.
    EXPECT_EQ(window->Button(SetupCommand::kNext)->mapTo(window.get(), QPoint()), QPoint(400, 365));
    EXPECT_EQ(window->Button(SetupCommand::kCancel)->mapTo(window.get(), QPoint()), QPoint(500, 365));
    EXPECT_EQ(window->Page()->mapTo(window.get(), QPoint()), QPoint(5, 94));

    Click(SetupCommand::kNext);
    auto* licence = qobject_cast<CLicensePage*>(window->Page());
    ASSERT_NE(licence, nullptr);
    EXPECT_TRUE(licence->TextBox()->isReadOnly());
    EXPECT_EQ(licence->TextBox()->toPlainText(), "LICENCIA DE USO\n\nPrimera cláusula.\nSegunda cláusula.");
    EXPECT_EQ(licence->TextBox()->geometry(), QRect(20, 30, 550, 190));

    Click(SetupCommand::kNext);
    auto* folderPage = qobject_cast<CFolderPage*>(window->Page());
    ASSERT_NE(folderPage, nullptr);
    // The package's "~/ordexa", in the home folder.
    EXPECT_EQ(folderPage->Folder(), fixture.Home() + "/ordexa");
    EXPECT_EQ(folderPage->BrowseButton()->pos(), QPoint(410, 80));

    // Explorar, a folder typed in the dialog, OK.
    const QString dest = fixture.Path("Programas/ORDEXA");
    QDir().mkpath(fixture.Path("Programas"));
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CFolderDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Ruta de instalación");
        dialog->Edit()->setText(dest);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(folderPage->BrowseButton(), Qt::LeftButton);
    EXPECT_EQ(folderPage->Folder(), dest);

    Click(SetupCommand::kNext);
    ASSERT_TRUE(WaitFor([&] { return window->CurrentStage() != Stage::Installing; }));
    ASSERT_EQ(window->CurrentStage(), Stage::Finished) << prompts.Shown().size();
    auto* progress = qobject_cast<CProgressPage*>(window->Page());
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->StatusText(), "Instalación terminada. Presione 'Finalizar' para salir");
    CProgressBar* bar = progress->ProgressBar();
    EXPECT_EQ(bar->geometry(), QRect(40, 120, 510, 20));
    EXPECT_EQ(bar->Maximum(), int(fixture.Entries().size()));
    EXPECT_EQ(bar->Position(), bar->Maximum());
    EXPECT_EQ(bar->FilledWidth(), bar->width() - 2);
    EXPECT_EQ(window->Button(SetupCommand::kNext), nullptr);
    EXPECT_EQ(window->Button(SetupCommand::kCancel), nullptr);
    for (const PackageEntry& entry : fixture.Entries()) {
        QFile file(dest + "/" + QString::fromStdString(entry.name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << entry.name;
        EXPECT_EQ(file.readAll(), QByteArray(reinterpret_cast<const char*>(entry.contents.data()),
                                             qsizetype(entry.contents.size())))
            << entry.name;
    }
    // The program group went into the menus under the test's own folders.
    EXPECT_FALSE(window->Report().menuFiles.empty());
    for (const std::string& menuFile : window->Report().menuFiles)
        EXPECT_TRUE(QString::fromStdString(menuFile).startsWith(fixture.Path(""))) << menuFile;

    Click(SetupCommand::kFinish);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(SetupWindowTest, TheTitleStripsCloseLeavesAtOnceAndTheTemporaryFilesGoWithTheWindow)
{
    ASSERT_TRUE(Open(fixture.MakeInstaller()));
    const std::vector<std::string> temporary = window->Payload().temporaryFiles;
    ASSERT_EQ(temporary.size(), 3u);
    for (const std::string& file : temporary)
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(file))) << file;

    QTest::mouseClick(window->TitleStrip()->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(prompts.Shown().empty());
    window.reset();
    for (const std::string& file : temporary)
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(file))) << file;
}

TEST_F(SetupWindowTest, CancelAsksAndNoKeepsThePage)
{
    ASSERT_TRUE(Open(fixture.MakeInstaller()));
    Click(SetupCommand::kNext);
    Click(SetupCommand::kCancel);  // the scripted answer is No
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0], "¿Está seguro de cancelar la instalación?");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->CurrentStage(), Stage::Licence);

    prompts.QueueAnswer(true);
    Click(SetupCommand::kCancel);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SetupWindowTest, EnterPressesTheFocusedButtonSoTheKeyboardAloneWalksThePages)
{
    ASSERT_TRUE(Open(fixture.MakeInstaller()));
    window->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == window->Button(SetupCommand::kNext); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return window->CurrentStage() == Stage::Licence; }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    ASSERT_TRUE(WaitFor([&] { return window->CurrentStage() == Stage::Folder; }));
}

TEST_F(SetupWindowTest, DraggingTheTitleStripMovesTheWindowAndItsOtherButtonMinimizesIt)
{
    ASSERT_TRUE(Open(fixture.MakeInstaller()));
    CTitleStrip* strip = window->TitleStrip();
    const QPoint before = window->pos();
    QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(200, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(230, 25), strip->mapToGlobal(QPointF(230, 25)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(strip, &move);
    QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(230, 25));
    EXPECT_EQ(window->pos(), before + QPoint(30, 15));

    QTest::mouseClick(strip->MinimizeButton(), Qt::LeftButton);
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(window->CurrentStage(), Stage::Welcome);
}

TEST_F(SetupWindowTest, AnUnreadableInstallerSaysWhyAndCancelLeaves)
{
    std::vector<uint8_t> badMagic = BuildPackageBytes(fixture.Entries(), fixture.Trailer());
    badMagic[0] = 'X';
    std::vector<uint8_t> cutShort = BuildPackageBytes(fixture.Entries(), fixture.Trailer());
    cutShort.resize(cutShort.size() / 2);
    const QString noPayload = fixture.Path("sin-datos");
    {
        QFile file(noPayload);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(300, '\x01'));
    }
    const QString truncatedZip = fixture.Path("zip-cortado");
    {
        QFile whole(fixture.MakeInstaller());
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        QByteArray bytes = whole.readAll();
        // The length at the end still claims the whole archive, whose start is gone.
        bytes.remove(4096, 40);
        QFile file(truncatedZip);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const struct {
        const char* what;
        QString exe;
    } cases[] = {
        {"no payload", noPayload},
        {"bad magic", fixture.MakeInstaller(badMagic, "magia")},
        {"truncated package", fixture.MakeInstaller(cutShort, "corto")},
        {"truncated zip", truncatedZip},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Open(c.exe));
        ASSERT_EQ(window->CurrentStage(), Stage::ExtractFailed);
        ASSERT_NE(window->StatusWindow(), nullptr);
        EXPECT_TRUE(window->StatusWindow()->Text().startsWith("No se pudo preparar la instalación."))
            << window->StatusWindow()->Text().toStdString();
        EXPECT_TRUE(window->StatusWindow()->Text().contains("Presione 'Cancelar' para salir."));
        EXPECT_EQ(window->Page(), nullptr);
        EXPECT_EQ(window->Button(SetupCommand::kNext), nullptr);
        Click(SetupCommand::kCancel);
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(prompts.Shown().empty());
        window.reset();
    }
    // Nothing is left behind in the temporary folder.
    EXPECT_TRUE(QDir(fixture.TempFolder()).isEmpty());
}

TEST_F(SetupWindowTest, AFolderWhoseParentIsMissingKeepsTheClerkOnTheFolderPage)
{
    ASSERT_TRUE(Open(fixture.MakeInstaller()));
    GoToFolderPage();
    const QString dest = fixture.Path("no/existe/ORDEXA");
    static_cast<CFolderPage*>(window->Page())->SetFolder(dest);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CFolderDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Edit()->setText(dest);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(static_cast<CFolderPage*>(window->Page())->BrowseButton(), Qt::LeftButton);
    Click(SetupCommand::kNext);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].find("No existe la carpeta «" + fixture.Path("no/existe").toStdString() + "»"),
              std::string::npos)
        << prompts.Shown()[0];
    EXPECT_EQ(window->CurrentStage(), Stage::Folder);
    EXPECT_NE(window->Button(SetupCommand::kNext), nullptr);
    EXPECT_FALSE(QFileInfo::exists(fixture.Path("no")));
}

TEST_F(SetupWindowTest, AFailedInstallationShowsTheReasonAndCancelLeaves)
{
    ASSERT_TRUE(Open(fixture.MakeInstaller()));
    GoToFolderPage();
    // The package is damaged after it was taken apart.
    QFile::resize(QString::fromStdString(window->Payload().packagePath), 30);
    Click(SetupCommand::kNext);
    ASSERT_TRUE(WaitFor([&] { return window->CurrentStage() != Stage::Installing; }));
    ASSERT_EQ(window->CurrentStage(), Stage::InstallFailed);
    auto* progress = qobject_cast<CProgressPage*>(window->Page());
    ASSERT_NE(progress, nullptr);
    // The core's reason between a heading and the way out.
    const QStringList parts = progress->StatusText().split("\n\n");
    ASSERT_EQ(parts.size(), 3) << progress->StatusText().toStdString();
    EXPECT_EQ(parts[0], "La instalación no terminó.");
    EXPECT_FALSE(parts[1].isEmpty());
    EXPECT_EQ(parts[2], "Presione 'Cancelar' para salir.");
    EXPECT_EQ(window->Button(SetupCommand::kFinish), nullptr);
    Click(SetupCommand::kCancel);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST(DestinationProblem, NamesWhatIsWrongWithTheFolder)
{
    QTemporaryDir dir;
    const QString root = QDir(dir.path()).canonicalPath();
    QDir(root).mkpath("existe");
    QFile file(root + "/archivo");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const struct {
        QString folder;
        const char* problemStart;  // empty: the folder is fine
    } cases[] = {
        {"", "Escriba la carpeta"},
        {"ordexa", "La carpeta «ordexa» no es una ruta completa"},
        {root + "/archivo", "«"},
        {root + "/falta/ORDEXA", "No existe la carpeta «"},
        // Refused here, while another folder can still be chosen.
        {root + "/dos\nrenglones", "El nombre de la carpeta «"},
        {root + "/existe", ""},
        {root + "/existe/ORDEXA", ""},
    };
    for (const auto& c : cases) {
        const QString problem = CSetupWindow::DestinationProblem(c.folder, "ORDEXA");
        if (*c.problemStart == '\0')
            EXPECT_TRUE(problem.isEmpty()) << c.folder.toStdString() << ": " << problem.toStdString();
        else
            EXPECT_TRUE(problem.startsWith(QString::fromUtf8(c.problemStart)))
                << c.folder.toStdString() << ": " << problem.toStdString();
    }
}

TEST(InstallNotes, TheLastPageNamesTheClerksKeptFilesAndTheNewOnesBeside)
{
    InstallReport report;
    EXPECT_TRUE(CSetupWindow::InstallNotes(report).isEmpty());
    report.keptChanged = {"Factura.fmt", "Recibo.fmt"};
    report.besideNames = {"Factura (nuevo).fmt", "Recibo (nuevo).fmt"};
    report.ignoredListed = {"/home/ana/ordexa/tesis.odt"};
    const QString notes = CSetupWindow::InstallNotes(report);
    EXPECT_TRUE(notes.startsWith("Se conservaron 2 archivos que usted modificó: Factura.fmt, Recibo.fmt. Las "
                                 "versiones nuevas quedaron a su lado: Factura (nuevo).fmt, Recibo (nuevo).fmt."))
        << notes.toStdString();
    EXPECT_TRUE(notes.contains("tesis.odt")) << notes.toStdString();
}
