#pragma once
// Running ordexa-cli as a script does, and the sample formats it is run on.
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

struct CliRun {
    int exitCode = -1;  // -1 when the process did not end normally
    QByteArray out;
    QByteArray err;
};

// Runs ordexa-cli with `args`; standard output goes to `stdoutFile` when one is given, and
// the settings are read under `configHome` when one is given.
inline CliRun RunCli(const QStringList& args, const QString& stdoutFile = QString(),
                     const QString& configHome = QString())
{
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    if (!configHome.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", configHome);
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(ORDEXA_CLI), args);
    // A run still going after a minute counts as failed (-1), not as its last exit code.
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {-1, p.readAllStandardOutput(), p.readAllStandardError()};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

inline QString Sample(const char* name)
{
    return QStringLiteral(ORDEXA_SAMPLES) + "/" + name;
}

inline QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
