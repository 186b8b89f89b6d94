#include "app/recovery_keeper.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QStandardPaths>
#include <QStatusBar>

#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "base/prompts.h"
#include "platform/child_frame.h"

namespace {

std::string Filled(const char* pattern, const std::string& value)
{
    std::string text = pattern;
    const size_t at = text.find("%s");
    return at == std::string::npos ? text : text.replace(at, 2, value);
}

std::string TimeText(int64_t seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("dd/MM/yyyy HH:mm")).toStdString();
}

const char* FilePrefix(FrameMode mode)
{
    switch (mode) {
    case FrameMode::Design:
        return "diseno";
    case FrameMode::ScreenLayout:
        return "pantalla";
    case FrameMode::Capture:
        break;
    }
    return "captura";
}

bool SameWork(const RecoveryCopy& a, const RecoveryCopy& b)
{
    return a.mode == b.mode && a.payload == b.payload && a.sourcePath == b.sourcePath &&
           a.capturePath == b.capturePath && a.formatHash == b.formatHash;
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(COrdexaApp& app, Prompts& prompts) : m_app(app), m_prompts(prompts)
{
    m_writer.setMaxThreadCount(1);
    m_quiet.setSingleShot(true);
    m_latest.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    m_latest.setInterval(kLatestMs);
    connect(&m_quiet, &QTimer::timeout, this, [this] {
        m_latest.stop();
        for (auto& [frame, kept] : m_kept)
            Check(static_cast<CChildFrame*>(frame));
    });
    connect(&m_latest, &QTimer::timeout, this, [this] {
        m_quiet.stop();
        for (auto& [frame, kept] : m_kept)
            Check(static_cast<CChildFrame*>(frame));
    });
    m_chooser = [this](const std::vector<RecoveryStore::LeftCopy>& copies) {
        RecoveryDialog dialog(copies, m_app.MainFrame());
        return dialog.Ask();
    };
}

RecoveryKeeper::~RecoveryKeeper()
{
    qApp->removeEventFilter(this);
    m_writer.waitForDone();
    m_store.Close();
}

std::string RecoveryKeeper::DefaultFolder()
{
    return (QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recuperacion"))
        .toStdString();
}

void RecoveryKeeper::Start(const std::string& folder)
{
    std::string problem;
    m_on = m_store.Open(folder, problem);
    if (!m_on)
        TurnOff(problem);
    else
        Offer();
    for (CChildFrame* frame : m_app.MainFrame()->Children())
        Watch(frame);
    qApp->installEventFilter(this);
}

void RecoveryKeeper::Offer()
{
    RecoveryStore::Leftovers left = m_store.ClaimLeftovers(QDateTime::currentSecsSinceEpoch());
    if (!left.refused.empty()) {
        std::string text = "Se apartaron archivos de la carpeta de recuperación que no se pueden usar:";
        for (const RecoveryStore::Refused& refused : left.refused)
            text += "\n\"" + refused.file + "\": " + refused.reason;
        text += "\nQuedaron en \"" + m_store.Folder() + "/" + RecoveryStore::kAsideFolder + "\".";
        m_prompts.Message(text, PromptIcon::Warning);
    }
    if (!left.copies.empty()) {
        for (;;) {
            const RecoveryDialog::Choice choice = m_chooser(left.copies);
            if (choice == RecoveryDialog::Choice::Recover) {
                Recover(left.copies);
            } else if (choice == RecoveryDialog::Choice::Discard) {
                if (!m_prompts.AskYesNo("¿Desea descartar el trabajo no guardado? Se perderá para siempre."))
                    continue;
                for (const RecoveryStore::LeftCopy& copy : left.copies)
                    RecoveryStore::Resolve(copy);
            }
            break;
        }
    }
    m_store.ReleaseLeftovers(left);
}

void RecoveryKeeper::Recover(const std::vector<RecoveryStore::LeftCopy>& copies)
{
    std::string notes;
    int recovered = 0;
    for (const RecoveryStore::LeftCopy& left : copies) {
        const RecoveryCopy& copy = left.copy;
        CChildFrame* frame = nullptr;
        switch (copy.mode) {
        case RecoveryMode::Capture:
            frame = m_app.OpenForCapture(copy.sourcePath);
            break;
        case RecoveryMode::Design:
            frame = m_app.NewDesign();
            break;
        case RecoveryMode::ScreenLayout:
            frame = m_app.OpenForScreenLayout(copy.sourcePath);
            break;
        }
        std::string message;
        if (!frame || !frame->RestoreWork(copy, message)) {
            // The work stays in its copy, offered again at the next start.
            notes += "\nNo se pudo recuperar " + RecoveryDialog::FileText(copy).toStdString() + ": " +
                     (message.empty() ? std::string("no se pudo abrir su formato.") : message) +
                     " La copia se conserva para la próxima vez.";
            if (frame && frame->parentWidget())
                frame->parentWidget()->close();
            else if (frame)
                frame->close();
            continue;
        }
        if (!message.empty())
            notes += "\n" + message;
        m_app.MainFrame()->FitChild(frame);
        frame->statusBar()->showMessage(QString::fromStdString(Filled(kRecoveredStatus, TimeText(copy.savedAtSeconds))));
        Watch(frame);
        // The old copy goes only once this run keeps the work in a copy of its own.
        if (KeepAtOnce(frame))
            RecoveryStore::Resolve(left);
        ++recovered;
    }
    std::string text;
    if (recovered > 0)
        text = "Se recuperó el trabajo sin guardar de " + std::to_string(recovered) +
               (recovered == 1 ? " ventana" : " ventanas") +
               ". Revíselo y guárdelo: los archivos originales no han cambiado.";
    if (!text.empty() || !notes.empty())
        m_prompts.Message(text + notes, notes.empty() ? PromptIcon::Information : PromptIcon::Warning);
}

void RecoveryKeeper::Watch(CChildFrame* frame)
{
    if (!frame || m_kept.count(frame))
        return;
    Kept& kept = m_kept[frame];
    kept.name = std::string(FilePrefix(frame->Mode())) + "-" + std::to_string(m_nextNumber++) + ".rec";
    connect(frame, &QObject::destroyed, this, &RecoveryKeeper::Forget);
    connect(frame, &CChildFrame::workSaved, this, &RecoveryKeeper::Check);
}

void RecoveryKeeper::KeepNow()
{
    m_quiet.stop();
    m_latest.stop();
    for (auto& [frame, kept] : m_kept)
        Check(static_cast<CChildFrame*>(frame));
    m_writer.waitForDone();
}

void RecoveryKeeper::Check(CChildFrame* frame)
{
    const auto found = m_kept.find(frame);
    if (found == m_kept.end())
        return;
    Kept& kept = found->second;
    std::optional<RecoveryCopy> work = frame->UnsavedWork();
    if (!work) {
        if (kept.written)
            Queue([this, name = kept.name] { m_store.Remove(name); });
        kept.written = false;
        kept.last = RecoveryCopy{};
        return;
    }
    if (!m_on || (kept.written && SameWork(kept.last, *work)))
        return;
    work->savedAtSeconds = QDateTime::currentSecsSinceEpoch();
    std::vector<uint8_t> bytes = EncodeRecoveryCopy(*work);
    kept.last = std::move(*work);
    kept.written = true;
    Queue([this, name = kept.name, bytes = std::move(bytes)] {
        std::string problem;
        if (!m_store.Write(name, bytes, problem))
            QMetaObject::invokeMethod(this, [this, problem] { TurnOff(problem); }, Qt::QueuedConnection);
    });
}

bool RecoveryKeeper::KeepAtOnce(CChildFrame* frame)
{
    Kept& kept = m_kept[frame];
    std::optional<RecoveryCopy> work = frame->UnsavedWork();
    if (!m_on || !work)
        return false;
    work->savedAtSeconds = QDateTime::currentSecsSinceEpoch();
    m_writer.waitForDone();
    std::string problem;
    if (!m_store.Write(kept.name, EncodeRecoveryCopy(*work), problem)) {
        TurnOff(problem);
        return false;
    }
    kept.last = std::move(*work);
    kept.written = true;
    return true;
}

void RecoveryKeeper::Forget(QObject* frame)
{
    const auto found = m_kept.find(frame);
    if (found == m_kept.end())
        return;
    // Closed on purpose: the clerk saved the work or chose not to.
    if (found->second.written)
        Queue([this, name = found->second.name] { m_store.Remove(name); });
    m_kept.erase(found);
}

void RecoveryKeeper::Queue(std::function<void()> task)
{
    m_writer.start(std::move(task));
}

void RecoveryKeeper::TurnOff(const std::string& problem)
{
    m_on = false;
    if (m_offTold)
        return;
    m_offTold = true;
    m_prompts.Message(Filled(kOffMessage, problem), PromptIcon::Warning);
}

bool RecoveryKeeper::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::InputMethod:
        if (!m_kept.empty()) {
            m_quiet.start();
            if (!m_latest.isActive())
                m_latest.start();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
