// Opens a format on the capture screen inside the program's main window, types a few
// values as a clerk would (a name, a table row) and saves a picture of the window:
//   capture_demo FORMAT.fmt OUT.png [seconds to stay open]
// Run it under a real display (Xvfb) to look at the capture screen.
#include <QApplication>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "capture/ui/fmtcaptura_frm.h"
#include "capture/ui/fmtcapture_view.h"

namespace {

void TypeKeys(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClicks(QApplication::focusWidget(), QString(c));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "uso: capture_demo FORMATO.fmt SALIDA.png [segundos]\n");
        return 2;
    }
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    COrdexaApp app(settings, prompts);
    app.Start({}, true);
    app.MainFrame()->resize(1200, 860);
    auto* frame = static_cast<CFmtcapturaFrm*>(app.OpenForCapture(argv[1]));
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame->parentWidget()))
        sub->showMaximized();
    QTest::qWait(300);
    CFmtcaptureView* view = frame->View();
    CaptureSession& session = view->Session();
    // The name, the first check mark and a row of the table are typed in.
    bool checked = false;
    for (CControles* element : session.ControlsInCaptureOrder()) {
        QWidget* w = view->ControlWidget(kFirstControlId + element->m_order);
        w->setFocus();
        QTest::qWait(20);
        if (element->m_kind == kKindGrid) {
            for (const char* cell : {"2", "Tablas de pino", "150.50"}) {
                TypeKeys(QString::fromUtf8(cell));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } else if (element->m_kind == kKindTextlineVar && element->m_text == "NOMBRE") {
            TypeKeys(QStringLiteral("Juan Perez Lopez"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (element->m_kind == kKindMarcaVar && !checked) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            checked = true;
        }
    }
    if (QWidget* w = view->ControlWidget(session.FirstControlId()))
        w->setFocus();
    QTest::qWait(300);
    app.MainFrame()->grab().save(QString::fromUtf8(argv[2]));
    const int stay = argc > 3 ? std::atoi(argv[3]) : 0;
    if (stay > 0)
        QTest::qWait(stay * 1000);
    session.MarkSaved();
    app.MainFrame()->hide();
    return 0;
}
