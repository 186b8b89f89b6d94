#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QFile>
#include <QKeySequence>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include "base/atomic_file.h"
#include "platform/child_frame.h"
#include "platform/calc_edit.h"
#include "base/recording_dc.h"
#include "capture/capture_session.h"
#include "capture/ui/fmtcaptura_frm.h"
#include "capture/ui/fmtcapture_view.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtpantalla_frm.h"
#include "design/fmtpantalla_view.h"
#include "platform/command_ids.h"
#include "model/format_file.h"
#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "base/prompts.h"
#include "app/recent_formats.h"
#include "model/textline_var.h"

using namespace CommandId;

namespace {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(app.Start({}, false));
        Format f;
        f.title = "Factura";
        f.elements.push_front(std::make_unique<CTextlineVar>());
        f.elements.front()->m_text = "RFC";
        std::string message;
        ASSERT_TRUE(SaveFormatFile(Path("factura.fmt"), f, FormatWriter::Design, message)) << message;
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    COrdexaApp app{settings, prompts};
};

}  // namespace

TEST_F(AppFixture, StartsWithAnEmptyCaptionAndNoRecentFormats)
{
    EXPECT_EQ(app.MainFrame()->windowTitle(), "ORDEXA ");
    EXPECT_EQ(RecentFormats(settings), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_TRUE(app.MainFrame()->Children().empty());
    // Qt's own buttons and dialogs speak Spanish too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Sí");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");
}

TEST_F(AppFixture, EachModeOpensAFrameWithItsCaptionAndRemembersTheFormat)
{
    const std::string path = Path("factura.fmt");
    const QString q = QString::fromStdString(path);
    struct Mode {
        CChildFrame* (COrdexaApp::*open)(const std::string&);
        QString caption;
    };
    const Mode modes[] = {{&COrdexaApp::OpenForDesign, "Diseño de formato - " + q},
                          {&COrdexaApp::OpenForCapture, "Pantalla de captura - " + q},
                          {&COrdexaApp::OpenForScreenLayout, "Diseño de pantalla - " + q}};
    int recentChanges = 0;
    QObject::connect(&app, &COrdexaApp::recentFormatsChanged, [&] { ++recentChanges; });
    for (const Mode& m : modes) {
        CChildFrame* frame = (app.*m.open)(path);
        EXPECT_EQ(frame->windowTitle(), m.caption);
        EXPECT_EQ(app.MainFrame()->windowTitle(), "ORDEXA " + m.caption);
    }
    EXPECT_EQ(app.MainFrame()->Children().size(), 3u);
    EXPECT_EQ(RecentFormats(settings)[0], path);
    EXPECT_EQ(RecentFormats(settings)[1], "");
    EXPECT_EQ(recentChanges, 3);
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(AppFixture, ChoosingAModeForAFormatOpenInItBringsThatWindowForward)
{
    CChildFrame* capture = app.OpenForCapture(Path("factura.fmt"));
    CChildFrame* design = app.OpenForDesign(Path("factura.fmt"));
    EXPECT_EQ(app.OpenForCapture(dir.filePath("./factura.fmt").toStdString()), capture);
    EXPECT_EQ(app.MainFrame()->ActiveChild(), capture);
    EXPECT_EQ(app.OpenForDesign(Path("factura.fmt")), design);
    EXPECT_EQ(app.MainFrame()->Children().size(), 2u);
}

TEST_F(AppFixture, TwoWindowsOnOneFormatNeverOverwriteEachOtherSilently)
{
    const std::string path = Path("factura.fmt");
    {
        Format f;
        std::string message;
        ASSERT_TRUE(LoadFormatFile(path, f, message));
        f.elements.front()->m_rcScreen = {20, 20, 200, 40};
        ASSERT_TRUE(SaveFormatFile(path, f, FormatWriter::Rewrite, message));
    }
    auto* design = qobject_cast<CFmtdesignFrm*>(app.OpenForDesign(path));
    auto* layout = qobject_cast<CFmtpantallaFrm*>(app.OpenForScreenLayout(path));
    ASSERT_TRUE(design && layout);
    auto fileRfc = [&] {
        Format f;
        std::string message;
        EXPECT_TRUE(LoadFormatFile(path, f, message)) << message;
        return std::pair(f.elements.front()->m_captionLeft, f.elements.front()->m_align);
    };
    auto layoutCaption = [&](int side) {
        const Rect rc = layout->GetFormat().elements.front()->m_rcScreen;
        layout->View()->Editor().Press({rc.left + 2, rc.top + 2});
        layout->View()->Editor().Release();
        layout->HandleCommand(side);
        ASSERT_TRUE(layout->IsModified());
    };

    // The layout saves; the design, holding no change, reads the file again.
    layoutCaption(kCaptionAbove);
    ASSERT_TRUE(layout->Save());
    EXPECT_EQ(design->GetFormat().elements.front()->m_captionLeft, 0) << "the design window reloaded";

    // Both change; the layout saves first. The design's save asks, and No keeps the file.
    design->Document().Select(design->Document().Elements().front().get());
    design->HandleCommand(kAlignRight);
    layoutCaption(kCaptionSide);
    ASSERT_TRUE(layout->Save());
    EXPECT_TRUE(design->IsModified()) << "a window with changes is never reloaded";
    const auto layoutVersion = fileRfc();
    EXPECT_FALSE(design->Save());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0], "El formato " + path +
                                      " cambió desde que lo abrió (otra ventana u otra persona lo guardó). "
                                      "¿Desea reemplazarlo con su versión?");
    EXPECT_EQ(fileRfc(), layoutVersion);

    // Yes replaces it, and the layout (saved, unchanged since) follows the design.
    prompts.QueueAnswer(true);
    ASSERT_TRUE(design->Save());
    EXPECT_EQ(fileRfc().second, design->GetFormat().elements.front()->m_align);
    EXPECT_EQ(layout->GetFormat().elements.front()->m_align, design->GetFormat().elements.front()->m_align);

    // Another clerk writes the file: the next save asks again.
    Format other;
    std::string message;
    ASSERT_TRUE(LoadFormatFile(path, other, message));
    other.title = "Factura de otra persona";
    ASSERT_TRUE(SaveFormatFile(path, other, FormatWriter::Rewrite, message));
    layoutCaption(kCaptionSide);
    EXPECT_FALSE(layout->Save());
    EXPECT_EQ(prompts.Shown().size(), 3u);

}

TEST_F(AppFixture, AnUnreadableFormatLeavesAnEmptyFrameAndAMessageNamingIt)
{
    const std::string broken = Path("roto.fmt");
    std::string message;
    const std::vector<uint8_t> junk{7, 'F', 'a', 'c', 't', 1, 0, 0, 0, 99, 0, 0, 0};
    ASSERT_TRUE(WriteFileAtomically(broken, junk, &message));
    CChildFrame* frame = app.OpenForDesign(broken);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].find("roto.fmt"), std::string::npos) << prompts.Shown()[0];
    auto* design = qobject_cast<CFmtdesignFrm*>(frame);
    ASSERT_NE(design, nullptr);
    EXPECT_TRUE(design->GetFormat().elements.empty());
    // The frame is a new, unnamed format: a save cannot overwrite the file that failed.
    EXPECT_EQ(design->windowTitle(), "Diseño de formato - (nuevo)");
    EXPECT_EQ(RecentFormats(settings)[0], "");

    app.OpenForCapture(Path("no-existe.fmt"));
    EXPECT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(app.MainFrame()->Children().size(), 2u);
}

TEST_F(AppFixture, NewDesignIsUnnamedAndTheMenuFollowsTheActiveMode)
{
    auto firstItems = [this] {
        QStringList texts;
        const QList<QAction*> menus = app.MainFrame()->menuBar()->actions();
        if (!menus.isEmpty() && menus.first()->menu())
            for (QAction* a : menus.first()->menu()->actions())
                texts << a->text();
        return texts;
    };
    EXPECT_TRUE(firstItems().contains("&Nuevo diseño"));
    CChildFrame* frame = app.NewDesign();
    EXPECT_EQ(frame->windowTitle(), "Diseño de formato - (nuevo)");
    EXPECT_EQ(app.MainFrame()->ActiveChild(), frame);
    EXPECT_EQ(RecentFormats(settings)[0], "");
    EXPECT_TRUE(firstItems().contains("&Nuevo formato"));
    app.OpenForCapture(Path("factura.fmt"));
    EXPECT_TRUE(firstItems().contains("&Abrir formato para captura"));
}

TEST_F(AppFixture, TheScannedFormItemsHaveMnemonicsAndNoLetterOpensTwoFormatItems)
{
    // The scanned-form items are reached from the keyboard like the others (Alt+F, then
    // the letter), and no letter opens two items.
    app.NewDesign();
    QMenu* format = nullptr;
    for (QAction* a : app.MainFrame()->menuBar()->actions())
        if (a->text() == "&Formato")
            format = a->menu();
    ASSERT_NE(format, nullptr);
    QStringList letters;
    QStringList scanItems;
    for (QAction* a : format->actions()) {
        if (a->isSeparator())
            continue;
        const QKeySequence mnemonic = QKeySequence::mnemonic(a->text());
        if (a->text().contains("fondo", Qt::CaseInsensitive))
            scanItems << a->text();
        if (mnemonic.isEmpty()) {
            EXPECT_FALSE(a->text().contains("fondo", Qt::CaseInsensitive)) << a->text().toStdString();
            continue;
        }
        const QString letter = mnemonic.toString().toLower();
        EXPECT_FALSE(letters.contains(letter)) << a->text().toStdString();
        letters << letter;
    }
    EXPECT_EQ(scanItems.size(), 3);
}

TEST_F(AppFixture, WithNoPrinterTheSheetIsLetterSize)
{
    QPrinter& printer = app.Printer();
    if (printer.outputFormat() != QPrinter::PdfFormat)
        GTEST_SKIP() << "a printer is installed here; it keeps its own default paper";
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Letter);
}

TEST(AppCommandLine, AFormatNamedOnTheCommandLineOpensInDesignMode)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("nomina.fmt").toStdString();
    Format f;
    std::string message;
    ASSERT_TRUE(SaveFormatFile(path, f, FormatWriter::Design, message));
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    COrdexaApp app(settings, prompts);
    ASSERT_TRUE(app.Start({QString::fromStdString(path)}, false));
    ASSERT_EQ(app.MainFrame()->Children().size(), 1u);
    EXPECT_EQ(app.MainFrame()->Children()[0]->Mode(), FrameMode::Design);
    EXPECT_EQ(RecentFormats(settings)[0], path);
}

TEST_F(AppFixture, ACapturedDataFileOpensOnTheCaptureScreenOfItsFormat)
{
    // Captured beside its format; then a copy in another folder, away from its format.
    const std::string cap = Path("enero.cap");
    {
        CaptureSession session;
        std::string message;
        ASSERT_TRUE(session.LoadFormat(Path("factura.fmt"), message)) << message;
        RecordingDc dc;
        MemoryEntryFactory controls;
        session.BuildEntryControls(dc, controls, LogFont{});
        ASSERT_TRUE(session.TypeValue(*session.FindVariable("RFC"), "XAXX010101000", message)) << message;
        ASSERT_TRUE(session.SaveCapture(cap, message)) << message;
    }
    QTemporaryDir elsewhere;
    const std::string away = elsewhere.filePath("enero.cap").toStdString();
    ASSERT_TRUE(QFile::copy(QString::fromStdString(cap), QString::fromStdString(away)));

    // Not beside it and not among the recent formats: the clerk is told and may look for it.
    EXPECT_EQ(app.OpenCaptureFile(away), nullptr);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].find("\"factura.fmt\""), std::string::npos) << prompts.Shown()[0];
    EXPECT_TRUE(app.MainFrame()->Children().empty());

    for (const std::string& path : {cap, away}) {
        auto* frame = qobject_cast<CFmtcapturaFrm*>(app.OpenCaptureFile(path));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->Path(), Path("factura.fmt"));
        EXPECT_EQ(frame->View()->Session().ValueLines(), std::vector<std::string>{"RFC=XAXX010101000"});
        EXPECT_EQ(frame->View()->Session().CapturePath(), path);
    }
    // The second file was found through the recent formats, in the window already open.
    EXPECT_EQ(app.MainFrame()->Children().size(), 1u);
    EXPECT_EQ(prompts.Shown().size(), 1u);
}

TEST_F(AppFixture, TheCaptureScreenHasOneControlPerVariableElementInCaptureOrder)
{
    // The invoice holds a table element, whose control is its table window.
    for (const char* sample : {"/declaracion.fmt", "/factura_sencilla.fmt"}) {
        const std::string path = std::string(ORDEXA_SAMPLES) + sample;
        auto* frame = qobject_cast<CFmtcapturaFrm*>(app.OpenForCapture(path));
        ASSERT_NE(frame, nullptr) << sample;
        CFmtcaptureView* view = frame->View();
        int variables = 0;
        for (const auto& e : view->GetFormat().elements)
            variables += e->IsVariable() ? 1 : 0;
        ASSERT_GT(variables, 5) << sample;
        EXPECT_EQ(view->ControlWidget(kFirstControlId), nullptr) << sample;
        // Tab runs from the first control through the ids in ascending order.
        QWidget* w = view->ControlWidget(kFirstControlId + 1);
        ASSERT_NE(w, nullptr) << sample;
        std::vector<int> visited;
        for (int guard = 0; guard < 500 && visited.size() < size_t(variables); ++guard, w = w->nextInFocusChain())
            // The chain runs through the whole main window, where the other sample's frame
            // has controls with the same ids: only this view's count.
            if (const int id = EntryControlId(w); id && view->isAncestorOf(w))
                visited.push_back(id);
        ASSERT_EQ(visited.size(), size_t(variables)) << sample;
        for (int i = 0; i < variables; ++i)
            EXPECT_EQ(visited[i], kFirstControlId + 1 + i) << sample << " position " << i;
        EXPECT_EQ(view->FileName(), sample + 1);
    }
}

TEST_F(AppFixture, InEveryModeEachMenuGivesALetterToOneItemOnly)
{
    // Alt+letter only opens an item when no other item of the same menu (or bar) has that
    // letter; with two, the keyboard cycles between them and opens neither.
    std::function<void(const QString&, const QList<QAction*>&)> check = [&](const QString& where,
                                                                             const QList<QAction*>& actions) {
        QStringList letters;
        for (QAction* a : actions) {
            const QString letter = QKeySequence::mnemonic(a->text()).toString().toLower();
            EXPECT_TRUE(letter.isEmpty() || !letters.contains(letter))
                << where.toStdString() << ": " << a->text().toStdString();
            letters << letter;
            if (a->menu())
                check(where + " > " + a->text(), a->menu()->actions());
        }
    };
    check("principal", app.MainFrame()->menuBar()->actions());
    app.NewDesign();
    check("diseño", app.MainFrame()->menuBar()->actions());
    app.OpenForScreenLayout(Path("factura.fmt"));
    check("pantalla", app.MainFrame()->menuBar()->actions());
    app.OpenForCapture(Path("factura.fmt"));
    check("captura", app.MainFrame()->menuBar()->actions());
}
