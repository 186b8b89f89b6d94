// ordexa-cli calibrate: the calibration sheet as a one-page PDF, printed with the offsets of
// the settings store (or the ones named), read back with pdftotext; its exit statuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli_support.h"

namespace {

constexpr double kPointsPerMm = 72 / 25.4;

// pdftotext's page size and the first place of a word, in points.
struct PdfText {
    double width = 0, height = 0;
    QString html;

    bool Find(const QString& word, double& x, double& y) const
    {
        const QRegularExpression re("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>" +
                                    QRegularExpression::escape(word) + "</word>");
        const auto m = re.match(html);
        if (!m.hasMatch())
            return false;
        x = m.captured(1).toDouble();
        y = m.captured(2).toDouble();
        return true;
    }
};

PdfText ReadPdf(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    p.waitForFinished(20000);
    PdfText text;
    text.html = QString::fromUtf8(p.readAllStandardOutput());
    const auto m = QRegularExpression("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\"").match(text.html);
    if (m.hasMatch()) {
        text.width = m.captured(1).toDouble();
        text.height = m.captured(2).toDouble();
    }
    return text;
}

}  // namespace

TEST(CalibrateCli, WritesTheSheetWithTheStoredOffsetsOnTheChosenPaper)
{
    QTemporaryDir dir;
    const QString config = dir.filePath("config");
    QDir().mkpath(config + "/KALVOR Soft");
    QFile conf(config + "/KALVOR Soft/Ordexa.conf");
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[Config]\nFacX=100\nFacY=-50\n");
    conf.close();

    struct Case {
        QStringList extra;
        double widthMm, heightMm;
        double dxMm, dyMm;  // where the first cross's label moved
        const char* lastLeftNumber;
    };
    const Case cases[] = {
        {{}, 215.9, 279.4, 10, -5, "270"},
        {{"--paper", "a4"}, 210, 297, 10, -5, "290"},
        {{"--paper=legal", "--facx", "0", "--facy", "30"}, 215.9, 355.6, 0, 3, "350"},
    };
    for (const Case& c : cases) {
        const QString pdf = dir.filePath("hoja.pdf");
        const CliRun r = RunCli(QStringList{"calibrate", pdf} + c.extra, QString(), config);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        const PdfText text = ReadPdf(pdf);
        const QString name = c.extra.join(' ');
        EXPECT_NEAR(text.width, c.widthMm * kPointsPerMm, 0.5) << name.toStdString();
        EXPECT_NEAR(text.height, c.heightMm * kPointsPerMm, 0.5) << name.toStdString();
        double x = 0, y = 0;
        ASSERT_TRUE(text.Find("calibración", x, y)) << name.toStdString();
        // The first cross's label starts 20 mm right of the sheet's edge and its top lies
        // 42 mm below the top, before the offsets move it.
        ASSERT_TRUE(text.Find("Cruz", x, y)) << name.toStdString();
        EXPECT_NEAR(x, (20 + c.dxMm) * kPointsPerMm, 1.0) << name.toStdString();
        EXPECT_NEAR(y, (42 + c.dyMm) * kPointsPerMm, 1.5) << name.toStdString();
        EXPECT_TRUE(text.html.contains(">" + QString(c.lastLeftNumber) + "<")) << name.toStdString();
    }
}

TEST(CalibrateCli, UsageErrorsAndAnUnwritableTarget)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("hoja.pdf");
    for (const QStringList& args : {QStringList{"calibrate"}, QStringList{"calibrate", pdf, "otra.pdf"},
                                    QStringList{"calibrate", pdf, "--paper", "b5"},
                                    QStringList{"calibrate", pdf, "--paper"},
                                    QStringList{"calibrate", pdf, "--facx", "diez"},
                                    QStringList{"calibrate", pdf, "--color"}}) {
        const CliRun r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("uso: ordexa-cli calibrate")) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }

    // A folder where the file should go: refused in one line, the folder left as it was.
    const QString folder = dir.filePath("carpeta");
    QDir().mkpath(folder + "/dentro");
    const CliRun r = RunCli({"calibrate", folder});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("carpeta")) << r.err.toStdString();
    EXPECT_TRUE(QDir(folder + "/dentro").exists());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0) << "no temporary file is left behind";
}
