// From the start of the program to the first paint of its main window, against a bare
// Qt main window with an MDI area started the same way. Each iteration starts this very
// program again as a child process in one of two modes and waits for it to end: the
// child runs the program's start-up (application object, settings, main frame with its
// access bar, menus, translations) or the bare window's, and leaves at once when the main
// window's first paint is done. Both children pay the same process and QApplication
// start, so the ratio shows what the program adds.
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QMainWindow>
#include <QMdiArea>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "platform/qt_prompts.h"
#include "platform/qt_settings_store.h"
#include "ratio_reporter.h"

extern char** environ;

namespace {

std::string g_self;

// Ends the child process once the window has painted for the first time. The window's
// widgets are painted in one pass (whichever of them the paint reaches first), and the
// queued exit runs after that pass; it leaves without tearing down, as the measurement
// ends at the first paint.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : m_window(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->window() == m_window) {
                m_seen = true;
                QMetaObject::invokeMethod(qApp, [] { std::_Exit(0); }, Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_seen = false;
};

int RunOrdexa(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    COrdexaApp::ConfigureQtApplication();
    QtSettingsStore settings;
    QtPrompts prompts;
    COrdexaApp app(settings, prompts);
    if (!app.Start({}, false))
        return 1;
    FirstPaint watch(app.MainFrame());
    app.MainFrame()->show();
    return qapp.exec();
}

int RunBare(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QMdiArea);
    window.resize(800, 600);
    FirstPaint watch(&window);
    window.show();
    return qapp.exec();
}

void StartChild(benchmark::State& state, const char* mode)
{
    for (auto _ : state) {
        char* args[] = {g_self.data(), const_cast<char*>("--child"), const_cast<char*>(mode), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, g_self.c_str(), nullptr, nullptr, args, environ) != 0) {
            state.SkipWithError("the child process could not start");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child process failed");
            return;
        }
    }
}

void BM_OrdexaStartToFirstPaint(benchmark::State& state)
{
    StartChild(state, "ordexa");
}

void BM_BareMdiWindowStartToFirstPaint(benchmark::State& state)
{
    StartChild(state, "bare");
}

// The parent only waits, so the time that counts is the wall clock's.
BENCHMARK(BM_OrdexaStartToFirstPaint)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(BM_BareMdiWindowStartToFirstPaint)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        int childArgc = 1;
        return std::strcmp(argv[2], "ordexa") == 0 ? RunOrdexa(childArgc, argv) : RunBare(childArgc, argv);
    }
    // The children draw on the offscreen platform unless a display is given, and never
    // touch the user's settings.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    g_self = n > 0 ? std::string(self, size_t(n)) : std::string(argv[0]);
    return RunWithRatios(argc, argv, {{"BM_OrdexaStartToFirstPaint/min_time:1.000/real_time",
                                       "BM_BareMdiWindowStartToFirstPaint/min_time:1.000/real_time"}});
}
