#pragma once
// The Spanish sentences a clerk reads when a file cannot be read or written. They name
// the file and say what is wrong in plain words; the operating system's own (English)
// text never reaches the clerk.
#include <cstddef>
#include <string>

enum class FileAction { Read, Write };

// A file's or a field's name as the clerk's messages quote it: «name».
std::string InGuillemets(const std::string& text);

// "El archivo "X" no existe.", "No tiene permiso para …", "No hay espacio …" and so on,
// chosen by the error number a failed system call left.
std::string FileErrorMessage(FileAction action, const std::string& path, int errorNumber);

// A file whose bytes do not make sense as what it should hold. `what` names the kind of
// file ("un formato de Ordexa", "una captura de Ordexa"); the byte offset is kept for
// support.
std::string DamagedFileMessage(const std::string& path, const std::string& what, size_t offset);
