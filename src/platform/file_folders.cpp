#include "platform/file_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/qt_settings_store.h"

namespace {

// Keys of the settings store, one per kind of file.
const char* KeyOf(FileKind kind)
{
    switch (kind) {
    case FileKind::Formats:
        return "CarpetaFormatos";
    case FileKind::Captures:
        return "CarpetaCapturas";
    case FileKind::Scans:
        return "CarpetaEscaneos";
    case FileKind::Csv:
        return "CarpetaLotes";
    case FileKind::Pdf:
        return "CarpetaPDF";
    }
    return "CarpetaFormatos";
}

QString DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace

QString StartFolder(FileKind kind)
{
    const QtSettingsStore settings;
    const QString last = QString::fromStdString(settings.ReadString(KeyOf(kind), ""));
    // A folder since removed or unmounted falls back to the documents folder.
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : DocumentsFolder();
}

void RememberFolder(FileKind kind, const QString& file)
{
    if (file.isEmpty())
        return;
    QtSettingsStore settings;
    settings.WriteString(KeyOf(kind), QFileInfo(file).absolutePath().toStdString());
}
