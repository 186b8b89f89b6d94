// Printing the capture screen on a real print queue: a print server of the test's own
// (started by the ctest fixture, cups/start_cupsd.sh) with a PDF queue whose printer
// declares an unprintable margin. What the queue prints must put page point (0, 0) on
// the sheet's corner moved only by the print offsets, whatever that margin.
#include "capture_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <cstdlib>
#include <map>

#include "platform/command_ids.h"
#include "platform/format_printer.h"

namespace {

const QString kQueue = QStringLiteral("OrdexaMargen");

struct Word {
    double x = 0;
    double y = 0;
};

// The words of a one-page PDF with the top-left corner of each, in points from the
// sheet's top-left corner (pdftotext -bbox); a word met twice keeps its first place.
std::map<QString, Word> WordsOf(const QString& pdf, QSizeF* page = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(20000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    std::map<QString, Word> words;
    static const QRegularExpression wordRe(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>"));
    for (auto it = wordRe.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        words.emplace(m.captured(3), Word{m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    static const QRegularExpression pageRe(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
    if (const auto m = pageRe.match(out); m.hasMatch() && page)
        *page = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    return words;
}

class CupsPrintFixture : public CaptureFixture {
protected:
    // Before the fixture's application makes its printer: the print system's client
    // library reads the server once.
    static void SetUpTestSuite()
    {
        const QString dir = QStringLiteral(ORDEXA_CUPS_DIR);
        if (QFile skip(dir + "/skip"); skip.open(QIODevice::ReadOnly)) {
            s_skipReason = "sin servidor de impresión: " + skip.readAll().trimmed().toStdString();
            return;
        }
        QFile server(dir + "/server");
        if (!server.open(QIODevice::ReadOnly)) {
            s_skipReason = "sin servidor de impresión: la prueba corre con ctest, que lo arranca en " + dir.toStdString();
            return;
        }
        setenv("CUPS_SERVER", server.readAll().trimmed().constData(), 1);
    }

    void SetUp() override
    {
        if (!s_skipReason.empty())
            GTEST_SKIP() << s_skipReason;
        output = QStringLiteral(ORDEXA_CUPS_DIR) + "/out/salida.pdf";
        QFile::remove(output);
        CaptureFixture::SetUp();
    }

    // Waits until the queue has no job left and the output file is there.
    bool WaitForOutput()
    {
        for (int i = 0; i < 300; ++i) {
            QProcess lpstat;
            lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), kQueue});
            lpstat.waitForFinished(5000);
            if (lpstat.readAllStandardOutput().trimmed().isEmpty() && QFileInfo(output).size() > 0)
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    QString output;
    static inline std::string s_skipReason;
};

TEST_F(CupsPrintFixture, TheQueuePutsThePageOriginOnTheSheetCornerMovedByTheOffsetsOnly)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(kQueue);
    ASSERT_FALSE(info.isNull()) << "the queue is not offered to the program";
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageSize(info.defaultPageSize());
    // The queue's printer really cannot print at the sheet's edge: 18 pt left, 9 pt top.
    const QMarginsF margins = printer.pageLayout().minimumMargins();
    EXPECT_NEAR(printer.pageLayout().pageSize().sizePoints().width(), 612, 0.5);
    EXPECT_NEAR(margins.left(), 18, 0.5);
    EXPECT_NEAR(margins.top(), 9, 0.5);

    TypeInto("NOMBRE", "Juan");
    TypeInto("RFC", "PEJ800101");
    settings.WriteInt("FacX", 100);  // 1 cm right
    settings.WriteInt("FacY", 50);   // 5 mm down
    ASSERT_TRUE(view->PrintOn(printer)) << (prompts.Shown().empty() ? "" : prompts.Shown().back());
    ASSERT_TRUE(WaitForOutput()) << "the queue wrote nothing to " << output.toStdString();

    // The same page written straight to a PDF without offsets is where the format puts
    // each element on the sheet.
    const std::string reference = TempPath("referencia.pdf");
    std::string message;
    ASSERT_TRUE(PrintToPdfFile(reference, PaperSize::Letter, view->GetFormat().elements, PrintOffsets{}, message))
        << message;

    QSizeF sheet;
    const auto printed = WordsOf(output, &sheet);
    const auto expected = WordsOf(QString::fromStdString(reference));
    EXPECT_NEAR(sheet.width(), 612, 0.5);
    EXPECT_NEAR(sheet.height(), 792, 0.5);
    const double dx = 100 / 254.0 * 72;  // 1 cm in points
    const double dy = 50 / 254.0 * 72;
    int compared = 0;
    for (const char* word : {"Juan", "PEJ800101", "Subtotal", "Total", "Este", "exhibición."}) {
        const auto p = printed.find(QString::fromUtf8(word));
        const auto e = expected.find(QString::fromUtf8(word));
        ASSERT_TRUE(p != printed.end() && e != expected.end()) << word;
        EXPECT_NEAR(p->second.x - e->second.x, dx, 0.3) << word;
        EXPECT_NEAR(p->second.y - e->second.y, dy, 0.3) << word;
        ++compared;
    }
    EXPECT_EQ(compared, 6);
    // And on the sheet itself: the constant text "Subtotal" starts at x = 1450 (0.1 mm)
    // on the page, so 1550 with the offset, whatever the printer's 18 pt margin.
    ASSERT_TRUE(printed.count("Subtotal"));
    EXPECT_NEAR(printed.at("Subtotal").x, 1550 / 254.0 * 72, 0.3);
}

// Every print dialog of the session opens on the output the clerk chose last: Qt's own
// dialog switches the printer to the default queue while it is built.
TEST_F(CupsPrintFixture, EveryPrintDialogOpensOnTheFileOutputChosenLastTime)
{
    ASSERT_FALSE(QPrinterInfo::printerInfo(kQueue).isNull()) << "the queue is not offered to the program";
    const QString pdf = QString::fromStdString(TempPath("elegido.pdf"));
    struct Shown {
        QString printer, file;
        bool onFileEntry = false;
    };
    // Notes what the dialog shows; then chooses the file entry and prints, or cancels.
    const auto answer = [](Shown& shown, const QString& chooseFile) {
        WhenModalOpens([&shown, chooseFile](QWidget* w) {
            auto* printers = w->findChild<QComboBox*>(QStringLiteral("printers"));
            auto* file = w->findChild<QLineEdit*>(QStringLiteral("filename"));
            auto* buttons = w->findChild<QDialogButtonBox*>();
            ASSERT_TRUE(printers && file && buttons) << w->metaObject()->className();
            shown = {printers->currentText(), file->text(), printers->currentIndex() == printers->count() - 1};
            if (chooseFile.isEmpty()) {
                QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
                return;
            }
            printers->setCurrentIndex(printers->count() - 1);
            file->setText(chooseFile);
            QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
    };

    Shown first, second, setup;
    answer(first, pdf);
    view->PrintFormat();
    EXPECT_EQ(first.printer, kQueue);
    ASSERT_GT(QFileInfo(pdf).size(), 0) << "nothing printed to " << pdf.toStdString();

    answer(second, {});
    view->PrintFormat();
    EXPECT_TRUE(second.onFileEntry) << second.printer.toStdString();
    // The file is the format's name in the folder printed into.
    EXPECT_EQ(second.file, QFileInfo(pdf).absolutePath() + "/factura_sencilla.pdf");

    answer(setup, {});
    app.OnCommand(CommandId::kPrintSetup);
    EXPECT_TRUE(setup.onFileEntry) << setup.printer.toStdString();
}

}  // namespace
