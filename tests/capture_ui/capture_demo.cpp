// Opens a format on the capture screen inside the program's main window, types a few
// values as a clerk would (the first plain text line, the first check mark, a row of the
// first table) and saves a picture of the window:
//   capture_demo FORMAT.fmt OUT.png [seconds to stay open] [table cell ...]
// The table cells (default "2" and "150.50") are typed from the row's first column on.
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
#include "capture/ui/margenes_dlg.h"
#include "model/textline_var.h"

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
    bool checked = false;
    bool named = false;
    bool tableDone = false;
    QStringList cells;
    for (int i = 4; i < argc; ++i)
        cells << QString::fromUtf8(argv[i]);
    if (cells.isEmpty())
        cells << QStringLiteral("2") << QStringLiteral("150.50");
    for (CControles* element : session.ControlsInCaptureOrder()) {
        QWidget* w = view->ControlWidget(kFirstControlId + element->m_order);
        w->setFocus();
        QTest::qWait(20);
        if (element->m_kind == kKindGrid && !tableDone) {
            for (const QString& cell : cells) {
                TypeKeys(cell);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            tableDone = true;
        } else if (element->m_kind == kKindTextlineVar && !named &&
                   static_cast<CTextlineVar*>(element)->m_formula.empty()) {
            TypeKeys(QStringLiteral("Juan Perez Lopez"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            named = true;
        } else if (element->m_kind == kKindMarcaVar && !checked) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            checked = true;
        }
    }
    if (QWidget* w = view->ControlWidget(session.FirstControlId()))
        w->setFocus();
    QTest::qWait(300);
    app.MainFrame()->grab().save(QString::fromUtf8(argv[2]));
    // The margins dialog over it, beside the picture ("-margenes" before ".png").
    {
        CMargenesDlg margins(PrintOffsets{28, -50}, prompts, app.MainFrame());
        margins.show();
        QTest::qWait(200);
        QString name = QString::fromUtf8(argv[2]);
        name.replace(QStringLiteral(".png"), QStringLiteral("-margenes.png"));
        margins.grab().save(name);
    }
    const int stay = argc > 3 ? std::atoi(argv[3]) : 0;
    if (stay > 0)
        QTest::qWait(stay * 1000);
    session.MarkSaved();
    app.MainFrame()->hide();
    return 0;
}
