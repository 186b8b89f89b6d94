#include "setup_fixture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include "setup/payload_writer.h"

namespace {

std::vector<uint8_t> Bytes(const QByteArray& data)
{
    return std::vector<uint8_t>(data.begin(), data.end());
}

// An 8-bit palette picture, as the shipped package holds: blue above, white below.
std::vector<uint8_t> PaletteBmp()
{
    QImage image(40, 40, QImage::Format_Indexed8);
    image.setColorTable({qRgb(0, 64, 255), qRgb(255, 255, 255)});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, y < 20 ? 0 : 1);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return Bytes(data);
}

}  // namespace

SetupFixture::SetupFixture()
{
    m_root = QDir(m_dir.path()).canonicalPath();
    for (const char* folder : {"home", "tmp", "data", "config"})
        QDir(m_root).mkpath(folder);
    // ExpandHomeFolder and the tree's desktop read HOME.
    m_realHome = qgetenv("HOME");
    setenv("HOME", Home().toLocal8Bit().constData(), 1);
}

SetupFixture::~SetupFixture()
{
    setenv("HOME", m_realHome.constData(), 1);
}

std::vector<PackageEntry> SetupFixture::Entries() const
{
    std::vector<PackageEntry> entries;
    entries.push_back({"ORDEXA", {}, Bytes("#!/bin/sh\necho ordexa\n")});
    entries.push_back({"ordexa-cli", {}, Bytes("#!/bin/sh\necho cli\n")});
    entries.push_back({"indice.html", {}, Bytes("<html><body>Ayuda</body></html>")});
    entries.push_back({"Declaracion general 5.fmt", {}, std::vector<uint8_t>(70000, 0x5A)});
    entries.push_back({"vacio.fmt", {}, {}});
    return entries;
}

PackageTrailer SetupFixture::Trailer() const
{
    PackageTrailer trailer;
    trailer.productName = "ORDEXA";
    trailer.description = "ORDEXA imprime sus datos sobre formas preimpresas.\r\nDiseñe la forma una vez y capture.";
    trailer.defaultFolder = "~/ordexa";
    trailer.picture = PaletteBmp();
    trailer.licenceText = "LICENCIA DE USO\r\n\r\nPrimera cláusula.\r\nSegunda cláusula.";
    return trailer;
}

QString SetupFixture::MakeInstaller(const std::vector<uint8_t>& packageBytes, const QString& name)
{
    const QString package = Path(name + ".paquete");
    const QString zip = Path(name + ".zip");
    const QString wizard = Path(name + ".wizard");
    const QString exe = Path(name);
    {
        QFile file(package);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(packageBytes.data()), qint64(packageBytes.size()));
        QFile stand(wizard);
        EXPECT_TRUE(stand.open(QIODevice::WriteOnly));
        stand.write(QByteArray(4096, '\x7f'));
    }
    std::string message;
    EXPECT_TRUE(BuildPayloadZip(package.toStdString(), zip.toStdString(), message)) << message;
    EXPECT_TRUE(AppendPayload(wizard.toStdString(), zip.toStdString(), exe.toStdString(), message)) << message;
    return exe;
}

QString SetupFixture::MakeInstaller()
{
    return MakeInstaller(BuildPackageBytes(Entries(), Trailer()));
}

MenuLocations SetupFixture::Menus() const
{
    MenuLocations menus;
    menus.dataHome = Path("data").toStdString();
    menus.configHome = Path("config").toStdString();
    menus.refreshDesktopCaches = false;
    return menus;
}

SetupSource SetupFixture::Source(const QString& exePath) const
{
    return SetupSource{exePath.toStdString(), TempFolder().toStdString() + "/", Menus()};
}

bool WaitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}
