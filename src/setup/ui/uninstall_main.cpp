// ordexa-desinstalar: removes an installation made by setup, as its install list says.
#include <QApplication>
#include <QTranslator>

#include "platform/qt_locale.h"
#include "platform/qt_prompts.h"
#include "setup/ui/setup_art.h"
#include "setup/ui/uninstaller.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ordexa"));
    QApplication::setWindowIcon(SetupArt::InstallerIcon());
    // Qt's own buttons ("Sí", "No") in Spanish.
    QTranslator qtTranslator;
    InstallQtSpanishTranslations(qtTranslator);
    QtPrompts prompts;
    return RunUninstaller(QApplication::applicationDirPath(), prompts) ? 0 : 1;
}
