#include "capture/recovery_copy.h"

#include <cstring>

#include "base/archive.h"
#include "capture/capture_session.h"
#include "model/format_file.h"

namespace {

constexpr char kMagic[] = "ORDXRCP1";
constexpr size_t kMagicSize = sizeof(kMagic) - 1;

void WriteRaw(ArchiveWriter& ar, const std::string& raw)
{
    ar.WriteUInt32(uint32_t(raw.size()));
    ar.WriteBytes(raw);
}

void WriteUInt64(ArchiveWriter& ar, uint64_t v)
{
    ar.WriteUInt32(uint32_t(v));
    ar.WriteUInt32(uint32_t(v >> 32));
}

uint64_t ReadUInt64(ArchiveReader& ar)
{
    const uint64_t low = ar.ReadUInt32();
    return low | (uint64_t(ar.ReadUInt32()) << 32);
}

}  // namespace

const char* RecoveryModeName(RecoveryMode mode)
{
    switch (mode) {
    case RecoveryMode::Design:
        return "Diseño de formato";
    case RecoveryMode::ScreenLayout:
        return "Diseño de pantalla";
    case RecoveryMode::Capture:
        return "Pantalla de captura";
    }
    return "";
}

uint64_t BytesHash(std::span<const uint8_t> bytes)
{
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (uint8_t b : bytes) {
        hash ^= b;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::vector<uint8_t> EncodeRecoveryCopy(const RecoveryCopy& copy)
{
    ArchiveWriter ar;
    ar.Reserve(copy.payload.size() + copy.sourcePath.size() + copy.capturePath.size() + 64);
    ar.WriteBytes(std::string_view(kMagic, kMagicSize));
    ar.WriteUInt32(uint32_t(copy.mode));
    WriteUInt64(ar, uint64_t(copy.savedAtSeconds));
    WriteRaw(ar, copy.sourcePath);
    WriteRaw(ar, copy.capturePath);
    WriteUInt64(ar, copy.formatHash);
    ar.WriteUInt32(uint32_t(copy.payload.size()));
    ar.WriteBytes(std::string_view(reinterpret_cast<const char*>(copy.payload.data()), copy.payload.size()));
    const uint64_t checksum = BytesHash(ar.Bytes());
    WriteUInt64(ar, checksum);
    return ar.Take();
}

bool DecodeRecoveryCopy(std::span<const uint8_t> bytes, RecoveryCopy& copy, std::string& reason)
{
    copy = RecoveryCopy{};
    if (bytes.size() < kMagicSize || std::memcmp(bytes.data(), kMagic, kMagicSize) != 0) {
        reason = "no es una copia de recuperación de Ordexa.";
        return false;
    }
    ArchiveReader ar(bytes);
    try {
        ar.ReadBytes(kMagicSize);
        const uint32_t mode = ar.ReadUInt32();
        if (mode < uint32_t(RecoveryMode::Design) || mode > uint32_t(RecoveryMode::Capture)) {
            reason = "la copia de recuperación es de un tipo desconocido (" + std::to_string(mode) + ").";
            return false;
        }
        copy.mode = RecoveryMode(mode);
        copy.savedAtSeconds = int64_t(ReadUInt64(ar));
        copy.sourcePath = ar.ReadBytes(ar.ReadUInt32());
        copy.capturePath = ar.ReadBytes(ar.ReadUInt32());
        copy.formatHash = ReadUInt64(ar);
        const std::string payload = ar.ReadBytes(ar.ReadUInt32());
        copy.payload.assign(payload.begin(), payload.end());
        const size_t checked = ar.Offset();
        if (ReadUInt64(ar) != BytesHash(bytes.first(checked)) || !ar.AtEnd()) {
            reason = "la copia de recuperación está dañada (byte " + std::to_string(checked) + ").";
            return false;
        }
    } catch (const ArchiveError& e) {
        reason = "la copia de recuperación está incompleta (byte " + std::to_string(e.Offset()) + ").";
        return false;
    }

    // The work goes through the reader of the file it copies.
    if (copy.mode == RecoveryMode::Capture) {
        if (copy.sourcePath.empty()) {
            reason = "la copia de una captura no dice de qué formato es.";
            return false;
        }
        // A captured-data file starts with the file name of its format, as this program
        // stores it (characters outside its code page become "?").
        ArchiveWriter expected;
        expected.WriteString(RecordedFormatName(copy.sourcePath));
        ArchiveReader expectedReader(expected.Bytes());
        ArchiveReader cap(copy.payload);
        try {
            if (cap.ReadString() != expectedReader.ReadString()) {
                reason = "los datos capturados de la copia no son del formato \"" + copy.sourcePath + "\".";
                return false;
            }
        } catch (const ArchiveError& e) {
            reason = "los datos capturados de la copia están dañados (byte " + std::to_string(e.Offset()) + ").";
            return false;
        }
        return true;
    }
    Format format;
    FormatReadError error;
    if (!ReadFormat(copy.payload, format, error)) {
        reason = "el formato de la copia está dañado (byte " + std::to_string(error.offset) + "): " + error.reason;
        return false;
    }
    return true;
}
