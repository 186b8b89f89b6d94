#pragma once
// An installer made in a temporary folder, as the packaging step makes the real one: a
// package written by the core's writer, deflated into a ZIP and appended to a stand-in
// executable. HOME, the temporary folder and the desktop menus all point into the same
// temporary folder, so nothing touches the real home.
#include <QString>
#include <functional>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "setup/package_format.h"
#include "setup/program_group.h"
#include "setup/ui/setup_window.h"

class SetupFixture {
public:
    SetupFixture();
    ~SetupFixture();

    // The files the package carries, in package order.
    std::vector<PackageEntry> Entries() const;
    PackageTrailer Trailer() const;

    // Writes an installer holding `packageBytes` (a whole package) and returns its path.
    QString MakeInstaller(const std::vector<uint8_t>& packageBytes, const QString& name = "setup");
    // The usual installer: Entries() and Trailer().
    QString MakeInstaller();

    SetupSource Source(const QString& exePath) const;
    QString Path(const QString& relative) const { return m_root + "/" + relative; }

    QString Home() const { return Path("home"); }
    QString TempFolder() const { return Path("tmp"); }
    MenuLocations Menus() const;

private:
    QTemporaryDir m_dir;
    QString m_root;
    QByteArray m_realHome;
};

// Lets the event loop run until `done` holds or `ms` pass.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);
