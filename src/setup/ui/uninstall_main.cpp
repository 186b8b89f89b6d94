// ordexa-desinstalar: removes an installation made by setup, as its install list says.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/qt_prompts.h"
#include "setup/ui/setup_art.h"
#include "setup/ui/uninstaller.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ordexa"));
    QApplication::setWindowIcon(SetupArt::InstallerIcon());
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Spanish, QLocale::Mexico), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    QtPrompts prompts;
    return RunUninstaller(QApplication::applicationDirPath(), prompts) ? 0 : 1;
}
