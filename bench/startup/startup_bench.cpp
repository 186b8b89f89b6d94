// From the start of the program to the first paint of its main window, against two
// baselines started the same way: a bare Qt main window with an MDI area, and a fair one
// that also carries the program's menu bar and toolbar texts (read from the program's
// own main window once, before measuring), so that drawing text (Qt's font database)
// is paid by both. Each iteration starts this very program again as a child process in
// each mode in turn and waits for it to end: the child runs the program's start-up
// (application object, settings, main frame with its access bar, menus, translations)
// or a baseline window's, and leaves at once when the main window's first paint is done.
// All children pay the same process and QApplication start, so the ratios show what the
// program adds. The time that counts is the child's CPU time (user and system), which
// other programs busy on the machine do not stretch.
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QToolBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
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

std::string g_texts;  // the file of the program's menu and toolbar texts

int RunOrdexa(int argc, char** argv, bool dumpTexts)
{
    QApplication qapp(argc, argv);
    COrdexaApp::ConfigureQtApplication();
    QtSettingsStore settings;
    QtPrompts prompts;
    COrdexaApp app(settings, prompts);
    if (!app.Start({}, false))
        return 1;
    if (dumpTexts) {
        // One line per text: "M" a menu's title, "I" one of its items, "T" a toolbar
        // button's text.
        std::ofstream out(g_texts);
        for (QAction* menu : app.MainFrame()->menuBar()->actions()) {
            out << "M\t" << menu->text().toStdString() << '\n';
            if (menu->menu())
                for (QAction* item : menu->menu()->actions())
                    if (!item->isSeparator())
                        out << "I\t" << item->text().toStdString() << '\n';
        }
        for (QToolBar* bar : app.MainFrame()->findChildren<QToolBar*>())
            for (QAction* button : bar->actions())
                if (!button->isSeparator())
                    out << "T\t" << button->text().toStdString() << '\n';
        return out ? 0 : 1;
    }
    FirstPaint watch(app.MainFrame());
    app.MainFrame()->show();
    return qapp.exec();
}

int RunBare(int argc, char** argv, bool withTexts)
{
    QApplication qapp(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QMdiArea);
    window.resize(800, 600);
    if (withTexts) {
        std::ifstream in(g_texts);
        std::string line;
        QMenu* menu = nullptr;
        QToolBar* bar = window.addToolBar(QStringLiteral("Barra"));
        while (std::getline(in, line)) {
            if (line.size() < 2)
                continue;
            const QString text = QString::fromStdString(line.substr(2));
            if (line[0] == 'M')
                menu = window.menuBar()->addMenu(text);
            else if (line[0] == 'I' && menu)
                menu->addAction(text);
            else if (line[0] == 'T')
                bar->addAction(text);
        }
    }
    FirstPaint watch(&window);
    window.show();
    return qapp.exec();
}

// Runs this program as a child in `mode` and waits for it: the child's CPU time in
// seconds, or a negative number when it failed.
double RunChild(const char* mode)
{
    char* args[] = {g_self.data(), const_cast<char*>("--child"), const_cast<char*>(mode), g_texts.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, g_self.c_str(), nullptr, nullptr, args, environ) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Each iteration starts the bare window, the fair window and the program in turn.
void BM_OrdexaStartToFirstPaint(benchmark::State& state)
{
    if (RunChild("dump") < 0) {
        state.SkipWithError("the program's menu texts could not be read");
        return;
    }
    double ordexa = 0, bare = 0, fair = 0;
    // Two starts of each per iteration: the bare window starts in some 35 ms of CPU.
    constexpr int kStarts = 2;
    for (auto _ : state) {
        double iteration = 0;
        for (int i = 0; i < kStarts; ++i) {
            const double b = RunChild("bare");
            const double f = RunChild("fair");
            const double o = RunChild("ordexa");
            if (b < 0 || f < 0 || o < 0) {
                state.SkipWithError("a child process failed");
                return;
            }
            bare += b;
            fair += f;
            iteration += o;
        }
        ordexa += iteration;
        state.SetIterationTime(iteration);
    }
    const double n = double(state.iterations());
    state.counters["bare_ms"] = bare * 1000 / n;
    state.counters["fair_ms"] = fair * 1000 / n;
    state.counters["x_bare_window"] = bare > 0 ? ordexa / bare : 0;
    state.counters["x_fair_window"] = fair > 0 ? ordexa / fair : 0;
}

BENCHMARK(BM_OrdexaStartToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0) {
        int childArgc = 1;
        const std::string mode = argv[2];
        g_texts = argv[3];
        if (mode == "ordexa" || mode == "dump")
            return RunOrdexa(childArgc, argv, mode == "dump");
        return RunBare(childArgc, argv, mode == "fair");
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
    g_texts = config.filePath(QStringLiteral("textos.txt")).toStdString();
    return RunWithRatios(argc, argv, {});
}
