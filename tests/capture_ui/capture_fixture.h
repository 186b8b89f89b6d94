#pragma once
// A capture frame of the sample invoice opened through the application, on the offscreen
// platform, with in-memory settings and prompts, and helpers that answer the modal
// dialogs the frame opens (message boxes, file dialogs, the margins dialog) with real
// keys and clicks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "capture/ui/fmtcaptura_frm.h"
#include "capture/ui/fmtcapture_view.h"
#include "platform/calc_edit.h"

// Runs `answer` on the first modal dialog that opens after this call (polling, since the
// dialog's own event loop is what runs the timer). Gives up after two seconds.
inline void WhenModalOpens(std::function<void(QWidget*)> answer)
{
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        } else if (++*tries > 200) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// Puts a path into the file dialog's name field and clicks its accept button (typed
// keys would open the name completer's popup, which the offscreen platform cannot grab).
inline void AnswerFileDialog(const QString& path)
{
    WhenModalOpens([path](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_TRUE(name && buttons);
        name->setText(path);
        QAbstractButton* accept = buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                                                 : QDialogButtonBox::Open);
        ASSERT_NE(accept, nullptr);
        QTest::mouseClick(accept, Qt::LeftButton);
    });
}

// Runs what the event loop would: posted events and the deletion of closed frames.
inline void Settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class CaptureFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(app.Start({}, false));
        app.MainFrame()->resize(1100, 800);
        app.MainFrame()->show();
        frame = static_cast<CFmtcapturaFrm*>(app.OpenForCapture(SamplePath("factura_sencilla.fmt")));
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(prompts.Shown().empty()) << prompts.Shown().front();
        view = frame->View();
        QApplication::setActiveWindow(app.MainFrame());
        ASSERT_TRUE(QTest::qWaitForWindowActive(app.MainFrame()));
        Settle();
    }
    void TearDown() override
    {
        // Nothing asks on the way out of a test.
        for (CChildFrame* child : app.MainFrame()->Children())
            if (auto* capture = dynamic_cast<CFmtcapturaFrm*>(child))
                capture->View()->Session().MarkSaved();
        // Closed while alive: a shown main frame that hides its workspace during its own
        // destruction would tell itself about the last child on its way out.
        app.MainFrame()->MdiArea()->closeAllSubWindows();
        app.MainFrame()->hide();
        QApplication::processEvents();
    }

    static std::string SamplePath(const char* name) { return std::string(ORDEXA_SAMPLES) + "/" + name; }
    std::string TempPath(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }

    CControles* Element(const char* name) { return view->Session().FindVariable(name); }
    int Id(const char* name) { return kFirstControlId + Element(name)->m_order; }
    QWidget* Control(const char* name) { return view->ControlWidget(Id(name)); }
    QString Text(const char* name)
    {
        auto* edit = qobject_cast<QLineEdit*>(Control(name));
        return edit ? edit->text() : QString();
    }
    // Clicks into a field, replaces its text by typing, and leaves it with Enter.
    void TypeInto(const char* name, const QString& text)
    {
        QWidget* w = Control(name);
        w->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->selectAll();
        QTest::keyClicks(w, text);
        QTest::keyClick(w, Qt::Key_Return);
    }
    int FocusedId() const
    {
        QWidget* focus = QApplication::focusWidget();
        if (!focus)
            focus = app.MainFrame()->focusWidget();
        for (QWidget* w = focus; w; w = w->parentWidget())
            if (const int id = EntryControlId(w))
                return id;
        return 0;
    }

    QTemporaryDir dir;
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    COrdexaApp app{settings, prompts};
    CFmtcapturaFrm* frame = nullptr;
    CFmtcaptureView* view = nullptr;
};
