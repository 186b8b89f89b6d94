#pragma once
// Exports of the table window: tab-separated text, a dBase III plus table and a table
// file of our own engine. Records go out in record order (1 .. slot count - 1) whatever
// order the window shows, with the window's columns.
#include "base/user_locale.h"

#include <cstdint>
#include <string>
#include <vector>

class CTablaEditor;
class Prompts;

enum class TableExportFormat { None, Txt, Dbf, Dat };

// The format the chosen file's extension selects, compared in upper case.
TableExportFormat ExportFormatOfPath(const std::string& path);

// The file contents, built in memory.
std::vector<uint8_t> BuildTxtExport(CTablaEditor& editor);
std::vector<uint8_t> BuildDbfExport(CTablaEditor& editor, CalendarDate today);

// Writes one of the three formats by the path's extension. Text and dBase files are
// written whole or not at all; a file that cannot be written is reported through the
// prompts. A table file is refused (with "Seleccione un directorio diferente") in the
// shown table's own folder. True when a file was written; any other extension writes
// nothing.
bool ExportTable(CTablaEditor& editor, const std::string& path, Prompts& prompts, const Locale& locale);

inline constexpr const char* kMsgChooseOtherFolder = "Seleccione un directorio diferente";
