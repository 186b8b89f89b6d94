// Shared main of the test executables.
//
// The settings store must never be the user's real one, so XDG_CONFIG_HOME is pointed
// at a fresh temporary folder before anything can open it. Qt needs a platform even for
// widgets that are never shown; the offscreen one is used when no display is set.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
    // Nor the user's own state folder (recovery copies).
    QTemporaryDir dataHome;
    setenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit().constData(), 1);
    if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LANG", "es_MX.UTF-8", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
