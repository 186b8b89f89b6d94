// Barcodes on the capture screen: a template barcode follows the fields it names (typed,
// calculated, from a table) and cannot be typed into; a typed barcode refuses data its
// symbology cannot encode, with the reason. A batch PDF stores a picture once.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <filesystem>
#include <fstream>

#include "capture/batch_print.h"
#include "capture_fixture.h"
#include "model/codigo_barras.h"
#include "model/imagen.h"
#include "platform/batch_printer.h"

namespace {

std::unique_ptr<CControles> Barcode(const std::string& name, int order, Symbology symbology, const std::string& tpl)
{
    auto element = Variable(kKindCodigoBarras, name, order);
    auto& barcode = static_cast<CCodigoBarras&>(*element);
    barcode.m_symbology = symbology;
    barcode.m_template = tpl;
    return element;
}

}  // namespace

TEST(CaptureBarcodes, ATemplateFollowsTypedCalculatedAndTableValuesAndIsNotTyped)
{
    CaptureFixture fx;
    Format format = InvoiceFormat(false);
    format.elements.push_back(Barcode("QR", 9, Symbology::Qr, "rfc={rfc}&tt={TOTAL}&pagada={Pagada}&x={NADA}"));
    format.elements.push_back(Barcode("Articulo", 10, Symbology::Ean13, ""));
    fx.Open(std::move(format));
    EXPECT_EQ(fx.Text("QR"), "rfc=&tt=" + fx.Text("Total") + "&pagada=&x=");

    fx.Type("RFC", "ABC123");
    fx.TypeCell("Detalle", 1, 1, "2");
    fx.TypeCell("Detalle", 1, 3, "50");
    fx.Type("Pagada", "1");
    EXPECT_EQ(fx.Text("QR"), "rfc=ABC123&tt=" + fx.Text("Total") + "&pagada=X&x=");
    EXPECT_FALSE(fx.Text("Total").empty());

    std::string message;
    EXPECT_FALSE(fx.session.TypeValue(fx.Field("QR"), "otra cosa", message));
    EXPECT_NE(message.find("otros campos"), std::string::npos) << message;

    // The typed barcode keeps only what its symbology encodes.
    struct Case {
        const char* data;
        const char* reason;  // empty: accepted
    } cases[] = {
        {"7501234567893", ""},
        {"75012345678A3", "dígitos"},
        {"7501234567890", "verificador"},
        {"75012345678931234", "12 o 13"},
    };
    for (const Case& c : cases) {
        message.clear();
        EXPECT_EQ(fx.session.TypeValue(fx.Field("Articulo"), c.data, message), *c.reason == 0) << c.data;
        EXPECT_NE(message.find(c.reason), std::string::npos) << c.data << ": " << message;
    }
    EXPECT_EQ(fx.Text("Articulo"), "7501234567893");
    EXPECT_TRUE(fx.session.BarcodeProblem(fx.session.FindVariable("Articulo")->m_order + kFirstControlId).empty());
}

TEST(CaptureBarcodes, DataThatCannotBeEncodedPrintsNothingAndIsNamed)
{
    CaptureFixture fx;
    Format format;
    format.elements.push_back(Barcode("Codigo", 1, Symbology::Ean13, ""));
    fx.Open(std::move(format));
    auto& barcode = static_cast<CCodigoBarras&>(fx.Field("Codigo"));
    barcode.m_pControl->SetText("12345");  // loaded from a file, never typed
    RecordingDc sheet;
    fx.session.Print(sheet, {});
    EXPECT_TRUE(sheet.fillsF.empty());
    const std::string problem = fx.session.BarcodeProblem(kFirstControlId + 1);
    EXPECT_NE(problem.find("\"Codigo\""), std::string::npos) << problem;
    EXPECT_NE(problem.find("12 o 13"), std::string::npos) << problem;

    barcode.m_pControl->SetText("7501234567893");
    fx.session.Print(sheet, {});
    ASSERT_EQ(sheet.fillsF.size(), 1u);
    EXPECT_FALSE(sheet.fillsF[0].rects.empty());
}

TEST(BatchMedia, APdfBatchStoresAPictureOnceHoweverManyPagesShowIt)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("ordexa-batch-logo-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    // A picture of noise does not compress: about 200 KB as a PNG.
    QImage noise(256, 256, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate() | 0xFF000000u);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(noise.save(&buffer, "PNG"));
    ASSERT_GT(png.size(), 150000);

    const std::string csv = (folder / "nombres.csv").string();
    {
        std::ofstream out(csv);
        out << "Nombre\n";
        for (int i = 0; i < 40; ++i)
            out << "Cliente " << i << "\n";
    }
    const auto printBatch = [&](bool withLogo) {
        Format format;
        format.elements.push_back(Line("Nombre", 1));
        if (withLogo) {
            std::string reason;
            format.elements.push_back(
                CImagen::CreateAt(100, -100, 500, std::vector<uint8_t>(png.begin(), png.end()), reason));
        }
        FixedLocale locale;
        BatchPrint batch(locale);
        std::string message;
        EXPECT_TRUE(batch.CopyFormat(std::move(format), "/tmp/Logo.fmt", message)) << message;
        EXPECT_TRUE(batch.OpenRows(csv, message)) << message;
        const std::string pdf = (folder / (withLogo ? "con.pdf" : "sin.pdf")).string();
        BatchOutcome outcome;
        EXPECT_TRUE(PrintBatchToPdfFile(pdf, FullSheetLayout(PaperSize::Letter), batch, {0, 0}, {}, outcome, message))
            << message;
        EXPECT_EQ(outcome.printed, 40);
        return fs::file_size(pdf);
    };
    const auto without = printBatch(false);
    const auto with = printBatch(true);
    EXPECT_LT(with, without + 1024 * 1024) << "sin imagen " << without << ", con imagen " << with;
    fs::remove_all(folder);
}
