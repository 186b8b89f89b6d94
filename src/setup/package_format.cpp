#include "setup/package_format.h"

#include <algorithm>
#include <cerrno>

#include "base/atomic_file.h"
#include "base/cp1252.h"
#include "base/file_messages.h"
#include "setup/destination_check.h"
#include "setup/setup_files.h"

namespace {

// The trailer's blocks as read backwards from the end, with the words a clerk reads when
// one of them is damaged.
enum class Block { ProductName, Description, DefaultFolder, Picture, Licence };
constexpr const char* kBlockNames[] = {"el nombre del producto", "la descripción", "la carpeta de instalación",
                                       "la imagen", "el texto de la licencia"};

uint32_t LittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

void AppendLittleEndian32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

void AppendBytes(std::vector<uint8_t>& out, std::string_view bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void AppendBlock(std::vector<uint8_t>& out, std::string_view bytes)
{
    AppendBytes(out, bytes);
    AppendLittleEndian32(out, uint32_t(bytes.size()));
}

}  // namespace

std::string SetupPackage::Damaged(const std::string& what) const
{
    if (!m_installer.empty())
        return "El programa de instalación " + InGuillemets(m_installer) + " está dañado: " + what +
               " Vuelva a copiar el programa de instalación.";
    return "El paquete de instalación " + InGuillemets(m_path) + " está dañado: " + what;
}

std::string SetupPackage::Incomplete(const std::string& what) const
{
    if (!m_installer.empty())
        return "El programa de instalación " + InGuillemets(m_installer) + " está incompleto: " + what +
               " Vuelva a copiar el programa de instalación.";
    return "El paquete de instalación " + InGuillemets(m_path) + " está incompleto: " + what;
}

bool IsSafePackageFileName(std::string_view name)
{
    if (name.empty() || name.size() >= kPackageNameLimit || name == "." || name == "..")
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

SetupPackage::~SetupPackage()
{
    Close();
}

void SetupPackage::Close()
{
    if (m_fd >= 0)
        CloseFile(m_fd);
    m_fd = -1;
}

bool SetupPackage::HasMagic(const std::string& path)
{
    uint64_t size = 0;
    const int fd = OpenPlainFileForReading(path, size, true);
    if (fd < 0)
        return false;
    char magic[kPackageMagicSize];
    const bool ok = ReadAllAt(fd, magic, sizeof magic, 0) &&
                    std::string_view(magic, sizeof magic) == std::string_view(kPackageMagic, kPackageMagicSize);
    CloseFile(fd);
    return ok;
}

bool SetupPackage::Fail(std::string& message, const std::string& text)
{
    message = text;
    Close();
    return false;
}

bool SetupPackage::ReadAt(uint64_t offset, void* buffer, size_t size)
{
    if (size == 0)
        return true;
    return ReadAllAt(m_fd, buffer, size, offset);
}

bool SetupPackage::Open(const std::string& path, std::string& message)
{
    Close();
    m_path = path;
    m_trailer = {};
    m_count = 0;
    m_nextIndex = 0;
    const EntryKind kind = KindFollowing(path);
    if (kind != EntryKind::Missing && kind != EntryKind::File)
        return Fail(message, "No se puede leer " + InGuillemets(path) + ": no es un archivo común.");
    m_fd = OpenPlainFileForReading(path, m_fileSize, true);
    if (m_fd < 0)
        return Fail(message, SetupReadError(path, errno));
    if (m_fileSize > kMaxPackageBytes)
        return Fail(message, Damaged("mide " + std::to_string(m_fileSize) + " bytes, más de lo que admite el "
                                            "programa de instalación."));

    uint8_t head[kPackageMagicSize + 4];
    if (m_fileSize < sizeof head || !ReadAt(0, head, sizeof head))
        return Fail(message, Incomplete("no alcanza a tener el encabezado."));
    if (std::string_view(reinterpret_cast<const char*>(head), kPackageMagicSize) !=
        std::string_view(kPackageMagic, kPackageMagicSize))
        return Fail(message, m_installer.empty()
                                 ? "El archivo " + InGuillemets(path) + " no es un paquete de instalación de Ordexa: no "
                                   "empieza con «KALVOR Cab»."
                                 : "El programa de instalación " + InGuillemets(m_installer) + " no trae un paquete de "
                                   "instalación de Ordexa: el suyo no empieza con «KALVOR Cab». Vuelva a copiar el "
                                   "programa de instalación.");
    m_count = LittleEndian32(head + kPackageMagicSize);

    if (!ReadTrailer(message) || !CheckRecords(message))
        return false;
    m_position = sizeof head;
    m_recordEnd = m_position;
    m_nextIndex = 0;
    return true;
}

bool SetupPackage::ReadTrailer(std::string& message)
{
    const uint64_t headSize = kPackageMagicSize + 4;
    uint64_t end = m_fileSize;
    for (int i = 0; i < 5; ++i) {
        const auto block = Block(i);
        const std::string blockName = kBlockNames[i];
        uint8_t lengthBytes[4];
        if (end < headSize + 4 || !ReadAt(end - 4, lengthBytes, 4))
            return Fail(message, Incomplete("falta " + blockName + " al final del paquete."));
        const uint32_t length = LittleEndian32(lengthBytes);
        const uint64_t available = end - 4 - headSize;
        if (length > available)
            return Fail(message, Incomplete(blockName + " declara " + std::to_string(length) +
                                                        " bytes y solo quedan " + std::to_string(available) + "."));
        const uint32_t limit = block == Block::Picture ? kMaxPictureBytes : kMaxTrailerTextBytes;
        if (length > limit)
            return Fail(message, Damaged(blockName + " declara " + std::to_string(length) +
                                                     " bytes, demasiados para ser real."));
        std::string bytes(length, '\0');
        if (!ReadAt(end - 4 - length, bytes.data(), length))
            return Fail(message, SetupReadError(m_path, errno ? errno : EIO));
        end -= 4 + uint64_t(length);
        switch (block) {
        case Block::ProductName: m_trailer.productName = cp1252::ToUtf8(bytes); break;
        case Block::Description: m_trailer.description = cp1252::ToUtf8(bytes); break;
        case Block::DefaultFolder: m_trailer.defaultFolder = cp1252::ToUtf8(bytes); break;
        case Block::Picture: m_trailer.picture.assign(bytes.begin(), bytes.end()); break;
        case Block::Licence: m_trailer.licenceText = cp1252::ToUtf8(bytes); break;
        }
    }
    // The product name is also the installed program's file name and the group's name.
    if (!IsSafePackageFileName(m_trailer.productName) || m_trailer.productName.size() > 255)
        return Fail(message, Damaged("el nombre del producto " + InGuillemets(m_trailer.productName) +
                                                 " no sirve como nombre de archivo."));
    m_dataEnd = end;
    return true;
}

bool SetupPackage::ReadRecordHeader(uint64_t& offset, Record& record, std::string& message)
{
    const std::string number = std::to_string(m_nextIndex + 1);
    uint8_t lengthBytes[4];
    if (m_dataEnd - offset < 4 || !ReadAt(offset, lengthBytes, 4))
        return Fail(message, Incomplete("el archivo número " + number + " de " + std::to_string(m_count) +
                                                    " no está en el paquete."));
    offset += 4;
    const uint32_t nameLength = LittleEndian32(lengthBytes);
    if (nameLength >= kPackageNameLimit)
        return Fail(message, Damaged("el nombre del archivo número " + number + " declara " +
                                                 std::to_string(nameLength) + " bytes (el límite es 65535)."));
    if (nameLength > m_dataEnd - offset)
        return Fail(message, Incomplete("el nombre del archivo número " + number + " declara " +
                                                    std::to_string(nameLength) + " bytes y solo quedan " +
                                                    std::to_string(m_dataEnd - offset) + "."));
    std::string rawName(nameLength, '\0');
    if (!ReadAt(offset, rawName.data(), nameLength))
        return Fail(message, SetupReadError(m_path, errno ? errno : EIO));
    offset += nameLength;
    record.name = cp1252::ToUtf8(rawName);
    if (!IsSafePackageFileName(record.name))
        return Fail(message, Damaged("el archivo número " + number + " tiene un nombre no permitido (" +
                                                 InGuillemets(record.name.substr(0, 200)) +
                                                 "): un nombre no puede estar vacío ni llevar carpetas, «/», «\\», "
                                                 "«.», «..» o caracteres de control."));
    if (m_dataEnd - offset < 4 || !ReadAt(offset, lengthBytes, 4))
        return Fail(message, Incomplete("falta el tamaño del archivo " + InGuillemets(record.name) + "."));
    offset += 4;
    record.size = LittleEndian32(lengthBytes);
    if (record.size > m_dataEnd - offset)
        return Fail(message, Incomplete("el archivo " + InGuillemets(record.name) + " declara " +
                                                    std::to_string(record.size) + " bytes y solo quedan " +
                                                    std::to_string(m_dataEnd - offset) + "."));
    record.remaining = record.size;
    return true;
}

bool SetupPackage::CheckRecords(std::string& message)
{
    // Every record takes at least 8 bytes (L and S): a count beyond that is refused
    // before any record is looked at.
    const uint64_t headSize = kPackageMagicSize + 4;
    if (uint64_t(m_count) * 8 > m_dataEnd - headSize)
        return Fail(message, Incomplete("declara " + std::to_string(m_count) +
                                                    " archivos y no hay lugar para tantos."));
    uint64_t offset = headSize;
    m_contentBytes = 0;
    for (m_nextIndex = 0; m_nextIndex < m_count; ++m_nextIndex) {
        Record record;
        if (!ReadRecordHeader(offset, record, message))
            return false;
        offset += record.size;
        m_contentBytes += record.size;
    }
    if (offset != m_dataEnd)
        return Fail(message, Damaged("después del último archivo sobran " + std::to_string(m_dataEnd - offset) +
                                                 " bytes que no pertenecen a ningún archivo."));
    return true;
}

bool SetupPackage::NextRecord(Record& record, std::string& message)
{
    message.clear();
    if (m_fd < 0) {
        message = "El paquete de instalación " + InGuillemets(m_path) + " no está abierto.";
        return false;
    }
    m_position = m_recordEnd;
    record = {};
    if (m_nextIndex >= m_count)
        return false;
    if (!ReadRecordHeader(m_position, record, message))
        return false;
    m_recordEnd = m_position + record.size;
    ++m_nextIndex;
    return true;
}

size_t SetupPackage::ReadContents(Record& record, uint8_t* buffer, size_t capacity, std::string& message)
{
    record.remaining = std::min(record.remaining, m_recordEnd - m_position);
    const size_t wanted = size_t(std::min<uint64_t>(capacity, record.remaining));
    if (wanted == 0 || m_fd < 0)
        return 0;
    const size_t got = ReadAllAt(m_fd, buffer, wanted, m_position) ? wanted : 0;
    if (got != wanted) {
        // The file changed under us (it was checked whole when it was opened).
        message = Incomplete("el archivo " + InGuillemets(record.name) + " se termina antes de sus " +
                                         std::to_string(record.size) + " bytes.");
        return 0;
    }
    m_position += got;
    record.remaining -= got;
    return got;
}

std::vector<uint8_t> BuildPackageBytes(const std::vector<PackageEntry>& entries, const PackageTrailer& trailer)
{
    std::vector<uint8_t> out;
    AppendBytes(out, std::string_view(kPackageMagic, kPackageMagicSize));
    AppendLittleEndian32(out, uint32_t(entries.size()));
    for (const PackageEntry& entry : entries) {
        const std::string name = cp1252::FromUtf8(entry.name);
        AppendLittleEndian32(out, uint32_t(name.size()));
        AppendBytes(out, name);
        AppendLittleEndian32(out, uint32_t(entry.contents.size()));
        out.insert(out.end(), entry.contents.begin(), entry.contents.end());
    }
    AppendBlock(out, cp1252::FromUtf8(trailer.licenceText));
    AppendBlock(out, std::string_view(reinterpret_cast<const char*>(trailer.picture.data()), trailer.picture.size()));
    AppendBlock(out, cp1252::FromUtf8(trailer.defaultFolder));
    AppendBlock(out, cp1252::FromUtf8(trailer.description));
    AppendBlock(out, cp1252::FromUtf8(trailer.productName));
    return out;
}

bool WritePackage(const std::string& path, const std::vector<PackageEntry>& entries, const PackageTrailer& trailer,
                  std::string& message)
{
    std::vector<PackageEntry> loaded;
    loaded.reserve(entries.size());
    uint64_t total = 0;
    for (const PackageEntry& entry : entries) {
        if (!IsSafePackageFileName(entry.name) || cp1252::ToUtf8(cp1252::FromUtf8(entry.name)) != entry.name) {
            message = "No se puede poner " + InGuillemets(entry.name) + " en el paquete de instalación: el nombre no "
                      "es válido para un archivo instalado.";
            return false;
        }
        PackageEntry copy{entry.name, {}, entry.contents};
        if (!entry.sourcePath.empty() && !ReadWholeFile(entry.sourcePath, copy.contents, &message))
            return false;
        if (copy.contents.size() > UINT32_MAX) {
            message = "El archivo " + InGuillemets(entry.sourcePath) + " es demasiado grande para el paquete de instalación.";
            return false;
        }
        total += copy.contents.size();
        loaded.push_back(std::move(copy));
    }
    if (!IsSafePackageFileName(trailer.productName) || total > kMaxPackageBytes) {
        message = "No se puede escribir el paquete de instalación " + InGuillemets(path) +
                  ": el nombre del producto no es válido o el paquete sería demasiado grande.";
        return false;
    }
    const std::vector<uint8_t> bytes = BuildPackageBytes(loaded, trailer);
    return WriteFileAtomically(path, bytes, &message);
}
