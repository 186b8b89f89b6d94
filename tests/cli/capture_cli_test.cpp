// ordexa-cli's capture commands as a script sees them: amounts in words, filling and
// calculating a format, captured-data files, printing to PDF and exporting a table.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "cli_support.h"
#include "pdf_words.h"

namespace {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult Cli(const QStringList& args, const QString& stdoutFile = QString(), const QString& configHome = QString())
{
    const CliRun r = RunCli(args, stdoutFile, configHome);
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

// One line on standard error, nothing on standard output.
void ExpectRefusal(const CliResult& r, const QString& mentions)
{
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(mentions)) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

// xMin of a word in the PDF, in points from the sheet's left edge; -1 when absent.
double WordX(const QString& pdf, const QString& word, double* y = nullptr)
{
    double x = 0, top = 0;
    if (!PdfWordAt(pdf, word, x, top))
        return -1;
    if (y)
        *y = top;
    return x;
}

// Two lines of the invoice sample's table and some fields, names in either case.
QStringList InvoiceValues()
{
    return {"DETALLE[1,1]=3",   "DETALLE[1,2]=125.50", "detalle[2,1]=10", "DETALLE[2,2]=8.75",
            "cliente=Constructora del Valle", "RFC=CVA980512KJ3", "CONTADO=1"};
}

QStringList With(QStringList args, const QStringList& more)
{
    args << more;
    return args;
}

}  // namespace

TEST(CliWords, PrintsTheAmountInWordsOnOneLine)
{
    const std::pair<QString, QString> cases[] = {
        {"1999.99", "UN MIL NOVECIENTOS NOVENTA Y NUEVE PESOS 99/100 M.N.\n"},
        {"100", "CIEN PESOS 00/100 M.N.\n"},
        {"-5", "MENOS CINCO PESOS 00/100 M.N.\n"},
        {"$1,500.00", "UN MIL QUINIENTOS PESOS 00/100 M.N.\n"},
        {" 1 ", "UN PESO 00/100 M.N.\n"},
        {"1000000000000", "Numero fuera de rango!\n"},
    };
    for (const auto& [amount, words] : cases) {
        const CliResult r = Cli({"words", amount});
        EXPECT_EQ(r.exitCode, 0) << amount.toStdString();
        EXPECT_EQ(r.out, words) << amount.toStdString();
    }
    ExpectRefusal(Cli({"words", "12,50"}), "12,50");
    EXPECT_EQ(Cli({"words"}).exitCode, 2);
    EXPECT_EQ(Cli({"words", "1", "2"}).exitCode, 2);
}

TEST(CliCalc, TypedValuesRippleToTheTotalsAndListInCaptureOrder)
{
    const CliResult r = Cli(With({"calc", Sample("Factura.fmt")}, InvoiceValues()));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.first(), "CLIENTE=Constructora del Valle");
    EXPECT_TRUE(lines.contains("DETALLE[1,3]=$376.50"));
    EXPECT_TRUE(lines.contains("SUBTOTAL=464.00"));
    EXPECT_TRUE(lines.contains("IMPUESTO=74.24"));
    EXPECT_TRUE(lines.contains("TOTAL=538.24"));
    EXPECT_TRUE(lines.contains("IMPORTE CON LETRA=QUINIENTOS TREINTA Y OCHO PESOS 24/100 M.N."));
    EXPECT_TRUE(lines.contains("CONTADO=1"));
    EXPECT_TRUE(lines.contains("CREDITO=0"));
    EXPECT_FALSE(lines.contains("DETALLE[3,1]=0.00")) << "rows never typed print nothing";
}

TEST(CliCalc, RefusesWhatATypistCouldNotEnter)
{
    const QString fmt = Sample("Factura.fmt");
    ExpectRefusal(Cli({"calc", fmt, "NADIE=1"}), "NADIE");
    ExpectRefusal(Cli({"calc", fmt, "CONTADO=si"}), "CONTADO");
    ExpectRefusal(Cli({"calc", fmt, "DETALLE[13,1]=1"}), "[13,1]");
    ExpectRefusal(Cli({"calc", fmt, "TOTAL[1,1]=1"}), "TOTAL");
    ExpectRefusal(Cli({"calc", fmt, "DETALLE[1,1]=mucho"}), "DETALLE");
    // A value a calculation reads must be an amount; the amount is written as shown.
    ExpectRefusal(Cli({"calc", fmt, "SUBTOTAL=abc"}), "«abc» no es una cantidad");
    ExpectRefusal(Cli({"calc", fmt, "TOTAL=1000000000000"}), "demasiado grande");
    const CliResult shown = Cli({"calc", fmt, "SUBTOTAL=$1,000.00"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains("IMPUESTO=160.00\n")) << shown.out.toStdString();
    ExpectRefusal(Cli({"calc", Sample("no-existe.fmt")}), "no-existe.fmt");
    EXPECT_EQ(Cli({"calc", fmt, "--verbose"}).exitCode, 2);
    EXPECT_EQ(Cli({"calc"}).exitCode, 2);
    EXPECT_EQ(Cli({"calc", fmt, "sin-igual"}).exitCode, 2);
}

TEST(CliCap, ACaptureSavedAndShownGivesTheSameValues)
{
    QTemporaryDir dir;
    const QString cap = dir.filePath("venta.cap");
    ASSERT_EQ(Cli(With({"cap", Sample("Factura.fmt"), cap}, InvoiceValues())).exitCode, 0);
    EXPECT_TRUE(Read(cap).startsWith(QByteArray("\x0b" "Factura.fmt")));

    const CliResult calc = Cli(With({"calc", Sample("Factura.fmt")}, InvoiceValues()));
    const CliResult show = Cli({"show", Sample("Factura.fmt"), cap});
    ASSERT_EQ(show.exitCode, 0) << show.err.toStdString();
    EXPECT_EQ(show.out, calc.out);

    ExpectRefusal(Cli({"show", Sample("ChequeNominativo.fmt"), cap}),
                  "El archivo seleccionado es del tipo Factura.fmt y no del formato ChequeNominativo.fmt actual");

    // A command that cannot write its file leaves nothing behind.
    ExpectRefusal(Cli({"cap", Sample("Factura.fmt"), dir.filePath("no/hay/carpeta.cap")}), "carpeta.cap");
    EXPECT_EQ(Cli({"show", Sample("Factura.fmt"), cap}, "/dev/full").exitCode, 1);
}

TEST(CliPrint, ValuesLandAtTheirPlacesMovedByTheOffsets)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("factura.pdf");
    const QString cap = dir.filePath("venta.cap");
    ASSERT_EQ(Cli(With({"cap", Sample("Factura.fmt"), cap}, InvoiceValues())).exitCode, 0);

    const CliResult plain = Cli({"print", Sample("Factura.fmt"), pdf, "--cap", cap, "--facx", "0", "--facy", "0"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    double y0 = 0;
    const double x0 = WordX(pdf, "Constructora", &y0);
    // CLIENTE's page rectangle starts 42 mm from the left edge (a 0.2 mm inset).
    EXPECT_NEAR(x0, 422 * 72 / 254.0, 0.1);
    EXPECT_GT(WordX(pdf, "538.24"), 0) << "the calculated total is printed";

    const CliResult moved = Cli({"print", Sample("Factura.fmt"), pdf, "--cap", cap, "CLIENTE=Constructora", "--facx=100",
                           "--facy", "-50", "--paper", "a4"});
    ASSERT_EQ(moved.exitCode, 0) << moved.err.toStdString();
    double y1 = 0;
    EXPECT_NEAR(WordX(pdf, "Constructora", &y1) - x0, 10 * 72 / 25.4, 0.05);
    EXPECT_NEAR(y1 - y0, -5 * 72 / 25.4, 0.05);

    // Without --facx and --facy the offsets are the user's, from the settings store.
    QDir(dir.path()).mkpath("config/KALVOR Soft");
    QFile conf(dir.filePath("config/KALVOR Soft/Ordexa.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[Config]\nFacX=100\nFacY=-50\n");
    conf.close();
    const CliResult stored = Cli({"print", Sample("Factura.fmt"), pdf, "--cap", cap}, QString(), dir.filePath("config"));
    ASSERT_EQ(stored.exitCode, 0) << stored.err.toStdString();
    EXPECT_NEAR(WordX(pdf, "Constructora", &y1) - x0, 10 * 72 / 25.4, 0.05);
    EXPECT_NEAR(y1 - y0, -5 * 72 / 25.4, 0.05);

    ExpectRefusal(Cli({"print", Sample("Factura.fmt"), dir.filePath("no/hay/x.pdf")}), "x.pdf");
    EXPECT_EQ(Cli({"print", Sample("Factura.fmt"), pdf, "--paper", "tabloide"}).exitCode, 2);
    EXPECT_EQ(Cli({"print", Sample("Factura.fmt"), pdf, "--facx", "uno"}).exitCode, 2);
}

TEST(CliExport, ATableFilledFromTheCommandLineIsExported)
{
    QTemporaryDir dir;
    const QString txt = dir.filePath("detalle.txt");
    const CliResult r = Cli(With({"export", Sample("Factura.fmt"), "detalle", txt}, InvoiceValues()));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString text = QString::fromLatin1(Read(txt));
    EXPECT_TRUE(text.contains("376.5")) << text.toStdString();
    ExpectRefusal(Cli({"export", Sample("Factura.fmt"), "TOTAL", txt}), "TOTAL");
    ExpectRefusal(Cli({"export", Sample("Factura.fmt"), "DETALLE", dir.filePath("x.csv")}), "x.csv");
}
