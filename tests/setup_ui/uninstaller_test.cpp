#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include "base/prompts.h"
#include "setup/install_files.h"
#include "setup/ui/uninstaller.h"
#include "setup_fixture.h"

namespace {

// Every file and folder below `root`, relative to it.
QStringList Listing(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

class NoProgress : public InstallProgress {
public:
    void SetMaximum(int) override {}
    void Step() override {}
};

class UninstallerTest : public ::testing::Test {
protected:
    // Installs the fixture's package into `dest` as the wizard would.
    void Install()
    {
        const std::string package = fixture.Path("paquete").toStdString();
        std::string message;
        ASSERT_TRUE(WritePackage(package, fixture.Entries(), fixture.Trailer(), message)) << message;
        NoProgress progress;
        InstallReport report;
        ASSERT_TRUE(InstallFiles(dest.toStdString(), package, progress, report, message, fixture.Menus())) << message;
    }

    SetupFixture fixture;
    ScriptedPrompts prompts;
    QString dest = fixture.Path("home/ordexa");
};

}  // namespace

TEST_F(UninstallerTest, AsksThenRemovesTheInstallationAndItsMenuEntries)
{
    const QStringList menusBefore = Listing(fixture.Path("data")) + Listing(fixture.Path("config"));
    Install();
    ASSERT_TRUE(QFileInfo(dest + "/ORDEXA").isFile());
    ASSERT_NE(Listing(fixture.Path("data")) + Listing(fixture.Path("config")), menusBefore);

    prompts.QueueAnswer(true);
    EXPECT_TRUE(RunUninstaller(dest, prompts, fixture.Menus()));
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[0], "¿Desea quitar ORDEXA de su computadora?");
    EXPECT_EQ(prompts.Shown()[1], "ORDEXA se quitó de su computadora.");
    EXPECT_FALSE(QFileInfo::exists(dest));
    EXPECT_EQ(Listing(fixture.Path("data")) + Listing(fixture.Path("config")), menusBefore);
}

TEST_F(UninstallerTest, NoLeavesEverythingAndAClerksOwnFileKeepsTheFolder)
{
    Install();
    const QStringList installed = Listing(dest);
    EXPECT_FALSE(RunUninstaller(dest, prompts, fixture.Menus()));  // the scripted answer is No
    EXPECT_EQ(Listing(dest), installed);

    QFile own(dest + "/mi forma.fmt");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    // A sample the clerk edited and saved in place is the clerk's too.
    QFile edited(dest + "/vacio.fmt");
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("editado");
    edited.close();
    prompts.ClearShown();
    prompts.QueueAnswer(true);
    EXPECT_TRUE(RunUninstaller(dest, prompts, fixture.Menus()));
    EXPECT_EQ(Listing(dest), (QStringList{"mi forma.fmt", "vacio.fmt"}));
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_NE(prompts.Shown()[1].find("Se conservó un archivo que usted modificó: vacio.fmt."), std::string::npos)
        << prompts.Shown()[1];
    EXPECT_NE(prompts.Shown()[1].find("se dejó en su lugar"), std::string::npos) << prompts.Shown()[1];
}

TEST_F(UninstallerTest, WithoutAnInstallListNothingIsRemovedAndTheClerkIsTold)
{
    QDir().mkpath(dest);
    QFile file(dest + "/ORDEXA");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(RunUninstaller(dest, prompts, fixture.Menus()));
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].find("no se quitó nada"), std::string::npos) << prompts.Shown()[0];
    EXPECT_TRUE(QFileInfo::exists(dest + "/ORDEXA"));
}
