// setup: the installer. The package it installs is appended to this very executable.
#include <QApplication>
#include <QTranslator>

#include "platform/qt_locale.h"
#include "platform/qt_prompts.h"
#include "setup/temp_file_name.h"
#include "setup/ui/quit_on_signal.h"
#include "setup/ui/setup_art.h"
#include "setup/ui/setup_window.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Setup"));
    QApplication::setWindowIcon(SetupArt::InstallerIcon());
    // Qt's own buttons ("Sí", "No") in Spanish.
    QTranslator qtTranslator;
    InstallQtSpanishTranslations(qtTranslator);

    QtPrompts prompts;
    SetupSource source;
    source.exePath = QApplication::applicationFilePath().toStdString();
    source.tempFolder = SystemTempFolder();
    source.menus = MenuLocations::FromEnvironment();
    CSetupWindow window(prompts, source);
    prompts.SetParent(&window);
    window.show();
    // The window, and with it the temporary files, must go even when the installer is
    // stopped from outside.
    QuitEventLoopOnTerminationSignals(&app);
    return app.exec();
}
