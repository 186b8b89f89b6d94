// ordexa-cli print --csv: one page per data row into one PDF; a header naming no field
// writes nothing; a refused row is named on standard error while the others print.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli_support.h"

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int Pages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(20000);
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QByteArray PageText(const QString& pdf, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf, "-"});
    p.waitForFinished(20000);
    return p.readAllStandardOutput();
}

}  // namespace

TEST(CliBatch, PrintsOnePagePerRowAndNamesTheRowsLeftOut)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("facturas.csv");
    const QString pdf = dir.filePath("lote.pdf");
    Write(csv, "Cliente,Total,\"DETALLE[1,1]\",\"detalle[1,2]\"\n"
               "Rosa,,2,10\n"
               "Pedro,,x,10\n"
               "Luz,,1,3\n");
    CliRun run = RunCli({"print", Sample("Factura.fmt"), pdf, "--csv", csv, "--facx", "0", "--facy", "0"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
    EXPECT_TRUE(run.err.contains("renglón 3")) << run.err.constData();
    EXPECT_TRUE(run.err.contains("«x»")) << run.err.constData();
    ASSERT_EQ(Pages(pdf), 2);
    EXPECT_TRUE(PageText(pdf, 1).contains("Rosa"));
    EXPECT_TRUE(PageText(pdf, 1).contains("VEINTITRES PESOS 20/100 M.N."));
    EXPECT_TRUE(PageText(pdf, 2).contains("Luz"));
    EXPECT_FALSE(PageText(pdf, 2).contains("Rosa"));

    // Every row good: exit 0, standard error silent.
    Write(csv, "Cliente;RFC\nRosa;AAA\nLuz;BBB\n");
    run = RunCli({"print", Sample("Factura.fmt"), pdf, "--csv", csv, "--paper", "a4", "--facx", "0", "--facy", "0"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
    EXPECT_EQ(Pages(pdf), 2);

    // Columns that name no field are left out, named once; the exit status stays 0.
    Write(csv, "ID;Cliente;Nota\n1;Rosa;x\n2;Luz;y\n");
    run = RunCli({"print", Sample("Factura.fmt"), pdf, "--csv", csv, "--facx", "0", "--facy", "0"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
    EXPECT_TRUE(run.err.contains("«ID» y «Nota»")) << run.err.constData();
    EXPECT_EQ(Pages(pdf), 2);
}

TEST(CliBatch, AHeaderNamingNoFieldWritesNothing)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("otra.csv");
    const QString pdf = dir.filePath("lote.pdf");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"no field", "Producto,Existencia\nTornillo,10\n", "no nombra ningún campo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(csv, c.bytes);
        const CliRun run = RunCli({"print", Sample("Factura.fmt"), pdf, "--csv", csv});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.constData();
        EXPECT_FALSE(QFile::exists(pdf));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
    }
}

TEST(CliBatch, UsageErrors)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("lote.pdf");
    for (const QStringList& args : {QStringList{"print", Sample("Factura.fmt"), pdf, "--csv"},
                                    QStringList{"print", Sample("Factura.fmt"), pdf, "--csv", "a.csv", "CLIENTE=x"},
                                    QStringList{"print", Sample("Factura.fmt"), pdf, "--csv", "a.csv", "--cap", "b.cap"}}) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }
    const CliRun missing = RunCli({"print", Sample("Factura.fmt"), pdf, "--csv", dir.filePath("no.csv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("no existe")) << missing.err.constData();
}
