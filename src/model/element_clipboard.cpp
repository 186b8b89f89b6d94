#include "model/element_clipboard.h"

std::vector<uint8_t> EncodeElements(const std::vector<const CControles*>& elements)
{
    ArchiveWriter ar;
    ar.WriteString("");
    ar.WriteInt32(int32_t(elements.size()));
    for (const CControles* e : elements) {
        ar.WriteInt32(e->m_kind);
        e->Write(ar);
    }
    for (int32_t v : {0, 0, 100, 100})
        ar.WriteInt32(v);
    return ar.Take();
}

bool DecodeElements(std::span<const uint8_t> bytes, ElementList& elements, std::string& message)
{
    elements.clear();
    Format format;
    FormatReadError error;
    if (!ReadFormat(bytes, format, error)) {
        message = error.unknownKind >= 0
                      ? "Los controles del portapapeles incluyen uno de un tipo que este programa no conoce (" +
                            std::to_string(error.unknownKind) + "); no se pegó nada."
                      : "Los controles del portapapeles están dañados (byte " + std::to_string(error.offset) +
                            "); no se pegó nada.";
        return false;
    }
    if (format.elements.empty()) {
        message = "El portapapeles no contiene controles de un formato.";
        return false;
    }
    for (auto& e : format.elements)
        e->m_selected = 0;
    elements = std::move(format.elements);
    return true;
}
