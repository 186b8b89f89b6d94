#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>

#include "app/access_dialog.h"
#include "app/client_area.h"
#include "app/flat_icon_button.h"
#include "design/fmtdesign_frm.h"
#include "platform/command_ids.h"
#include "capture/ui/fmtcaptura_frm.h"
#include "capture/ui/fmtcapture_view.h"
#include "app/help_window.h"
#include "app_window_fixture.h"
#include "platform/child_frame.h"

namespace {

// A child frame whose answer to "may I close?" the test decides, standing in for a frame
// whose clerk cancels saving.
class AskingFrame : public CChildFrame {
public:
    AskingFrame(FrameHost& host, bool* allow)
        : CChildFrame(host, FrameMode::Design, QStringLiteral("Diseño de formato - %1")), m_allow(allow)
    {
        UpdateCaption();
    }
    bool QueryClose() override
    {
        ++asked;
        return *m_allow;
    }
    int asked = 0;

protected:
    Format& FrameFormat() override { return m_format; }
    void FormatShown() override {}

private:
    Format m_format;
    bool* m_allow;
};

QStringList MenuTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

class MainFrameTest : public AppWindowFixture {};

}  // namespace

TEST_F(MainFrameTest, TheMainMenuHasFileViewAndHelp)
{
    const QList<QAction*> menus = frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "&Archivo");
    EXPECT_EQ(MenuTexts(menus[0]->menu()),
              (QStringList{"&Nuevo diseño", "&Abrir", "Con&figurar impresora...", "-", "&Salir"}));
    EXPECT_EQ(MenuTexts(menus[0]->menu()->actions()[1]->menu()),
              (QStringList{"&Diseño de formato", "Formato de &captura", "&Pantalla de captura"}));
    EXPECT_EQ(menus[1]->text(), "&Ver");
    EXPECT_EQ(MenuTexts(menus[1]->menu()), QStringList{"Barra de acceso"});
    EXPECT_TRUE(menus[1]->menu()->actions()[0]->isCheckable());
    EXPECT_EQ(menus[2]->text(), "Ay&uda");
    EXPECT_EQ(MenuTexts(menus[2]->menu()), QStringList{"&Contenido"});
}

TEST_F(MainFrameTest, TheToolbarOpensModesAndCarriesTheAboutButton)
{
    auto* bar = frame->findChild<QToolBar*>(QStringLiteral("mainToolBar"));
    ASSERT_NE(bar, nullptr);
    QStringList ids;
    for (QAction* a : bar->actions())
        if (!a->isSeparator())
            ids << a->objectName();
    EXPECT_EQ(ids, (QStringList{"32771", "32772", "32802", "32798", "57664"}));
    // Every button shows its picture, as do the access bar's buttons and the window: a
    // picture missing from the program's resources leaves a blank button.
    for (QAction* a : bar->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().availableSizes().isEmpty()) << a->objectName().toStdString();
        }
    }
    for (int id : {CAccessDialog::kNewFormatId, CAccessDialog::kOpenDesignId, CAccessDialog::kOpenScreenLayoutId,
                   CAccessDialog::kOpenCaptureId})
        EXPECT_FALSE(frame->AccessDialog()->Button(id)->icon().availableSizes().isEmpty()) << id;
    EXPECT_FALSE(frame->windowIcon().availableSizes().isEmpty());
    for (QAction* a : bar->actions())
        if (a->objectName() == "32771")
            a->trigger();
    ASSERT_EQ(frame->Children().size(), 1u);
    EXPECT_EQ(frame->ActiveChild()->windowTitle(), "Diseño de formato - (nuevo)");
}

TEST_F(MainFrameTest, ChildrenCascadeInsideTheWorkspace)
{
    const QRect area = frame->MdiArea()->viewport()->rect();
    ASSERT_GT(area.width(), 500);
    app.OpenForCapture(Path("factura.fmt"));
    app.OpenForDesign(Path("cheque.fmt"));
    app.OpenForScreenLayout(Path("nomina.fmt"));
    const QList<QMdiSubWindow*> windows = frame->MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    for (int i = 0; i < windows.size(); ++i) {
        const QRect g = windows[i]->geometry();
        EXPECT_TRUE(area.contains(g)) << i << ": " << g.x() << "," << g.y() << " " << g.width() << "x" << g.height()
                                      << " outside " << area.width() << "x" << area.height();
        EXPECT_GE(g.width(), 300) << i;
        if (i > 0) {
            // Each one steps down and to the right of the one before.
            EXPECT_GT(g.x(), windows[i - 1]->x()) << i;
            EXPECT_GT(g.y(), windows[i - 1]->y()) << i;
        }
    }
}

TEST_F(MainFrameTest, AMaximisedChildShowsItsTitleOnceInTheCaption)
{
    CChildFrame* capture = app.OpenForCapture(Path("factura.fmt"));
    qobject_cast<QMdiSubWindow*>(capture->parentWidget())->showMaximized();
    const QString captureCaption = "ORDEXA Pantalla de captura - " + QString::fromStdString(Path("factura.fmt"));
    EXPECT_EQ(frame->windowTitle().toStdString(), QString(captureCaption).toStdString());

    // Another child opens maximised too, and the caption follows it.
    CChildFrame* design = app.OpenForDesign(Path("cheque.fmt"));
    EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(design->parentWidget())->isMaximized());
    EXPECT_EQ(frame->windowTitle().toStdString(), QString("ORDEXA Diseño de formato - " + QString::fromStdString(Path("cheque.fmt"))).toStdString());
    frame->MdiArea()->activatePreviousSubWindow();
    EXPECT_EQ(frame->windowTitle().toStdString(), QString(captureCaption).toStdString());

    // Restored, the caption stays the same.
    frame->MdiArea()->activeSubWindow()->showNormal();
    EXPECT_EQ(frame->windowTitle().toStdString(), QString(captureCaption).toStdString());
    frame->MdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame->windowTitle().toStdString(), QString("ORDEXA ").toStdString());
}

TEST_F(MainFrameTest, LeavingAsksEveryChildAndStaysOpenWhenOneRefuses)
{
    bool allow = false;
    app.OpenForCapture(Path("factura.fmt"));
    auto* asking = new AskingFrame(app, &allow);
    frame->AddChild(asking);
    app.OpenForCapture(Path("cheque.fmt"));

    app.OnCommand(CommandId::kExit);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(asking->asked, 1);
    // The frame that refused is the one in front, and it is still there.
    EXPECT_EQ(frame->ActiveChild(), asking);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_GE(frame->Children().size(), 1u);

    allow = true;
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(asking->asked, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame->Children().empty());
}

TEST_F(MainFrameTest, TheWorkspaceShowsTheLogoCentredOnItsColour)
{
    CClientArea* area = frame->ClientArea();
    const QImage picture = area->viewport()->grab().toImage();
    ASSERT_FALSE(area->Logo().isNull());
    const QRgb workspace = area->background().color().rgb();
    EXPECT_EQ(picture.pixel(2, 2), workspace);
    EXPECT_EQ(picture.pixel(picture.width() - 3, picture.height() - 3), workspace);
    // Unscaled and centred with integer halves.
    const QPoint origin = CClientArea::LogoOrigin(picture.size(), area->Logo().size());
    EXPECT_EQ(origin, QPoint((picture.width() - area->Logo().width()) / 2, (picture.height() - area->Logo().height()) / 2));
    int logoPixels = 0;
    for (int x = 0; x < area->Logo().width(); x += 4)
        logoPixels += picture.pixel(origin.x() + x, origin.y() + area->Logo().height() / 2) != workspace;
    EXPECT_GT(logoPixels, 10);
}

TEST_F(MainFrameTest, ContenidoOpensTheHelpOnItsContentsPage)
{
    const QString page = CHelpWindow::ContentsPage();
    ASSERT_FALSE(page.isEmpty()) << "help pages not found beside the test program";
    const QStringList folders = CHelpWindow::HelpFolders();
    // Beside the program, under the install prefix, and the program's own folder (where
    // the installer lays every file side by side).
    ASSERT_EQ(folders.size(), 3);
    EXPECT_TRUE(folders[1].endsWith("../share/ordexa/help"));
    EXPECT_EQ(folders[2], QCoreApplication::applicationDirPath());

    app.OnCommand(CommandId::kHelpContents);
    CHelpWindow* help = frame->HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->Browser()->documentTitle(), "Contenido");
    EXPECT_TRUE(help->Browser()->toPlainText().contains("Pantalla de captura"));
    // Every page the contents links to exists and has a title.
    const QDir folder = QFileInfo(page).dir();
    for (const char* link : {"inicio.html", "diseno.html", "pantalla.html", "captura.html", "calculos.html",
                                "impresion.html"}) {
        ASSERT_TRUE(folder.exists(link)) << link;
        help->Browser()->setSource(QUrl::fromLocalFile(folder.filePath(link)));
        EXPECT_FALSE(help->Browser()->documentTitle().isEmpty()) << link;
    }
    EXPECT_TRUE(prompts.Shown().empty());
}

namespace {

// Runs `act` on the next modal dialog of type T as soon as it shows.
template <typename T, typename F>
void OnNextDialog(F act)
{
    QTimer::singleShot(0, [act] {
        for (int tries = 0; tries < 200; ++tries) {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                act(dialog);
                return;
            }
            QTest::qWait(10);
        }
    });
}

}  // namespace

TEST_F(MainFrameTest, TheCaptureToolbarsFirstButtonAsksForAFormatAndOpensItForCapture)
{
    auto* capture = qobject_cast<CFmtcapturaFrm*>(app.OpenForCapture(Path("factura.fmt")));
    ASSERT_NE(capture, nullptr);
    QAction* open = capture->ToolAction(CommandId::kOpenCapture);
    ASSERT_NE(open, nullptr);
    const QString other = QString::fromStdString(Path("cheque.fmt"));
    QString filter;
    OnNextDialog<QFileDialog>([&](QFileDialog* dialog) {
        filter = dialog->nameFilters().join(';');
        dialog->selectFile(other);
        static_cast<QDialog*>(dialog)->accept();  // the file dialog checks the chosen file
    });
    open->trigger();
    EXPECT_EQ(filter, "Ordexa (*.fmt)");
    ASSERT_EQ(frame->Children().size(), 2u);
    EXPECT_EQ(frame->ActiveChild()->Mode(), FrameMode::Capture);
    EXPECT_EQ(frame->ActiveChild()->Path(), Path("cheque.fmt"));

    // Cancelling the dialog opens nothing.
    OnNextDialog<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    open->trigger();
    EXPECT_EQ(frame->Children().size(), 2u);
}

TEST_F(MainFrameTest, TheAboutButtonsShowTheAboutBox)
{
    auto* bar = frame->findChild<QToolBar*>(QStringLiteral("mainToolBar"));
    ASSERT_NE(bar, nullptr);
    QAction* about = nullptr;
    for (QAction* a : bar->actions())
        if (a->objectName() == "57664")
            about = a;
    ASSERT_NE(about, nullptr);
    QString title, text;
    OnNextDialog<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    about->trigger();
    EXPECT_EQ(title, "Acerca de Ordexa");
    // The version the package and ordexa-cli carry, and a build day written in Spanish.
    EXPECT_TRUE(text.contains(QStringLiteral("Versión " ORDEXA_VERSION))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Compilado el \\d+ de [a-z]+ de \\d{4}"))))
        << text.toStdString();
}

TEST_F(MainFrameTest, F1OpensTheHelpPageOfTheActiveMode)
{
    const struct {
        CChildFrame* (COrdexaApp::*open)(const std::string&);
        const char* page;
    } modes[] = {{nullptr, "index.html"},
                 {&COrdexaApp::OpenForDesign, "diseno.html"},
                 {&COrdexaApp::OpenForCapture, "captura.html"},
                 {&COrdexaApp::OpenForScreenLayout, "pantalla.html"}};
    for (const auto& mode : modes) {
        if (mode.open) {
            ASSERT_NE((app.*mode.open)(Path("factura.fmt")), nullptr) << mode.page;
        }
        QWidget* focus = frame->ActiveChild() ? static_cast<QWidget*>(frame->ActiveChild()) : frame;
        QTest::keyClick(focus, Qt::Key_F1);
        ASSERT_NE(frame->HelpWindow(), nullptr) << mode.page;
        EXPECT_TRUE(frame->HelpWindow()->isVisible()) << mode.page;
        EXPECT_EQ(frame->HelpWindow()->Browser()->source().fileName(), mode.page);
        frame->activateWindow();
    }
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST(MainFramePlacement, TheWindowFitsTheScreenAndComesBackAsTheClerkLeftIt)
{
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    {
        COrdexaApp app(settings, prompts);
        ASSERT_TRUE(app.Start({}, true));
        EXPECT_TRUE(area.contains(app.MainFrame()->frameGeometry())) << "fits the screen the first time";
        app.MainFrame()->showMaximized();
        ASSERT_TRUE(app.MainFrame()->close());
    }
    COrdexaApp again(settings, prompts);
    ASSERT_TRUE(again.Start({}, false));
    EXPECT_TRUE(again.MainFrame()->isMaximized());
}

TEST_F(MainFrameTest, CtrlSSavesInEveryModeThatSaves)
{
    auto* design = qobject_cast<CFmtdesignFrm*>(app.OpenForDesign(Path("factura.fmt")));
    design->Document().Select(design->Document().Elements().front().get());
    design->HandleCommand(CommandId::kAlignRight);
    ASSERT_TRUE(design->windowTitle().endsWith('*'));
    EXPECT_TRUE(frame->windowTitle().endsWith('*')) << "the main caption follows the child's";
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(design->IsModified());
    EXPECT_FALSE(design->windowTitle().endsWith('*'));
}
