// The capture screen driven as a clerk drives it: real keys and clicks on the sample
// invoice, its dialogs answered by clicking their buttons.
#include "capture_fixture.h"

#include <QAbstractPrintDialog>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStatusBar>
#include <QToolBar>

#include "base/atomic_file.h"
#include "base/recording_dc.h"
#include "calc/amount_words.h"
#include "capture/print_job.h"
#include "capture/ui/margenes_dlg.h"
#include "model/format_file.h"
#include "model/textline_var.h"
#include "model/fmt_grid.h"
#include "platform/command_ids.h"
#include "platform/format_render.h"
#include "tables/ui/grid_tabla_wnd.h"

namespace {

using namespace CommandId;

const char* const kFieldsInOrder[] = {"NOMBRE",   "RFC",      "FECHA", "DOMICILIO", "CONTADO",          "CREDITO",
                                      "DETALLE",  "SUBTOTAL", "IVA",   "TOTAL",     "IMPORTE CON LETRA"};

// Each key goes where the keyboard focus is at that moment, as a typist's would: the
// table window opens its cell edit on the first character and the rest go there.
void TypeKeys(const char* text)
{
    for (const char* c = text; *c; ++c)
        QTest::keyClicks(QApplication::focusWidget(), QString(QLatin1Char(*c)));
}

void PressOnFocus(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, mods);
}

TEST_F(CaptureFixture, FocusStartsOnTheFirstFieldAndTabGoesRoundInCaptureOrder)
{
    EXPECT_EQ(FocusedId(), 1174) << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none")
                                 << " " << (app.MainFrame()->focusWidget() ? app.MainFrame()->focusWidget()->metaObject()->className() : "none");
    std::vector<int> seen;
    for (size_t i = 0; i < std::size(kFieldsInOrder); ++i) {
        seen.push_back(FocusedId());
        PressOnFocus(Qt::Key_Tab);
    }
    std::vector<int> expected;
    for (const char* name : kFieldsInOrder)
        expected.push_back(Id(name));
    EXPECT_EQ(seen, expected);
    // From the last field Tab comes back to the first, with no stop in between; Shift+Tab
    // goes back round the other way, also out of the table window.
    EXPECT_EQ(FocusedId(), 1174);
    PressOnFocus(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusedId(), Id("IMPORTE CON LETRA"));
    Control("SUBTOTAL")->setFocus();
    PressOnFocus(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusedId(), Id("DETALLE"));
    PressOnFocus(Qt::Key_Tab);
    EXPECT_EQ(FocusedId(), Id("SUBTOTAL"));
}

TEST_F(CaptureFixture, EnterMovesOnExceptInAParagraph)
{
    struct Case {
        const char* from;
        const char* to;
    } cases[] = {{"NOMBRE", "RFC"}, {"FECHA", "DOMICILIO"}, {"CONTADO", "CREDITO"}, {"TOTAL", "IMPORTE CON LETRA"}};
    for (const Case& c : cases) {
        Control(c.from)->setFocus();
        PressOnFocus(Qt::Key_Return);
        EXPECT_EQ(FocusedId(), Id(c.to)) << c.from;
    }
    Control("DOMICILIO")->setFocus();
    TypeKeys("Calle 1");
    PressOnFocus(Qt::Key_Return);
    TypeKeys("Centro");
    EXPECT_EQ(FocusedId(), Id("DOMICILIO"));
    EXPECT_EQ(static_cast<CParagraphEdit*>(Control("DOMICILIO"))->Value(), "Calle 1\r\nCentro");
}

TEST_F(CaptureFixture, TabAndEnterMoveOnWhileTheWindowIsInactive)
{
    // Keys can reach a window that is not the active one (an X session without a window
    // manager, right after a dialog closed): the field holding the window's focus is the
    // one left, not the first field again.
    Control("NOMBRE")->setFocus();
    QWidget* nombre = Control("NOMBRE");
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    QTest::keyClick(nombre, Qt::Key_Tab);
    EXPECT_EQ(nombre->window()->focusWidget(), Control("RFC"));
    QApplication::setActiveWindow(nullptr);
    QTest::keyClick(Control("RFC"), Qt::Key_Return);
    EXPECT_EQ(nombre->window()->focusWidget(), Control("FECHA"));
}

TEST_F(CaptureFixture, TotalsFollowATableRowAndAFieldLeft)
{
    // A row typed into the table: quantity, description, unit price; the amount column
    // is calculated and the totals below follow it.
    Control("DETALLE")->setFocus();
    for (const char* cell : {"2", "Tablas", "10"}) {
        TypeKeys(cell);
        PressOnFocus(Qt::Key_Return);
    }
    EXPECT_EQ(Text("SUBTOTAL"), "20.00");
    EXPECT_EQ(Text("IVA"), "3.20");
    EXPECT_EQ(Text("TOTAL"), "23.20");
    EXPECT_EQ(Text("IMPORTE CON LETRA").toStdString(), CAmountWords().AmountInWords(23.20));

    // The clerk overrides the subtotal: leaving the field ripples down the chain.
    TypeInto("SUBTOTAL", "100");
    EXPECT_EQ(FocusedId(), Id("IVA"));
    EXPECT_EQ(Text("IVA"), "16.00");
    EXPECT_EQ(Text("TOTAL"), "116.00");
    EXPECT_EQ(Text("IMPORTE CON LETRA").toStdString(), CAmountWords().AmountInWords(116));
}

TEST_F(CaptureFixture, TabOutOfATableCellKeepsWhatWasTypedThere)
{
    Control("DETALLE")->setFocus();
    for (const char* cell : {"2", "Tablas"}) {
        TypeKeys(cell);
        PressOnFocus(Qt::Key_Return);
    }
    TypeKeys("10");
    PressOnFocus(Qt::Key_Tab);
    EXPECT_EQ(FocusedId(), Id("SUBTOTAL"));
    EXPECT_EQ(Text("SUBTOTAL"), "20.00");
    EXPECT_EQ(Text("TOTAL"), "23.20");

    // Back into the table, on the second row (a new one), and out again by Tab after its
    // price: the row is kept and counted.
    Control("DETALLE")->setFocus();
    PressOnFocus(Qt::Key_Down);
    for (int i = 0; i < 4; ++i)  // to the first column, wherever the cursor was
        PressOnFocus(Qt::Key_Left);
    for (const char* cell : {"1", "Clavos"}) {
        TypeKeys(cell);
        PressOnFocus(Qt::Key_Return);
    }
    TypeKeys("5");
    PressOnFocus(Qt::Key_Tab);
    EXPECT_EQ(FocusedId(), Id("SUBTOTAL"));
    EXPECT_EQ(Text("SUBTOTAL"), "25.00");
}

TEST_F(CaptureFixture, EveryControlCarriesItsNameAndTheTableItsCurrentCell)
{
    for (const char* name : kFieldsInOrder)
        EXPECT_EQ(Control(name)->accessibleName(), QString::fromUtf8(name));
    QWidget* table = Control("DETALLE");
    table->setFocus();
    TypeKeys("3");
    PressOnFocus(Qt::Key_Return);
    PressOnFocus(Qt::Key_Left);
    EXPECT_EQ(table->accessibleDescription(), QStringLiteral("Columna CANTIDAD, renglón 1: 3"));
    PressOnFocus(Qt::Key_Right);
    EXPECT_TRUE(table->accessibleDescription().startsWith(QStringLiteral("Columna DESCRIPCION, renglón 1")))
        << table->accessibleDescription().toStdString();
}

TEST_F(CaptureFixture, TheStatusBarRestsOnPreparadoAsTheDesignModesDo)
{
    QStatusBar* bar = frame->statusBar();
    auto idleShown = [bar] {
        for (QLabel* label : bar->findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Preparado") && label->isVisibleTo(bar))
                return true;
        return false;
    };
    EXPECT_TRUE(idleShown());
    // A fly-by text covers it while the pointer is over a button, and goes with it.
    bar->showMessage(QStringLiteral("Imprime el formato con los datos capturados"));
    EXPECT_FALSE(idleShown());
    bar->clearMessage();
    EXPECT_TRUE(idleShown());
}

TEST_F(CaptureFixture, ToolbarAndMenuOfferEveryCaptureCommand)
{
    const struct {
        int id;
        const char* tip;
    } buttons[] = {{kOpenCapture, "Abrir captura"}, {kPrintFormat, "Imprimir"}, {kMargins, "Márgenes"},
                   {kClearCapture, "Limpiar"},      {kAbout, "Acerca de"}};
    for (const auto& b : buttons) {
        QAction* action = frame->ToolAction(b.id);
        ASSERT_NE(action, nullptr) << b.tip;
        EXPECT_EQ(action->toolTip(), QString::fromUtf8(b.tip));
        EXPECT_FALSE(action->icon().isNull());
        EXPECT_FALSE(action->statusTip().isEmpty());
    }
    QStringList texts;
    for (QAction* top : app.MainFrame()->menuBar()->actions())
        if (top->menu())
            for (QAction* item : top->menu()->actions())
                texts << item->text();
    for (const char* text : {"Abrir datos capturados", "&Guardar captura", "Guardar captura como...",
                             "Con&figurar impresora", "Configurar &Márgenes", "&Imprimir formato", "&Cerrar",
                             "&Barra de herramientas", "&Limpiar formato"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    // "&Barra de herramientas" hides and shows the toolbar.
    app.OnCommand(kToolbar);
    EXPECT_FALSE(frame->ToolBar()->isVisible());
    app.OnCommand(kToolbar);
    EXPECT_TRUE(frame->ToolBar()->isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Pantalla de captura - ") + QString::fromStdString(SamplePath("factura_sencilla.fmt")));
}

TEST_F(CaptureFixture, ClosingWithChangedValuesAsksAndCancelKeepsTheFrame)
{
    QPointer<CFmtcapturaFrm> guard(frame);
    TypeInto("NOMBRE", "Juan");
    prompts.QueueChoice(PromptAnswer::Cancel);
    app.OnCommand(kCloseFrame);
    ASSERT_FALSE(prompts.Shown().empty());
    const QString asked = QString::fromStdString(prompts.Shown().back());
    EXPECT_EQ(asked, QStringLiteral("¿Desea guardar los datos capturados?"));
    Settle();
    ASSERT_TRUE(guard);
    EXPECT_EQ(app.MainFrame()->MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(Text("NOMBRE"), "Juan");

    // Clearing asks too; "No" throws the values away.
    prompts.QueueChoice(PromptAnswer::No);
    app.OnCommand(kClearCapture);
    EXPECT_EQ(Text("NOMBRE"), "");
    EXPECT_EQ(FocusedId(), 1174);

    // With nothing changed since, the frame closes without a question, and its window
    // in the workspace with it.
    app.OnCommand(kCloseFrame);
    Settle();
    EXPECT_FALSE(guard);
    EXPECT_TRUE(app.MainFrame()->MdiArea()->subWindowList().isEmpty());
}

TEST_F(CaptureFixture, SaveOnCloseWritesTheCaptureAndOpeningItShowsTheValuesAgain)
{
    const QString cap = QString::fromStdString(TempPath("juan.cap"));
    TypeInto("NOMBRE", "Juan Perez");
    TypeInto("RFC", "PEJ800101");
    QPointer<CFmtcapturaFrm> guard(frame);
    prompts.QueueChoice(PromptAnswer::Yes);
    AnswerFileDialog(cap);
    frame->close();
    Settle();
    EXPECT_FALSE(guard);
    ASSERT_TRUE(QFile::exists(cap));

    frame = static_cast<CFmtcapturaFrm*>(app.OpenForCapture(SamplePath("factura_sencilla.fmt")));
    view = frame->View();
    AnswerFileDialog(cap);
    app.OnCommand(kOpenCaptured);
    EXPECT_EQ(Text("NOMBRE"), "Juan Perez");
    EXPECT_EQ(Text("RFC"), "PEJ800101");
    EXPECT_EQ(view->Session().CapturePath(), cap.toStdString());
    EXPECT_FALSE(view->Session().IsModified());
}

TEST_F(CaptureFixture, ACapOfAnotherFormatIsRefusedWithBothNames)
{
    // A capture saved from the cheque.
    Format cheque;
    std::string message;
    ASSERT_TRUE(LoadFormatFile(SamplePath("cheque.fmt"), cheque, message));
    CaptureSession other;
    other.AdoptFormat(std::move(cheque), SamplePath("cheque.fmt"));
    MemoryEntryFactory factory;
    RecordingDc dc(MapMode::Pixels, 96);
    other.BuildEntryControls(dc, factory, CaptureScreenFont());
    ASSERT_TRUE(other.SaveCapture(TempPath("cheque.cap"), message)) << message;

    TypeInto("NOMBRE", "Sin cambio");
    view->Session().MarkSaved();
    AnswerFileDialog(QString::fromStdString(TempPath("cheque.cap")));
    app.OnCommand(kOpenCaptured);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0], "El archivo seleccionado es del tipo cheque.fmt y no del formato factura_sencilla.fmt actual");
    EXPECT_EQ(Text("NOMBRE"), "Sin cambio");
    EXPECT_TRUE(view->Session().CapturePath().empty());
}

TEST_F(CaptureFixture, AFailedSaveSaysSoAndKeepsTheFrameAndTheOldFile)
{
    TypeInto("NOMBRE", "Primera");
    const std::string good = TempPath("buena.cap");
    ASSERT_TRUE(view->WriteCapture(good));
    std::vector<uint8_t> before;
    ASSERT_TRUE(ReadWholeFile(good, before, nullptr));

    TypeInto("NOMBRE", "Segunda");
    EXPECT_FALSE(view->WriteCapture(TempPath("no-existe/otra.cap")));
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].find("otra.cap"), std::string::npos) << prompts.Shown()[0];
    EXPECT_EQ(view->Session().CapturePath(), good);
    EXPECT_TRUE(view->Session().IsModified());
    std::vector<uint8_t> after;
    ASSERT_TRUE(ReadWholeFile(good, after, nullptr));
    EXPECT_EQ(after, before);

    // Closing, answering Sí and then cancelling the save keeps the frame open.
    QPointer<CFmtcapturaFrm> guard(frame);
    view->Session().MarkSaved();
    TypeInto("NOMBRE", "Tercera");
    // The frame saves to its captured-data file without asking: make that fail by
    // putting a folder where the file was.
    QFile::remove(QString::fromStdString(good));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(good) + "/dentro"));
    prompts.QueueChoice(PromptAnswer::Yes);
    frame->close();
    Settle();
    EXPECT_TRUE(guard);
    // The earlier failure, the question, and the failed save's own message.
    ASSERT_EQ(prompts.Shown().size(), 3u);
    EXPECT_EQ(prompts.Shown()[1], "¿Desea guardar los datos capturados?");
    EXPECT_NE(prompts.Shown()[2].find("buena.cap"), std::string::npos) << prompts.Shown()[2];
}

// --- Margins -------------------------------------------------------------------------------

void TypeIntoDialogEdit(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

TEST_F(CaptureFixture, MarginsAreStoredTruncatedAndANonNumberKeepsTheDialogOpen)
{
    WhenModalOpens([this](QWidget* w) {
        auto* dialog = qobject_cast<CMargenesDlg*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Configuración de márgenes"));
        EXPECT_EQ(dialog->HorizontalEdit()->text(), "0");
        TypeIntoDialogEdit(dialog->HorizontalEdit(), "dos");
        QTest::keyClick(dialog->HorizontalEdit(), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"Introduzca un número."});
        TypeIntoDialogEdit(dialog->HorizontalEdit(), "0.29");
        TypeIntoDialogEdit(dialog->VerticalEdit(), "-0.5");
        QTest::keyClick(dialog->VerticalEdit(), Qt::Key_Return);
    });
    app.OnCommand(kMargins);
    EXPECT_EQ(settings.ReadInt("FacX", 7), 28);
    EXPECT_EQ(settings.ReadInt("FacY", 7), -50);

    // The next time the dialog shows what was stored; Cancel changes nothing.
    WhenModalOpens([](QWidget* w) {
        auto* dialog = qobject_cast<CMargenesDlg*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->HorizontalEdit()->text(), "0.28");
        EXPECT_EQ(dialog->VerticalEdit()->text(), "-0.5");
        EXPECT_FALSE(dialog->PermanentBox()->isChecked());
        TypeIntoDialogEdit(dialog->HorizontalEdit(), "5");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    app.OnCommand(kMargins);
    EXPECT_EQ(settings.ReadInt("FacX", 7), 28);
}

TEST(MarginsDialog, ReadsOffsetsAsTheStoreKeepsThem)
{
    const struct {
        const char* typed;
        bool ok;
        int units;
    } cases[] = {{"0.29", true, 28}, {" 1 ", true, 100}, {"-0.5", true, -50}, {"1,5", true, 150},
                 {"0", true, 0},     {"", false, 0},     {"1.2.3", false, 0}, {"abc", false, 0},
                 {"100", true, 10000}, {"100.5", false, 0}, {"1e400", false, 0}};
    for (const auto& c : cases) {
        ScriptedPrompts prompts;
        CMargenesDlg dialog(PrintOffsets{}, prompts);
        dialog.HorizontalEdit()->setText(QString::fromUtf8(c.typed));
        dialog.VerticalEdit()->setText("0");
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.ok) << c.typed;
        EXPECT_EQ(prompts.Shown().empty(), c.ok) << c.typed;
        if (c.ok) {
            EXPECT_EQ(dialog.Offsets().facX, c.units) << c.typed;
        }
    }
}

// The page rectangles of a format file, in file order.
std::vector<Rect> PageRects(const std::string& path)
{
    Format f;
    std::string message;
    EXPECT_TRUE(LoadFormatFile(path, f, message)) << message;
    std::vector<Rect> rects;
    for (auto it = f.elements.rbegin(); it != f.elements.rend(); ++it)
        rects.push_back((*it)->m_rcPage);
    return rects;
}

class MarginsApplyFixture : public CaptureFixture {
protected:
    void OpenCopy(const std::string& path)
    {
        ASSERT_TRUE(QFile::copy(QString::fromStdString(SamplePath("factura_sencilla.fmt")), QString::fromStdString(path)));
        original = PageRects(path);
        frame = static_cast<CFmtcapturaFrm*>(app.OpenForCapture(path));
        view = frame->View();
    }
    void ApplyPermanently(const char* x, const char* y)
    {
        WhenModalOpens([x, y](QWidget* w) {
            auto* dialog = qobject_cast<CMargenesDlg*>(w);
            ASSERT_NE(dialog, nullptr);
            TypeIntoDialogEdit(dialog->HorizontalEdit(), x);
            TypeIntoDialogEdit(dialog->VerticalEdit(), y);
            QTest::mouseClick(dialog->PermanentBox(), Qt::LeftButton);
            QTest::keyClick(dialog->VerticalEdit(), Qt::Key_Return);
        });
        app.OnCommand(kMargins);
    }
    std::vector<Rect> original;
};

TEST_F(MarginsApplyFixture, ApplyingPermanentlyMovesTheFormatAndZeroesTheOffsets)
{
    const std::string path = TempPath("factura.fmt");
    OpenCopy(path);
    ApplyPermanently("1", "0.5");
    EXPECT_TRUE(prompts.Shown().empty());
    const std::vector<Rect> moved = PageRects(path);
    ASSERT_EQ(moved.size(), original.size());
    for (size_t i = 0; i < moved.size(); ++i)
        EXPECT_EQ(moved[i], original[i].Offset(100, -50)) << i;
    EXPECT_EQ(settings.ReadInt("FacX", 7), 0);
    EXPECT_EQ(settings.ReadInt("FacY", 7), 0);
}

TEST_F(MarginsApplyFixture, AFailedRewriteKeepsTheOffsetsAndTheElementsWhereTheFileHasThem)
{
    ASSERT_TRUE(QDir().mkpath(dir.filePath("carpeta")));
    const std::string path = TempPath("carpeta/factura.fmt");
    OpenCopy(path);
    ASSERT_TRUE(QDir(dir.filePath("carpeta")).removeRecursively());
    ApplyPermanently("1", "0.5");
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(settings.ReadInt("FacX", 7), 100);
    EXPECT_EQ(settings.ReadInt("FacY", 7), 50);
    std::vector<Rect> shown;
    for (auto it = view->GetFormat().elements.rbegin(); it != view->GetFormat().elements.rend(); ++it)
        shown.push_back((*it)->m_rcPage);
    EXPECT_EQ(shown, original);
}

// --- Printing -------------------------------------------------------------------------------

TEST_F(CaptureFixture, PrinterSetupChoosesWithAceptar)
{
    QString okText;
    WhenModalOpens([&okText](QWidget* w) {
        auto* dialog = qobject_cast<QPrintDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        for (auto* box : dialog->findChildren<QDialogButtonBox*>())
            if (box->button(QDialogButtonBox::Ok) && box->window() == dialog)
                okText = box->button(QDialogButtonBox::Ok)->text();
        dialog->reject();
    });
    app.OnCommand(kPrintSetup);
    EXPECT_EQ(okText, QStringLiteral("Aceptar"));
}

TEST_F(CaptureFixture, PrintFormatPrintsThroughTheDialogAndCancelPrintsNothing)
{
    // The dialog offers the format's name in the folder last printed into, never the
    // last file again.
    const QString pdf = QString::fromStdString(TempPath("factura_sencilla.pdf"));
    QPrinter& printer = app.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(TempPath("impreso.pdf")));
    TypeInto("NOMBRE", "Juan");

    WhenModalOpens([](QWidget* w) {
        auto* dialog = qobject_cast<QPrintDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    app.OnCommand(kPrintFormat);
    EXPECT_FALSE(QFile::exists(pdf));

    WhenModalOpens([](QWidget* w) {
        auto* dialog = qobject_cast<QPrintDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        // One sheet always: no page ranges to choose.
        EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
        for (auto* box : dialog->findChildren<QDialogButtonBox*>())
            if (box->window() == dialog && box->button(QDialogButtonBox::Ok)) {
                QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
                return;
            }
        dialog->accept();
    });
    app.OnCommand(kPrintFormat);
    EXPECT_EQ(printer.outputFileName(), pdf);
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(TempPath("impreso.pdf"))));
    EXPECT_TRUE(prompts.Shown().empty());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    EXPECT_TRUE(text.readAllStandardOutput().contains("Juan"));
}

// --- Captions at the screen's edge ----------------------------------------------------------

TEST_F(CaptureFixture, CaptionsLeftOfTheScreenEdgeAreShownWhole)
{
    Format f;
    f.title = "Borde";
    auto line = std::make_unique<CTextlineVar>();
    line->m_text = "CANTIDAD EN LETRA";
    line->m_rcScreen = {4, 2, 300, 22};
    line->m_captionLeft = 1;
    line->m_order = 1;
    f.elements.push_front(std::move(line));
    f.screenExtent = {0, 0, 310, 30};
    std::string message;
    const std::string path = TempPath("borde.fmt");
    ASSERT_TRUE(SaveFormatFile(path, f, FormatWriter::Rewrite, message)) << message;
    auto* edge = static_cast<CFmtcapturaFrm*>(app.OpenForCapture(path));
    CCaptureForm* form = edge->View()->Form();
    const QImage picture = form->grab().toImage();
    QWidget* control = edge->View()->ControlWidget(1174);
    ASSERT_NE(control, nullptr);
    // The caption ends 2 pixels left of the control and starts inside the form, with
    // background at the form's left edge.
    EXPECT_GT(control->x(), 100);
    int darkColumns = 0;
    int firstDark = -1;
    for (int x = 0; x < control->x() - 2; ++x)
        for (int y = control->y(); y < control->y() + 18; ++y)
            if (qGray(picture.pixel(x, y)) < 100) {
                ++darkColumns;
                if (firstDark < 0)
                    firstDark = x;
                break;
            }
    EXPECT_GT(darkColumns, 40);
    EXPECT_GE(firstDark, 4);
    // The stored positions stay as they were.
    EXPECT_EQ(edge->View()->GetFormat().elements.front()->m_rcScreen, (Rect{4, 2, 300, 22}));
}

}  // namespace
