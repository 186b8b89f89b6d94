// The codes the electronic-invoice sample prints are read back by an independent decoder
// (zbarimg on the PDF page drawn at 300 dpi): they hold the templates filled with the
// values typed and calculated, on a single printout and on every page of a batch.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>

#include "cli_support.h"

namespace {

struct Invoice {
    QString uuid, emisor, receptor, sello, quantity, price;
};

const Invoice kInvoices[] = {
    {"5E4F3C2A-1B0D-4E8F-9A7B-6C5D4E3F2A1B", "FES010203AB1", "XAXX010101000", "Ab3+fQ==", "2", "500"},
    {"0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F9", "FES010203AB1", "MOSR750412KL9", "z9Y8x7W6", "3", "19.99"},
};

QStringList Assignments(const Invoice& i)
{
    return {"UUID=" + i.uuid,          "RFC EMISOR=" + i.emisor,     "RFC RECEPTOR=" + i.receptor,
            "SELLO=" + i.sello,        "DETALLE[1,1]=" + i.quantity, "DETALLE[1,2]=" + i.price};
}

// What the QR must hold: the template filled with the texts the capture shows.
QString ExpectedQr(const Invoice& i)
{
    CliRun calc = RunCli(QStringList{"calc", Sample("FacturaCFDI.fmt")} + Assignments(i));
    const auto total = QRegularExpression("^TOTAL=(.*)$", QRegularExpression::MultilineOption)
                           .match(QString::fromUtf8(calc.out));
    return "https://verificacfdi.facturaelectronica.sat.gob.mx/default.aspx?id=" + i.uuid + "&re=" + i.emisor +
           "&rr=" + i.receptor + "&tt=" + total.captured(1) + "&fe=" + i.sello;
}

// The codes zbarimg finds on each page of the PDF, sorted per page.
std::vector<QStringList> DecodedPages(const QString& pdf, const QString& folder)
{
    QProcess raster;
    raster.start("pdftoppm", {"-r", "300", "-png", pdf, folder + "/pagina"});
    raster.waitForFinished(120000);
    std::vector<QStringList> pages;
    for (const QString& png : QDir(folder).entryList({"pagina*.png"}, QDir::Files, QDir::Name)) {
        QProcess zbar;
        zbar.start("zbarimg", {"-q", "--raw", folder + "/" + png});
        zbar.waitForFinished(120000);
        QStringList codes = QString::fromUtf8(zbar.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        codes.sort();
        pages.push_back(codes);
    }
    return pages;
}

QStringList ExpectedCodes(const Invoice& i)
{
    QStringList codes{ExpectedQr(i), i.uuid};
    codes.sort();
    return codes;
}

bool HaveTools()
{
    return !QStandardPaths::findExecutable("zbarimg").isEmpty() && !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

}  // namespace

TEST(CliBarcodes, PrintedCodesDecodeToTheFilledTemplates)
{
    if (!HaveTools())
        GTEST_SKIP() << "zbarimg o pdftoppm no están instalados";
    QTemporaryDir dir;
    const QString pdf = dir.filePath("cfdi.pdf");
    const CliRun run = RunCli(QStringList{"print", Sample("FacturaCFDI.fmt"), pdf, "--facx", "0", "--facy", "0"} +
                              Assignments(kInvoices[0]));
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const auto pages = DecodedPages(pdf, dir.path());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0], ExpectedCodes(kInvoices[0]));
}

TEST(CliBarcodes, EveryPageOfABatchCarriesItsOwnRowsCodes)
{
    if (!HaveTools())
        GTEST_SKIP() << "zbarimg o pdftoppm no están instalados";
    QTemporaryDir dir;
    const QString csv = dir.filePath("cfdi.csv");
    QByteArray rows = "UUID,RFC EMISOR,RFC RECEPTOR,SELLO,\"DETALLE[1,1]\",\"DETALLE[1,2]\"\n";
    for (const Invoice& i : kInvoices)
        rows += (QStringList{i.uuid, i.emisor, i.receptor, i.sello, i.quantity, i.price}.join(',') + "\n").toUtf8();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rows);
    file.close();
    const QString pdf = dir.filePath("lote.pdf");
    const CliRun run = RunCli({"print", Sample("FacturaCFDI.fmt"), pdf, "--csv", csv, "--facx", "0", "--facy", "0"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const auto pages = DecodedPages(pdf, dir.path());
    ASSERT_EQ(pages.size(), std::size(kInvoices));
    for (size_t p = 0; p < pages.size(); ++p)
        EXPECT_EQ(pages[p], ExpectedCodes(kInvoices[p])) << "página " << p + 1;
}

TEST(CliBarcodes, DumpDescribesThePictureAndResaveKeepsBothKinds)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath("copia.fmt");
    ASSERT_EQ(RunCli({"resave", Sample("FacturaCFDI.fmt"), copy}).exitCode, 0);
    EXPECT_EQ(Read(copy), Read(Sample("FacturaCFDI.fmt")));
    const CliRun dump = RunCli({"dump", Sample("FacturaCFDI.fmt")});
    ASSERT_EQ(dump.exitCode, 0);
    EXPECT_TRUE(dump.out.contains("\"format\": \"PNG\"")) << dump.out.constData();
    EXPECT_TRUE(dump.out.contains("\"widthPx\": 640"));
    EXPECT_TRUE(dump.out.contains("\"symbology\": \"QR\""));
    EXPECT_TRUE(dump.out.contains("\"template\": \"{UUID}\""));
    EXPECT_TRUE(QRegularExpression("\"hash\": \"[0-9a-f]{16}\"").match(QString::fromUtf8(dump.out)).hasMatch());
}
