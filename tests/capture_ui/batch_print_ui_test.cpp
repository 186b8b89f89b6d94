// "Imprimir lote..." driven from the capture menu with real clicks on its dialogs: the
// file, the count to confirm, the print dialog, the summary; and the values typed on the
// screen stay as they were.
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <fstream>

#include "capture_fixture.h"
#include "capture/ui/batch_print_dialog.h"
#include "platform/command_ids.h"

namespace {

// Runs `answer` on the first modal dialog of type T that opens after this call (the
// progress dialog, also modal, is passed over). Gives up after five seconds.
template <typename T>
void WhenDialogOpens(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, answer] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        } else if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// Clicks the message box button with the given role, keeping its text for the test.
void AnswerMessageBox(QString& text, QMessageBox::StandardButton button, std::function<void()> next = nullptr)
{
    WhenDialogOpens<QMessageBox>([&text, button, next](QMessageBox* box) {
        text = box->text();
        if (next)
            next();
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
}

// The file dialog's answer, then the watch for the next dialog.
void AnswerFileDialogThen(const QString& path, std::function<void()> next)
{
    WhenDialogOpens<QFileDialog>([path, next](QFileDialog* dialog) {
        EXPECT_TRUE(dialog->nameFilters().contains(QStringLiteral("Hojas de cálculo CSV (*.csv)")));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_TRUE(name && buttons);
        name->setText(path);
        next();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
}

void AcceptPrintDialog(std::function<void()> next)
{
    WhenDialogOpens<QPrintDialog>([next](QPrintDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Imprimir lote"));
        next();
        dialog->accept();
    });
}

int PdfPages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(20000);
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? -1 : info.mid(at + 6).trimmed().section(QLatin1Char('\n'), 0, 0).toInt();
}

}  // namespace

TEST_F(CaptureFixture, BatchPrintPrintsEveryGoodRowAndLeavesTheScreenAsTyped)
{
    TypeInto("NOMBRE", "Juan");
    const bool modifiedBefore = view->Session().IsModified();
    const std::string csv = TempPath("clientes.csv");
    {
        std::ofstream out(csv, std::ios::binary);
        // "Folio" names no field: it is left out, and said so before printing.
        out << "Folio;nombre;rfc;DETALLE[1,1];DETALLE[1,3]\r\n"
               "1;Rosa;AAA;2;10\r\n"
               "2;Pedro;BBB;dos;10\r\n"
               "3;Lucía;CCC;1;5\r\n";
    }
    // The print dialog offers the format's name for the batch, in the folder last
    // printed into.
    const QString pdf = QString::fromStdString(TempPath("factura_sencilla-lote.pdf"));
    QPrinter& printer = app.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(TempPath("factura_sencilla.pdf")));

    QString confirm, summary;
    // Each dialog, once answered, waits for the next one.
    AnswerFileDialogThen(QString::fromStdString(csv), [&] {
        AnswerMessageBox(confirm, QMessageBox::Ok, [&] {
            AcceptPrintDialog([&] { AnswerMessageBox(summary, QMessageBox::Ok); });
        });
    });
    app.OnCommand(CommandId::kBatchPrint);
    Settle();

    EXPECT_EQ(confirm, QStringLiteral("Se imprimirán 3 registros de «clientes.csv».\n\nSe omite la columna «Folio» del "
                                      "archivo «clientes.csv»: no nombra ningún campo del formato «factura_sencilla.fmt»."));
    EXPECT_TRUE(summary.contains(QStringLiteral("Se imprimieron 2 registros de «clientes.csv».")))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("Renglón 3: columna «DETALLE[1,1]» — Celda [1,1]"))) << summary.toStdString();
    EXPECT_EQ(PdfPages(pdf), 2);
    EXPECT_TRUE(prompts.Shown().empty());

    // The screen keeps what the clerk typed, and its own state.
    EXPECT_EQ(Text("NOMBRE"), QStringLiteral("Juan"));
    EXPECT_EQ(Text("RFC"), QString());
    EXPECT_EQ(view->Session().IsModified(), modifiedBefore);
}

TEST_F(CaptureFixture, BatchPrintRefusesAHeaderNamingNoFieldBeforeAnyPrintDialog)
{
    const std::string csv = TempPath("otra.csv");
    { std::ofstream(csv) << "Producto,Existencia\nTornillo,10\n"; }
    AnswerFileDialog(QString::fromStdString(csv));
    app.OnCommand(CommandId::kBatchPrint);
    Settle();
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].find("no nombra ningún campo"), std::string::npos) << prompts.Shown()[0];
    EXPECT_NE(prompts.Shown()[0].find("«otra.csv»"), std::string::npos) << prompts.Shown()[0];
}
