// Ordexa: design pre-printed forms, capture their data and print it onto the paper.
#include <QApplication>
#include <QFont>

#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "app/recovery_keeper.h"
#include "platform/qt_prompts.h"
#include "platform/qt_settings_store.h"

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    COrdexaApp::ConfigureQtApplication();

    QtSettingsStore settings;
    QtPrompts prompts;
    COrdexaApp app(settings, prompts);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (!app.Start(args))
        return 1;
    prompts.SetParent(app.MainFrame());
    app.StartRecovery(RecoveryKeeper::DefaultFolder());
    return qapp.exec();
}
