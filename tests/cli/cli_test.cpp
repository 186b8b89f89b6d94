// ordexa-cli as a script sees it: exit codes, one-line errors, JSON, and files written
// completely or not at all.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "cli_support.h"

namespace {

CliRun Cli(const QStringList& args)
{
    return RunCli(args);
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(CliResave, SamplesWrittenByAnotherToolComeBackByteForByte)
{
    QTemporaryDir dir;
    for (const char* name : {"factura_sencilla.fmt", "cheque.fmt", "declaracion.fmt", "boleta.fmt", "vacio.fmt",
                             "Factura.fmt", "ChequeNominativo.fmt", "DeclaracionAnual.fmt", "BoletaBimestral.fmt"}) {
        const QString out = dir.filePath(name);
        const CliRun r = Cli({"resave", Sample(name), out});
        EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err.constData();
        EXPECT_EQ(Read(out), Read(Sample(name))) << name;
    }
}

TEST(CliResave, RenumberingGivesVariablesOneToNInFileOrder)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("f.fmt");
    ASSERT_EQ(Cli({"resave", Sample("factura_sencilla.fmt"), out, "--renumber"}).exitCode, 0);
    const CliRun r = Cli({"dump", out});
    ASSERT_EQ(r.exitCode, 0);
    const QJsonArray elements = QJsonDocument::fromJson(r.out).object()["elements"].toArray();
    int next = 1;
    for (const auto& v : elements) {
        const QJsonObject e = v.toObject();
        const int kind = e["kind"].toInt();
        if (kind <= 4) {
            EXPECT_EQ(e["order"].toInt(), next++) << e["text"].toString().toStdString();
        } else if (kind != 10) {
            EXPECT_EQ(e["order"].toInt(), 0) << e["text"].toString().toStdString();
        }
    }
    EXPECT_GT(next, 5);
}

TEST(CliDump, ShowsEveryKindsOwnFieldsInFileOrder)
{
    const CliRun r = Cli({"dump", Sample("factura_sencilla.fmt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonObject doc = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(doc["title"].toString(), QStringLiteral("Factura\r\nMaderas y Herrajes del Bajío"));
    const QJsonArray elements = doc["elements"].toArray();
    ASSERT_GE(elements.size(), 10);
    const QJsonObject label = elements[0].toObject();
    EXPECT_EQ(label["kindName"].toString(), QStringLiteral("Etiqueta"));
    EXPECT_TRUE(label["screenPlaced"].toBool());
    EXPECT_EQ(label["align"].toInt(), 8);
    bool sawGrid = false, sawBoxes = false, sawFormula = false;
    for (const auto& v : elements) {
        const QJsonObject e = v.toObject();
        if (e["kind"].toInt() == 4) {
            sawGrid = true;
            EXPECT_EQ(e["columns"].toArray().size(), 4);
            EXPECT_EQ(e["columns"].toArray()[3].toObject()["formula"].toString(), "C1*C3");
            EXPECT_EQ(e["rows"].toArray().size(), 14);
        }
        if (e["kind"].toInt() == 2) {
            sawBoxes = true;
            EXPECT_EQ(e["boxCount"].toInt(), 8);
        }
        if (e["text"].toString() == "IVA") {
            sawFormula = true;
            EXPECT_EQ(e["formula"].toString(), "SUBTOTAL*0.16");
        }
    }
    EXPECT_TRUE(sawGrid && sawBoxes && sawFormula);
}

TEST(CliRefusals, BadInputExitsOneWithOneLineNamingTheFileAndOffset)
{
    QTemporaryDir dir;
    const QByteArray good = Read(Sample("cheque.fmt"));
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    QByteArray hugeString("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7);
    hugeString += QByteArray(300, 'x');
    QByteArray unknownKind = good.left(good.indexOf("Cheque") + 6);
    unknownKind += QByteArray("\x01\x00\x00\x00\x0C\x00\x00\x00", 8) + QByteArray(200, '\0');
    const Case cases[] = {{"truncated", good.left(good.size() / 2)},
                          {"2^32-1 string length", hugeString},
                          {"unknown kind", unknownKind},
                          {"empty file", QByteArray()}};
    for (const Case& c : cases) {
        const QString in = dir.filePath("malo.fmt");
        Write(in, c.bytes);
        const QString out = dir.filePath("salida.fmt");
        Write(out, "previo");
        for (const QStringList& args : {QStringList{"dump", in}, QStringList{"resave", in, out}}) {
            const CliRun r = Cli(args);
            EXPECT_EQ(r.exitCode, 1) << c.name;
            EXPECT_TRUE(r.out.isEmpty()) << c.name;
            EXPECT_EQ(r.err.count('\n'), 1) << c.name << ": " << r.err.constData();
            EXPECT_TRUE(r.err.contains("malo.fmt")) << c.name;
            EXPECT_TRUE(r.err.contains("byte")) << c.name << ": " << r.err.constData();
        }
        EXPECT_EQ(Read(out), "previo") << c.name << ": the target was touched";
    }
    const CliRun missing = Cli({"dump", dir.filePath("no-existe.fmt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("no-existe.fmt"));
}

TEST(CliRefusals, UsageErrorsExitTwo)
{
    for (const QStringList& args : {QStringList{}, QStringList{"nada"}, QStringList{"dump"},
                                    QStringList{"resave", "a.fmt"}, QStringList{"resave", "a", "b", "--otro"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("uso:")) << r.err.constData();
    }
}

// Refusals a script (and the clerk behind it) can read: Spanish, one line, the file named.
TEST(CliRefusals, FileProblemsAreOneSpanishLineAndAnUnwritableOutputIsAFailure)
{
    QTemporaryDir dir;
    const CliRun missing = Cli({"dump", dir.filePath("falta.fmt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("falta.fmt\" no existe.")) << missing.err.constData();
    EXPECT_EQ(missing.err.count('\n'), 1) << missing.err.constData();

    const CliRun folder = Cli({"dump", dir.path()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(folder.err.contains("es una carpeta")) << folder.err.constData();

    Write(dir.filePath("corto.fmt"), Read(Sample("factura_sencilla.fmt")).left(40));
    const CliRun cut = Cli({"dump", dir.filePath("corto.fmt")});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_TRUE(cut.err.contains("está dañado o no es un formato de Ordexa (byte")) << cut.err.constData();

    // Saving onto a device is refused and the device stays what it was.
    const CliRun device = Cli({"resave", Sample("factura_sencilla.fmt"), "/dev/null"});
    EXPECT_EQ(device.exitCode, 1);
    EXPECT_TRUE(device.err.contains("no es un archivo común")) << device.err.constData();
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());

    // Output that cannot be written is not a success.
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(ORDEXA_CLI), {"dump", Sample("factura_sencilla.fmt")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("No se pudo escribir el resultado"));
}

namespace {

// A format of one rectangle, laid out by hand: title, count, the entry, screen extent.
QByteArray RectangleFormat(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    QByteArray b;
    const auto i32 = [&b](int32_t v) {
        for (int i = 0; i < 4; ++i)
            b.append(char(uint32_t(v) >> (8 * i)));
    };
    b.append(char(0));  // empty title
    i32(1);
    i32(8);  // rectangle
    i32(0);
    b.append(char(10)).append("Rectangulo");
    for (int32_t v : {left, top, right, bottom, 0, 0, 0, 0, 1, 0, 0, 35, 0, 0, 0, 400})
        i32(v);
    b.append(QByteArray("\0\0\0\0\3\2\1\x22", 8));
    b.append(QByteArray("Arial").leftJustified(32, '\0'));
    for (int32_t v : {0, 0, 100, 100})
        i32(v);
    return b;
}

}  // namespace

TEST(CliRender, TheDesignPictureHoldsTheLowestRectanglesLowerEdge)
{
    QTemporaryDir dir;
    const QString fmt = dir.filePath("rect.fmt");
    Write(fmt, RectangleFormat(100, -100, 400, -300));
    const QString png = dir.filePath("rect.png");
    // One pixel per 0.1 mm: the lower edge is drawn on row 300 + 50 (the design margin).
    const CliRun r = Cli({"render", fmt, png, "--dpi", "254"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QImage image(png);
    ASSERT_GT(image.height(), 351);
    int dark = 0;
    for (int x = 0; x < image.width(); ++x)
        dark += qGray(image.pixel(x, 350)) < 128;
    EXPECT_GE(dark, 290);
}

TEST(CliRender, HostileFormatsAreDrawnOrRefusedWithOneSpanishLine)
{
    QTemporaryDir dir;
    const QDir corpus(QStringLiteral(ORDEXA_FORMAT_CORPUS));
    const QStringList names = corpus.entryList({"hostile_*.fmt"}, QDir::Files);
    ASSERT_GE(names.size(), 5);
    for (const QString& name : names) {
        for (const char* mode : {"design", "screen", "print"}) {
            const QString out = dir.filePath(name + "-" + mode + ".png");
            // A run that never ends is killed by RunCli's wait and fails here as -1.
            const CliRun r = Cli({"render", corpus.filePath(name), out, "--mode", mode});
            ASSERT_TRUE(r.exitCode == 0 || r.exitCode == 1) << name.toStdString() << " " << mode;
            if (r.exitCode == 1) {
                EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
                EXPECT_TRUE(r.err.contains(name.toUtf8())) << r.err.constData();
                EXPECT_TRUE(r.err.contains("píxeles")) << r.err.constData();
                EXPECT_FALSE(QFileInfo::exists(out)) << "nothing written for a refused picture";
            } else {
                // Read only its header: a picture may exceed what Qt loads by default.
                EXPECT_TRUE(QImageReader(out).size().isValid()) << name.toStdString() << " " << mode;
            }
        }
    }
    // The text three metres from the sheet's corner is one of the refused ones.
    const CliRun far = Cli({"render", corpus.filePath("hostile_far_text.fmt"), dir.filePath("far.png")});
    EXPECT_EQ(far.exitCode, 1) << far.err.constData();
}

// A script's author finds every command with its arguments, and the version the program
// and the package carry.
TEST(CliHelp, HelpListsEveryCommandAndVersionPrintsTheProjectVersion)
{
    for (const char* option : {"--help", "-h"}) {
        const CliRun r = Cli({option});
        EXPECT_EQ(r.exitCode, 0) << option;
        for (const char* command : {"words CANTIDAD", "dump FORMATO.fmt", "render FORMATO.fmt SALIDA.png",
                                    "resave ENTRADA.fmt SALIDA.fmt", "calc FORMATO.fmt", "cap FORMATO.fmt SALIDA.cap",
                                    "show FORMATO.fmt DATOS.cap", "print FORMATO.fmt SALIDA.pdf",
                                    "calibrate SALIDA.pdf", "export FORMATO.fmt TABLA"})
            EXPECT_TRUE(r.out.contains(QByteArray("\n  ") + command)) << option << ": " << command;
    }
    const CliRun version = Cli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("ordexa-cli " ORDEXA_VERSION " ")) << version.out.constData();
}
