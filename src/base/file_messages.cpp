#include "base/file_messages.h"

#include <cerrno>

namespace {

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

}  // namespace

std::string InGuillemets(const std::string& text)
{
    return "«" + text + "»";
}

std::string FileErrorMessage(FileAction action, const std::string& path, int errorNumber)
{
    const bool reading = action == FileAction::Read;
    const std::string file = Quoted(path);
    switch (errorNumber) {
    case ENOENT:
        return reading ? "El archivo " + file + " no existe."
                       : "No se puede guardar " + file + ": la carpeta donde debe ir no existe.";
    case ENOTDIR:
        return "La ruta " + file + " no es válida: una de sus carpetas es en realidad un archivo.";
    case EISDIR:
        return file + " es una carpeta, no un archivo.";
    case EACCES:
    case EPERM:
        return reading ? "No tiene permiso para abrir el archivo " + file + "."
                       : "No tiene permiso para guardar el archivo " + file + ".";
    case EROFS:
        return "No se puede guardar " + file + ": el disco o la carpeta es de solo lectura.";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "No hay espacio suficiente en el disco para guardar " + file + ".";
    case ENAMETOOLONG:
        return "El nombre del archivo " + file + " es demasiado largo.";
    case EFBIG:
        return "El archivo " + file + " es demasiado grande.";
    case EMFILE:
    case ENFILE:
    case ENOMEM:
        return "No hay recursos suficientes para " + std::string(reading ? "abrir " : "guardar ") + file +
               "; cierre otras ventanas y vuelva a intentarlo.";
    case EIO:
        return "Hubo una falla del disco al " + std::string(reading ? "leer " : "guardar ") + file + ".";
    case EBUSY:
    case ETXTBSY:
        return "El archivo " + file + " está en uso por otro programa; ciérrelo y vuelva a intentarlo.";
    case ELOOP:
        return "La ruta " + file + " da vueltas sobre sí misma (enlaces que se apuntan entre sí).";
    default:
        return reading ? "No se pudo leer el archivo " + file + " (código " + std::to_string(errorNumber) + ")."
                       : "No se pudo guardar el archivo " + file + " (código " + std::to_string(errorNumber) + ").";
    }
}

std::string DamagedFileMessage(const std::string& path, const std::string& what, size_t offset)
{
    return "El archivo " + Quoted(path) + " está dañado o no es " + what + " (byte " + std::to_string(offset) + ").";
}
