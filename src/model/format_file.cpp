#include "model/format_file.h"

#include <algorithm>

#include "base/atomic_file.h"
#include "base/file_messages.h"
#include "model/element_factory.h"

namespace {

// Kind number, alignment word, an empty text and the 104 fixed bytes.
constexpr size_t kMinEntryBytes = 4 + 4 + 1 + 104;

// How a refusal names what the file should have been.
constexpr const char* kFormatFileWhat = "un formato de Ordexa";

}  // namespace

Rect ScreenExtent(const ElementList& elements)
{
    Rect extent{0, 0, 100, 100};
    for (const auto& e : elements)
        if (!e->m_constant)
            extent = extent.United(e->m_rcScreen);
    return extent;
}

bool ReadFormat(std::span<const uint8_t> bytes, Format& format, FormatReadError& error)
{
    error.unknownKind = -1;
    error.refused = false;
    format.elements.clear();
    ArchiveReader ar(bytes);
    try {
        format.title = ar.ReadString();
        const int32_t count = ar.ReadCount(kMinEntryBytes);
        for (int32_t i = 0; i < count; ++i) {
            const size_t at = ar.Offset();
            const int32_t kind = ar.ReadInt32();
            auto element = CreateElementOfKind(kind);
            if (!element) {
                error.unknownKind = kind;
                throw ArchiveError(at, "tipo de elemento desconocido " + std::to_string(kind));
            }
            CControles& e = *format.elements.emplace_front(std::move(element));
            e.Read(ar);
        }
        Rect extent;
        extent.left = ar.ReadInt32();
        extent.top = ar.ReadInt32();
        extent.right = ar.ReadInt32();
        extent.bottom = ar.ReadInt32();
        format.screenExtent = extent;
    } catch (const ArchiveError& e) {
        format = Format{};
        error.refused = dynamic_cast<const ArchiveRefusal*>(&e) != nullptr;
        error.offset = e.Offset();
        error.reason = e.what();
        return false;
    }
    return true;
}

std::vector<uint8_t> WriteFormatAsItStands(const Format& format)
{
    ArchiveWriter ar;
    // Most entries are the fixed bytes, a short text and a short tail: the buffer is
    // sized once for them instead of growing through the whole format.
    ar.Reserve(format.title.size() + 32 + format.elements.size() * (kMinEntryBytes + 24));
    ar.WriteString(format.title);
    ar.WriteInt32(int32_t(format.elements.size()));
    for (auto it = format.elements.rbegin(); it != format.elements.rend(); ++it) {
        ar.WriteInt32((*it)->m_kind);
        (*it)->Write(ar);
    }
    const Rect& x = format.screenExtent;
    for (int32_t v : {x.left, x.top, x.right, x.bottom})
        ar.WriteInt32(v);
    return ar.Take();
}

void NumberCaptureOrder(ElementList& elements)
{
    // Writing order: the back of the list is the entry written first.
    std::vector<CControles*> variables;
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        CControles& e = **it;
        if (e.m_constant)
            e.m_order = 0;
        else if (e.IsVariable())
            variables.push_back(&e);
    }
    // The clerk's order first (as unsigned numbers, as the screen layout compares them),
    // then the elements that have none yet; ties keep the writing order.
    auto key = [](const CControles* e) {
        return e->m_order == 0 ? uint64_t(1) << 32 : uint64_t(uint32_t(e->m_order));
    };
    std::stable_sort(variables.begin(), variables.end(),
                     [&](const CControles* a, const CControles* b) { return key(a) < key(b); });
    int32_t next = 1;
    for (CControles* e : variables)
        e->m_order = next++;
}

std::vector<uint8_t> WriteFormat(Format& format, FormatWriter writer)
{
    if (writer != FormatWriter::Rewrite)
        NumberCaptureOrder(format.elements);
    if (writer == FormatWriter::ScreenLayout)
        for (auto& e : format.elements)
            if (!e->m_constant)
                e->m_screenPlaced = 1;
    format.screenExtent = ScreenExtent(format.elements);
    return WriteFormatAsItStands(format);
}

bool LoadFormatFile(const std::string& path, Format& format, std::string& message, FileFingerprint* read)
{
    if (read)
        read->Forget();
    std::vector<uint8_t> bytes;
    std::string ioError;
    if (!ReadWholeFile(path, bytes, &ioError)) {
        format = Format{};
        message = ioError;
        return false;
    }
    FormatReadError error;
    if (!ReadFormat(bytes, format, error)) {
        if (error.unknownKind >= 0)
            message = "El archivo \"" + path + "\" contiene un elemento de un tipo que este programa no conoce (" +
                      std::to_string(error.unknownKind) + ", byte " + std::to_string(error.offset) + ").";
        else if (error.refused)
            message = "El formato \"" + path + "\" no se puede abrir: " + error.reason + " (byte " +
                      std::to_string(error.offset) + ").";
        else
            message = DamagedFileMessage(path, kFormatFileWhat, error.offset);
        return false;
    }
    if (read)
        read->Take(path, bytes);
    return true;
}

bool SaveFormatFile(const std::string& path, Format& format, FormatWriter writer, std::string& message,
                    FileFingerprint* written)
{
    const std::vector<uint8_t> bytes = WriteFormat(format, writer);
    if (!WriteFileAtomically(path, bytes, &message))
        return false;
    if (written)
        written->Take(path, bytes);
    return true;
}
