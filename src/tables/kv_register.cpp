#include "tables/kv_register.h"

#include "base/archive.h"
#include "base/cp1252.h"
#include "tables/kv_fecha.h"
#include "base/user_locale.h"
#include "tables/number_text.h"
#include "base/prompts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

uint64_t LoadLE(std::span<const uint8_t> bytes, size_t size)
{
    uint64_t v = 0;
    for (size_t i = 0; i < size && i < bytes.size(); ++i)
        v |= uint64_t(bytes[i]) << (8 * i);
    return v;
}

void StoreLE(std::span<uint8_t> bytes, uint64_t v, size_t size)
{
    for (size_t i = 0; i < size && i < bytes.size(); ++i)
        bytes[i] = uint8_t(v >> (8 * i));
}

int32_t ClampToInt32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

float LoadFloat(std::span<const uint8_t> bytes)
{
    const auto bits = uint32_t(LoadLE(bytes, 4));
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

double LoadDouble(std::span<const uint8_t> bytes)
{
    const uint64_t bits = LoadLE(bytes, 8);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

// The characters of a text field: up to the first zero byte, at most `width`.
std::string_view TextBytes(std::span<const uint8_t> slot, size_t width)
{
    const auto* chars = reinterpret_cast<const char*>(slot.data());
    const size_t limit = std::min(width, slot.size());
    const void* zero = std::memchr(chars, 0, limit);
    return std::string_view(chars, zero ? size_t(static_cast<const char*>(zero) - chars) : limit);
}

// The amount in ten-thousandths, or 0 when it cannot be held.
int64_t ToCurrencyUnits(double amount)
{
    const double units = std::round(amount * 10000.0);
    if (!std::isfinite(units) || std::fabs(units) >= 9.2e18)
        return 0;
    return int64_t(units);
}

}  // namespace

CKVRegister::CKVRegister(Prompts& prompts, const Locale& locale) : m_prompts(&prompts), m_locale(&locale) {}

uint32_t CKVRegister::BytesTaken(int32_t type, uint32_t width)
{
    switch (type) {
    case kvInt32:
    case kvUInt32:
    case kvRaw4:
    case kvDate:
    case kvFloat:
        return 4;
    case kvInt16:
    case kvUInt16:
        return 2;
    case kvInt8:
    case kvUInt8:
    case kvBool:
        return 1;
    case kvRaw60:
        return 60;
    case kvDouble:
    case kvCurrency:
        return 8;
    case kvText:
        return width + 1;
    case kvRaw:
        // A raw field takes exactly its width, so that every field lies inside the buffer.
        return width;
    default:
        return 0;
    }
}

bool CKVRegister::LayoutFields(std::span<const CKVField> fields)
{
    m_fields.clear();
    m_record.clear();
    m_laidOut = 0;
    m_recordLength = 0;
    uint32_t offset = 0;
    bool fits = true;
    for (const CKVField& given : fields) {
        CKVField field(given.Name(), 0, given.Type(), given.Flags(), given.IndexName());
        if (fits) {
            const bool keepsWidth = given.Type() == kvText || given.Type() == kvRaw;
            const uint32_t bytes = BytesTaken(given.Type(), given.Width());
            // A field that would carry the record past what a 16-bit length can hold is
            // not laid out at all; one that reaches the limit exactly is the last.
            if (offset + bytes > kMaxRecordBytes) {
                fits = false;
            } else {
                field.SetWidth(uint16_t(keepsWidth ? given.Width() : bytes));
                field.SetOffset(uint16_t(offset));
                offset += bytes;
                ++m_laidOut;
                if (offset >= kMaxRecordBytes)
                    fits = false;
            }
            if (!fits)
                m_prompts->Message(kMsgRecordTooLarge);
        }
        m_fields.push_back(std::move(field));
    }
    m_recordLength = uint16_t(offset);
    m_record.assign(m_recordLength, 0);
    return fits;
}

void CKVRegister::ClearRecord()
{
    std::fill(m_record.begin(), m_record.end(), uint8_t(0));
}

void CKVRegister::SetBuffer(std::span<const uint8_t> bytes)
{
    const size_t n = std::min(bytes.size(), m_record.size());
    std::copy_n(bytes.begin(), n, m_record.begin());
    std::fill(m_record.begin() + ptrdiff_t(n), m_record.end(), uint8_t(0));
}

std::span<uint8_t> CKVRegister::Slot(int index)
{
    if (!IsUsable(index))
        return {};
    const CKVField& f = m_fields[size_t(index)];
    return std::span<uint8_t>(m_record).subspan(f.Offset(), BytesTaken(f.Type(), f.Width()));
}

std::span<const uint8_t> CKVRegister::Slot(int index) const
{
    if (!IsUsable(index))
        return {};
    const CKVField& f = m_fields[size_t(index)];
    return std::span<const uint8_t>(m_record).subspan(f.Offset(), BytesTaken(f.Type(), f.Width()));
}

CKVRegister::FieldRef CKVRegister::FindField(std::string_view name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].Name() == name)
            return {true, int(i), m_fields[i].Type()};
    }
    return {};
}

void CKVRegister::PutRaw(int index, std::span<const uint8_t> bytes)
{
    std::span<uint8_t> slot = Slot(index);
    if (slot.empty())
        return;
    const CKVField& f = m_fields[size_t(index)];
    std::fill(slot.begin(), slot.end(), uint8_t(0));
    if (f.Type() == kvText) {
        const std::string_view text = TextBytes(bytes, f.Width());
        std::memcpy(slot.data(), text.data(), text.size());
        return;
    }
    // Every other type, currency included (raw bytes always hold a valid amount), takes
    // its width; a shorter source leaves the rest zero.
    std::copy_n(bytes.begin(), std::min(bytes.size(), slot.size()), slot.begin());
}

std::vector<uint8_t> CKVRegister::GetRaw(int index) const
{
    std::span<const uint8_t> slot = Slot(index);
    if (slot.empty())
        return {};
    const CKVField& f = m_fields[size_t(index)];
    if (f.Type() == kvText) {
        const std::string_view text = TextBytes(slot, f.Width());
        std::vector<uint8_t> out(text.begin(), text.end());
        out.push_back(0);
        return out;
    }
    return std::vector<uint8_t>(slot.begin(), slot.end());
}

void CKVRegister::SetText(int index, std::string_view text)
{
    std::span<uint8_t> slot = Slot(index);
    if (slot.empty())
        return;
    const CKVField& f = m_fields[size_t(index)];
    switch (f.Type()) {
    case kvInt32:
        StoreLE(slot, uint32_t(ClampToInt32(LeadingInteger(text))), 4);
        break;
    case kvUInt32: {
        // Either a signed or an unsigned 32-bit reading of the digits is kept as typed.
        const int64_t v = std::clamp<int64_t>(LeadingInteger(text), std::numeric_limits<int32_t>::min(),
                                              std::numeric_limits<uint32_t>::max());
        StoreLE(slot, uint32_t(v), 4);
        break;
    }
    case kvInt16:
    case kvUInt16:
        StoreLE(slot, uint16_t(ClampToInt32(LeadingInteger(text))), 2);
        break;
    case kvInt8:
    case kvUInt8: {
        const std::string bytes = cp1252::FromUtf8(text);
        slot[0] = bytes.empty() ? 0 : uint8_t(bytes[0]);
        break;
    }
    case kvText: {
        const std::string bytes = cp1252::FromUtf8(text);
        PutRaw(index, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        break;
    }
    case kvDate: {
        const CKVFecha date(text);
        std::copy_n(date.PackedForm().begin(), 4, slot.begin());
        break;
    }
    case kvFloat: {
        const float v = float(LeadingNumber(text));
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        StoreLE(slot, bits, 4);
        break;
    }
    case kvBool:
        slot[0] = text == "TRUE" ? 1 : 0;
        break;
    case kvDouble: {
        const double v = LeadingNumber(text);
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        StoreLE(slot, bits, 8);
        break;
    }
    case kvCurrency: {
        double amount = 0.0;
        const int64_t units = m_locale->ParseCurrency(std::string(text), amount) ? ToCurrencyUnits(amount) : 0;
        StoreLE(slot, uint64_t(units), 8);
        break;
    }
    default:
        break;  // raw fields and unknown types are not set from text
    }
}

void CKVRegister::SetText(const std::string& name, std::string_view text)
{
    const FieldRef ref = FindField(name);
    if (ref.found)
        SetText(ref.index, text);
}

int64_t CKVRegister::Currency(int index) const
{
    return int64_t(LoadLE(Slot(index), 8));
}

std::string CKVRegister::GetText(int index) const
{
    std::span<const uint8_t> slot = Slot(index);
    if (slot.empty())
        return {};
    const CKVField& f = m_fields[size_t(index)];
    switch (f.Type()) {
    case kvInt32:
    case kvUInt32:
        return std::to_string(int32_t(LoadLE(slot, 4)));
    case kvInt16:
        return std::to_string(int16_t(LoadLE(slot, 2)));
    case kvUInt16:
        return std::to_string(uint16_t(LoadLE(slot, 2)));
    case kvInt8:
        return std::to_string(int8_t(slot[0]));
    case kvUInt8:
        return std::to_string(slot[0]);
    case kvText:
        return cp1252::ToUtf8(TextBytes(slot, f.Width()));
    case kvDate: {
        if (slot[0] == 0)
            return {};
        return CKVFecha(CKVFecha::Packed{slot[0], slot[1], slot[2], slot[3]}).Text();
    }
    case kvFloat:
        return FormatTwoDecimals(LoadFloat(slot));
    case kvBool:
        return slot[0] ? "TRUE" : "FALSE";
    case kvDouble: {
        // Shown at single precision (1048576.3 reads 1048576.25), except a value single
        // precision cannot hold at all, which would read "inf" and come back as 0.
        const double value = LoadDouble(slot);
        const float single = float(value);
        return std::isfinite(single) || !std::isfinite(value) ? FormatTwoDecimals(single) : FormatTwoDecimals(value);
    }
    case kvCurrency:
        return m_locale->CurrencyText(double(Currency(index)) / 10000.0);
    default:
        return {};
    }
}

std::string CKVRegister::GetText(const std::string& name) const
{
    const FieldRef ref = FindField(name);
    return ref.found ? GetText(ref.index) : std::string();
}

double CKVRegister::GetDouble(int index) const
{
    std::span<const uint8_t> slot = Slot(index);
    if (slot.empty())
        return 0.0;
    const CKVField& f = m_fields[size_t(index)];
    switch (f.Type()) {
    case kvInt32:
        return int32_t(LoadLE(slot, 4));
    case kvUInt32:
        return uint32_t(LoadLE(slot, 4));
    case kvInt16:
        return int16_t(LoadLE(slot, 2));
    case kvUInt16:
        return uint16_t(LoadLE(slot, 2));
    case kvInt8:
        return int8_t(slot[0]);
    case kvUInt8:
        return slot[0];
    case kvText:
        return LeadingNumber(TextBytes(slot, f.Width()));
    case kvFloat:
        return LoadFloat(slot);
    case kvBool:
        return slot[0] ? 1.0 : 0.0;
    case kvDouble:
        return LoadDouble(slot);
    case kvCurrency:
        return double(Currency(index)) / 10000.0;
    default:
        return 0.0;
    }
}

bool CKVRegister::IsFilled(int index) const
{
    std::span<const uint8_t> slot = Slot(index);
    if (slot.empty())
        return false;
    const CKVField& f = m_fields[size_t(index)];
    switch (f.Type()) {
    case kvInt32:
    case kvUInt32:
        return LoadLE(slot, 4) != 0;
    case kvInt16:
    case kvUInt16:
        return LoadLE(slot, 2) != 0;
    case kvText:
        return slot[0] != 0;
    case kvDate:
        return !CKVFecha(CKVFecha::Packed{slot[0], slot[1], slot[2], slot[3]}).IsEmpty();
    case kvFloat:
        return LoadFloat(slot) != 0.0f;
    case kvBool:
        return slot[0] != 0;
    case kvDouble:
        return LoadDouble(slot) != 0.0;
    case kvCurrency:
        return Currency(index) != 0;
    default:
        return false;  // 8-bit values and raw bytes always count as empty
    }
}

bool CKVRegister::IsFilled(const std::string& name) const
{
    const FieldRef ref = FindField(name);
    return ref.found && IsFilled(ref.index);
}

bool CKVRegister::IsBlank() const
{
    return std::all_of(m_record.begin(), m_record.end(), [](uint8_t b) { return b == 0; });
}

void CKVRegister::CopyFields(CKVRegister& target, bool onlyEmpty) const
{
    for (int i = 0; i < target.FieldCount(); ++i) {
        const FieldRef source = FindField(target.m_fields[size_t(i)].Name());
        if (!source.found || (onlyEmpty && target.IsFilled(i)))
            continue;
        if (target.m_fields[size_t(i)].Type() == kvText)
            target.SetText(i, GetText(source.index));
        else
            target.PutRaw(i, GetRaw(source.index));
    }
}

void CKVRegister::CopyFieldsTo(CKVRegister& target) const
{
    CopyFields(target, false);
}

void CKVRegister::CopyFieldsToEmpty(CKVRegister& target) const
{
    CopyFields(target, true);
}

bool CKVRegister::CheckIndexedFilled() const
{
    for (int i = 0; i < FieldCount(); ++i) {
        if (m_fields[size_t(i)].IsIndexed() && !IsFilled(i)) {
            m_prompts->Message(m_fields[size_t(i)].Name() + kMsgMustHoldData);
            return false;
        }
    }
    return true;
}

void CKVRegister::Serialize(ArchiveWriter& ar) const
{
    ar.WriteUInt16(uint16_t(m_fields.size()));
    ar.WriteUInt16(m_recordLength);
    for (const CKVField& f : m_fields)
        f.Serialize(ar);
    ar.WriteBytes(std::string_view(reinterpret_cast<const char*>(m_record.data()), m_record.size()));
}

void CKVRegister::Deserialize(ArchiveReader& ar)
{
    m_fields.clear();
    m_record.clear();
    m_laidOut = 0;
    m_recordLength = 0;
    const uint16_t count = ar.ReadUInt16();
    ar.ReadUInt16();  // the stored length; the layout recomputes it
    if (size_t(count) > ar.Remaining() / CKVField::kArchiveBytes)
        ar.Fail("más campos que bytes en el archivo");
    std::vector<CKVField> fields(count);
    for (CKVField& f : fields)
        f.Deserialize(ar);
    LayoutFields(fields);
    try {
        const std::string bytes = ar.ReadBytes(m_recordLength);
        // A record without fields has no storage to copy into (and no bytes to copy).
        std::copy(bytes.begin(), bytes.end(), m_record.begin());
    } catch (const ArchiveError&) {
        m_fields.clear();
        m_record.clear();
        m_laidOut = 0;
        m_recordLength = 0;
        throw;
    }
}
