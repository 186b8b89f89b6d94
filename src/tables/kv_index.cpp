#include "tables/kv_index.h"

#include "tables/kv_fecha.h"
#include "tables/kv_field.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

uint32_t Load32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void Store32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

template <typename T>
int Sign(T a, T b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

// A key shorter than its type needs (a corrupt width) reads as zeros past its end.
std::array<uint8_t, 4> First4(std::span<const uint8_t> key)
{
    std::array<uint8_t, 4> out{};
    std::copy_n(key.begin(), std::min<size_t>(4, key.size()), out.begin());
    return out;
}

}  // namespace

void CKVIndex::Load(std::span<const uint8_t> bytes, size_t maxEntries)
{
    const size_t entries = std::min(bytes.size() / EntryBytes(), maxEntries);
    m_bytes.assign(bytes.begin(), bytes.begin() + ptrdiff_t(entries * EntryBytes()));
}

uint32_t CKVIndex::RecordAt(size_t entry) const
{
    return Load32(m_bytes.data() + entry * EntryBytes());
}

std::span<const uint8_t> CKVIndex::KeyAt(size_t entry) const
{
    return std::span<const uint8_t>(m_bytes).subspan(entry * EntryBytes() + 4, m_width);
}

size_t CKVIndex::FindRecord(uint32_t record) const
{
    const size_t n = Count();
    for (size_t i = 0; i < n; ++i) {
        if (RecordAt(i) == record)
            return i;
    }
    return n;
}

int CKVIndex::CompareKeys(int32_t type, uint16_t width, std::span<const uint8_t> a, std::span<const uint8_t> b)
{
    const auto a4 = First4(a);
    const auto b4 = First4(b);
    switch (type) {
    case kvInt32:
        return Sign(int32_t(Load32(a4.data())), int32_t(Load32(b4.data())));
    case kvUInt32:
        return Sign(Load32(a4.data()), Load32(b4.data()));
    case kvInt16:
        return Sign(int16_t(a4[0] | (a4[1] << 8)), int16_t(b4[0] | (b4[1] << 8)));
    case kvUInt16:
        return Sign(uint16_t(a4[0] | (a4[1] << 8)), uint16_t(b4[0] | (b4[1] << 8)));
    case kvText: {
        const size_t n = std::min<size_t>({width, a.size(), b.size()});
        for (size_t i = 0; i < n; ++i) {
            if (a[i] != b[i])
                return a[i] < b[i] ? -1 : 1;
            if (a[i] == 0)
                return 0;
        }
        return 0;
    }
    case kvDate: {
        const int days = CKVFecha(a4).DaysSince(CKVFecha(b4));
        return Sign(days, 0);
    }
    case kvFloat: {
        float fa, fb;
        const uint32_t ba = Load32(a4.data()), bb = Load32(b4.data());
        std::memcpy(&fa, &ba, 4);
        std::memcpy(&fb, &bb, 4);
        // The difference is cut toward zero: keys less than 1 apart are equal.
        const double diff = std::trunc(double(fa - fb));
        return std::isnan(diff) ? 0 : Sign(diff, 0.0);
    }
    default:
        return 0;
    }
}

CKVIndex::Place CKVIndex::Search(std::span<const uint8_t> key) const
{
    size_t lo = 0;
    size_t hi = Count() + 1;
    while (lo != hi && hi != 1) {
        const size_t mid = lo + (hi - lo) / 2;  // 1-based entry, always within 1..Count()
        const int cmp = CompareKeys(m_type, m_width, key, KeyAt(mid - 1));
        if (cmp == 0)
            return {mid, true};
        if (cmp < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return {hi - 1, false};
}

void CKVIndex::Insert(size_t slot, uint32_t record, std::span<const uint8_t> key)
{
    const size_t at = std::min(slot, Count()) * EntryBytes();
    m_bytes.insert(m_bytes.begin() + ptrdiff_t(at), EntryBytes(), uint8_t(0));
    Store32(m_bytes.data() + at, record);
    std::copy_n(key.begin(), std::min<size_t>(key.size(), m_width), m_bytes.begin() + ptrdiff_t(at + 4));
}

void CKVIndex::EraseAt(size_t slot)
{
    if (slot >= Count())
        return;
    const auto at = m_bytes.begin() + ptrdiff_t(slot * EntryBytes());
    m_bytes.erase(at, at + ptrdiff_t(EntryBytes()));
}

std::span<const uint8_t> CKVIndex::BytesFrom(size_t slot) const
{
    return std::span<const uint8_t>(m_bytes).subspan(std::min(slot, Count()) * EntryBytes());
}

void CKVIndex::RemoveRecord(uint32_t record)
{
    const size_t size = EntryBytes();
    size_t out = 0;
    for (size_t in = 0; in + size <= m_bytes.size(); in += size) {
        const uint32_t r = Load32(m_bytes.data() + in);
        if (r == record)
            continue;
        if (out != in)
            std::memmove(m_bytes.data() + out, m_bytes.data() + in, size);
        if (r > record)
            Store32(m_bytes.data() + out, r - 1);
        out += size;
    }
    m_bytes.resize(out);
}
