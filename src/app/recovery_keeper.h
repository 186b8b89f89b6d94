#pragma once
// Keeps a recovery copy of every window that holds unsaved work, and offers the copies
// a run left behind when it did not end normally.
//
// A copy is written a couple of seconds after the clerk stops typing or clicking, and
// at the latest 5 seconds after the first change while they go on; the file is written
// by a thread of its own, so a slow disk never holds up typing. The copy goes when the
// window saves or is closed on purpose. When copies cannot be written the program goes
// on without them and says so once.
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/recovery_dialog.h"
#include "capture/recovery_store.h"

class CChildFrame;
class COrdexaApp;
class Prompts;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kQuietMs = 2000;   // after the last change
    static constexpr int kLatestMs = 5000;  // after the first change not yet kept

    static constexpr const char* kOffMessage =
        "Ordexa no puede guardar copias de recuperación. %s Puede seguir trabajando, pero si el programa o el "
        "equipo se detienen de golpe se perderá lo que no haya guardado.";
    static constexpr const char* kRecoveredStatus =
        "Trabajo recuperado de la copia del %s: aún no está guardado.";

    // Answers the start-up question; the dialog in the program, a script in tests.
    using Chooser = std::function<RecoveryDialog::Choice(const std::vector<RecoveryStore::LeftCopy>&)>;

    RecoveryKeeper(COrdexaApp& app, Prompts& prompts);
    ~RecoveryKeeper() override;

    // The "recuperacion" folder in the clerk's own state folder.
    static std::string DefaultFolder();
    void SetChooser(Chooser chooser) { m_chooser = std::move(chooser); }

    // Opens the folder (or says once that recovery is off), offers the copies of runs
    // that did not end normally, and from then on keeps copies of the open windows.
    void Start(const std::string& folder);
    // A window to keep copies of while it holds unsaved work.
    void Watch(CChildFrame* frame);

    bool IsOn() const { return m_on; }
    const RecoveryStore& Store() const { return m_store; }
    // Writes or removes every window's copy as its work stands, and waits until the
    // files are written (the timers do the same without waiting).
    void KeepNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Kept {
        std::string name;  // file name in this run's folder
        bool written = false;
        RecoveryCopy last;  // what the file holds (its time aside)
    };

    void Offer();
    void Recover(const std::vector<RecoveryStore::LeftCopy>& copies);
    void Check(CChildFrame* frame);
    // Writes the frame's copy now, on this thread; false when it could not be kept.
    bool KeepAtOnce(CChildFrame* frame);
    void Forget(QObject* frame);
    void Queue(std::function<void()> task);
    void TurnOff(const std::string& problem);

    COrdexaApp& m_app;
    Prompts& m_prompts;
    Chooser m_chooser;
    RecoveryStore m_store;
    QThreadPool m_writer;  // one thread: writes and removals land in the order queued
    QTimer m_quiet;
    QTimer m_latest;
    std::map<QObject*, Kept> m_kept;
    int m_nextNumber = 1;
    bool m_on = false;
    bool m_offTold = false;
};
