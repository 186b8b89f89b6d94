#pragma once
// Where the file dialogs start: in the folder the clerk last used for that kind of file,
// and the first time in the clerk's documents folder (never the program's own folder,
// where nothing of the clerk's belongs).
#include <QString>

enum class FileKind { Formats, Captures, Scans, Csv, Pdf };

// The folder a file dialog for `kind` opens in.
QString StartFolder(FileKind kind);
// The clerk chose `file` in a dialog for `kind` (or printed into it): its folder is where
// the next dialog of that kind starts.
void RememberFolder(FileKind kind, const QString& file);
