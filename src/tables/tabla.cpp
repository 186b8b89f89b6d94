#include "tables/tabla.h"

#include "base/prompts.h"
#include "tables/table_header.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace {

// Causes shown in the creation message, numbered as the users' documentation lists them.
enum CreateCause {
    kCauseGeneric = 1,
    kCauseNotFound = 2,
    kCauseBadPath = 3,
    kCauseTooManyOpen = 4,
    kCauseAccessDenied = 5,
    kCauseDirectoryFull = 8,
    kCauseHardIo = 10,
    kCauseDiskFull = 13,
};

int CauseOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return kCauseBadPath;
    case EMFILE:
    case ENFILE:
        return kCauseTooManyOpen;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return kCauseAccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return kCauseDiskFull;
    case EIO:
        return kCauseHardIo;
    default:
        return kCauseGeneric;
    }
}

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// Moving the records after a deleted one is done in blocks of this size.
constexpr size_t kMoveBlockBytes = 64 * 1024;

}  // namespace

CTabla::~CTabla()
{
    Close();
}

std::string CTabla::IndexPath(int field) const
{
    return m_directory + Field(field).IndexName() + kIndexExtension;
}

uint64_t CTabla::RecordPosition(int record) const
{
    return uint64_t(m_dataOffset) + uint64_t(record - 1) * RecordLength();
}

void CTabla::ShowCreateError(const std::string& what, int error)
{
    GetPrompts().Message(kMsgCannotCreate + what + kMsgErrorNumber + std::to_string(CauseOf(error)));
}

void CTabla::ShowWriteError(const std::string& path)
{
    GetPrompts().Message(kMsgWriteFailed + path);
}

std::string CTabla::MakeUniqueFileName(const std::string& directory, const std::string& extension,
                                       const std::string& prefix)
{
    std::string folder = directory;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    const int digits = std::max(0, 8 - int(prefix.size()));
    for (int n = 1; n <= 999; ++n) {
        std::string number = std::to_string(n);
        if (int(number.size()) < digits)
            number.insert(0, size_t(digits) - number.size(), '0');
        const std::string base = prefix + number;
        // Names differing only in the case of the extension would be the same file where
        // names are compared without case; none of them may exist.
        if (RawFile::Exists(folder + base + extension) || RawFile::Exists(folder + base + Upper(extension)) ||
            RawFile::Exists(folder + base + Lower(extension)))
            continue;
        return base + extension;
    }
    return {};
}

bool CTabla::Create(const std::string& name, std::span<const CKVField> fields, bool temporary)
{
    // An open table is never re-pointed at another file: it must be closed first.
    if (IsOpen()) {
        GetPrompts().Message(kMsgAssigned + m_name + kMsgAssignedTail);
        return false;
    }
    const std::string dataPath = name + kDataExtension;
    if (RawFile::Exists(dataPath)) {
        GetPrompts().Message(dataPath + kMsgExists);
        return false;
    }
    if (fields.size() > 0xFFFF || !m_file.CreateNew(dataPath)) {
        const int error = fields.size() > 0xFFFF ? EINVAL : m_file.LastError();
        // A file that appeared since the check above is reported as existing.
        if (error == EEXIST)
            GetPrompts().Message(dataPath + kMsgExists);
        else
            ShowCreateError(name, error);
        return false;
    }
    // The table made the file and is its only writer: a copy in memory stays true.
    if (m_cacheLimit > 0)
        m_file.KeepCopy(m_cacheLimit);
    m_temporary = temporary;
    m_activeField = -1;
    m_name = name;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(dataPath, ec);
    m_directory = full.parent_path().string();
    constexpr char kSeparator = char(std::filesystem::path::preferred_separator);
    if (m_directory.empty() || (m_directory.back() != '/' && m_directory.back() != kSeparator))
        m_directory += kSeparator;
    m_title = full.filename().string();

    m_indexCount = 0;
    m_indexedCount = 0;
    m_dataOffset = 0;
    m_orderPosition = 0;
    LayoutFields(fields);
    m_indexes.clear();
    m_indexes.resize(size_t(FieldCount()));

    std::vector<std::string> createdIndexes;
    bool ok = CreateIndexFiles(createdIndexes);
    if (ok) {
        const std::vector<uint8_t> header = BuildTableHeader(Fields());
        m_dataOffset = uint32_t(header.size());
        if (!m_file.WriteAt(0, header)) {
            ShowCreateError(name, m_file.LastError());
            ok = false;
        }
    }
    if (ok) {
        m_slotCount = 0;
        m_current = 0;
        m_creating = true;
        ok = AppendRecord();
        if (!ok)
            ShowCreateError(name, m_file.LastError());
    }
    if (!ok) {
        // Nothing of a failed creation stays behind.
        m_file.Close();
        m_indexes.clear();
        RawFile::Remove(dataPath);
        for (const std::string& path : createdIndexes)
            RawFile::Remove(path);
        m_name.clear();
        m_directory.clear();
        m_title.clear();
        m_temporary = false;
        m_creating = false;
        m_slotCount = 0;
        m_current = 0;
        return false;
    }
    m_indexedCount = 0;
    return true;
}

bool CTabla::CreateIndexFiles(std::vector<std::string>& created)
{
    for (int i = 0; i < FieldCount(); ++i) {
        if (!Field(i).IsIndexed())
            continue;
        const bool generate = Field(i).IndexName().empty();
        auto index = std::make_unique<IndexFile>(Field(i).Type(), Field(i).Width());
        RawFile& file = index->file;
        while (true) {
            if (generate) {
                const std::string generated = MakeUniqueFileName(m_directory, kIndexExtension, kGeneratedPrefix);
                if (generated.empty()) {
                    ShowCreateError(m_directory + kGeneratedPrefix + "??????" + kIndexExtension, ENOSPC);
                    return false;
                }
                SetFieldIndexName(i, generated.substr(0, generated.size() - 4));
            }
            const std::string path = IndexPath(i);
            if (file.CreateNew(path)) {
                created.push_back(path);
                break;
            }
            // Another user took the generated name between the check and the creation:
            // the next free name is tried. A given name that exists is never reused.
            if (!(generate && file.LastError() == EEXIST)) {
                ShowCreateError(path, file.LastError());
                return false;
            }
        }
        m_indexes[size_t(i)] = std::move(index);
        ++m_indexCount;
    }
    return true;
}

void CTabla::Close()
{
    if (!IsOpen())
        return;
    if (!m_temporary) {
        // A table that is kept leaves every index written whole and everything on the disk.
        for (int i = 0; i < int(m_indexes.size()); ++i) {
            if (PresentIndex(i) && !ReplaceIndexFile(i))
                ShowWriteError(IndexPath(i));
        }
        if (!m_file.Flush())
            ShowWriteError(DataPath());
    }
    m_file.Close();
    m_indexes.clear();
    if (m_temporary) {
        RawFile::Remove(DataPath());
        for (int i = 0; i < FieldCount(); ++i) {
            if (Field(i).IsIndexed() && !Field(i).IndexName().empty())
                RawFile::Remove(IndexPath(i));
        }
    }
    m_name.clear();
    m_directory.clear();
    m_title.clear();
    m_activeField = -1;
    m_temporary = false;
    m_current = 0;
    m_slotCount = 0;
    m_orderPosition = 0;
    m_indexedCount = 0;
}

int CTabla::GoToRecord(int record)
{
    if (!IsOpen() || record < 1 || record > m_slotCount)
        return -1;
    m_readBuffer.resize(RecordLength());
    if (!m_file.ReadAt(RecordPosition(record), m_readBuffer)) {
        GetPrompts().Message(kMsgReadFailed + DataPath());
        return -1;
    }
    SetBuffer(m_readBuffer);
    m_current = record;
    return 1;
}

bool CTabla::ReadRecord()
{
    return GoToRecord(m_current) == 1;
}

bool CTabla::WriteSlot(int record, std::span<const uint8_t> bytes)
{
    return m_file.WriteAt(RecordPosition(record), bytes);
}

bool CTabla::WriteRecord()
{
    if (!IsOpen() || m_current < 1 || m_current > m_slotCount)
        return false;
    if (!WriteSlot(m_current, Buffer())) {
        ShowWriteError(DataPath());
        return false;
    }
    return GoToRecord(m_current) == 1;
}

CTabla::IndexFile* CTabla::PresentIndex(int field)
{
    if (field < 0 || size_t(field) >= m_indexes.size() || !m_indexes[size_t(field)] || !IsUsable(field))
        return nullptr;
    IndexFile* index = m_indexes[size_t(field)].get();
    // An index file removed or replaced behind the table's back is not written to.
    return index->file.IsAt(IndexPath(field)) ? index : nullptr;
}

bool CTabla::WriteIndexFrom(IndexFile& index, size_t slot, bool shrinks)
{
    // The entries before the slot are already in the file unless a write failed earlier.
    if (index.stale) {
        slot = 0;
        shrinks = true;
    }
    const CKVIndex& e = index.entries;
    const bool ok = index.file.WriteAt(e.FilePosition(slot), e.BytesFrom(slot)) &&
                    (!shrinks || index.file.Truncate(e.FilePosition(e.Count())));
    index.stale = !ok;
    return ok;
}

bool CTabla::ReplaceIndexFile(int field)
{
    IndexFile& index = *m_indexes[size_t(field)];
    const std::string path = IndexPath(field);
    if (RawFile::ReplaceContents(path, index.entries.Bytes())) {
        // The handle still holds the file that was replaced: it is opened again on the new one.
        index.stale = !index.file.Open(path);
        return !index.stale;
    }
    // The folder took no new file: the index is written over its old bytes instead.
    return WriteIndexFrom(index, 0, true);
}

bool CTabla::AppendRecord()
{
    if (!IsOpen())
        return false;
    if (m_current != m_slotCount) {
        GetPrompts().Message(m_name + "\n" + kMsgOnlyEmptySlot);
        return false;
    }
    if (m_creating) {
        // The first blank slot of a new table: no checks and no index work.
        ClearRecord();
        if (!WriteSlot(m_slotCount + 1, Buffer()))
            return false;
        ++m_slotCount;
        m_current = m_slotCount;
        m_indexedCount = 0;
        m_creating = false;
        return true;
    }
    if (IsBlank() || !CheckIndexedFilled())
        return false;
    return UpdateIndexesForAdd(m_current);
}

bool CTabla::UpdateIndexesForAdd(int record)
{
    // Every unique key is checked before anything is written, so that a refused add
    // leaves the data file and all indexes exactly as they were and the refused values
    // stay in the buffer.
    struct Pending {
        int field;
        IndexFile* index;
        size_t slot;
    };
    std::vector<Pending> pending;
    for (int i = 0; i < FieldCount(); ++i) {
        const CKVField& f = Field(i);
        if (!f.IsIndexed() || !IsUsable(i))
            continue;
        IndexFile* index = PresentIndex(i);
        if (!index) {
            GetPrompts().Message(kMsgNoIndex + IndexPath(i) + kMsgNoIndexTable + m_title);
            continue;
        }
        const CKVIndex::Place place = index->entries.Search(Buffer().subspan(f.Offset(), f.Width()));
        if (place.equal && (f.Flags() & kvIndexUnique)) {
            GetPrompts().Message(f.Name() + kMsgDuplicate + "\n" + m_name);
            return false;
        }
        pending.push_back({i, index, place.slot});
    }

    // The record goes into the slot and a fresh blank slot follows it, in one write.
    const size_t length = RecordLength();
    m_slotPair.assign(2 * length, 0);
    std::copy(Buffer().begin(), Buffer().end(), m_slotPair.begin());
    const std::span<const uint8_t> blank = std::span<const uint8_t>(m_slotPair).subspan(length);
    if (!m_file.WriteAt(RecordPosition(record), m_slotPair)) {
        ShowWriteError(DataPath());
        WriteSlot(record, blank);
        m_file.Truncate(RecordPosition(record + 1));
        return false;
    }

    // Only the entries from the insertion slot on move, so only they are written.
    size_t written = 0;
    for (; written < pending.size(); ++written) {
        Pending& p = pending[written];
        const CKVField& f = Field(p.field);
        p.index->entries.Insert(p.slot, uint32_t(record), Buffer().subspan(f.Offset(), f.Width()));
        if (!WriteIndexFrom(*p.index, p.slot, false))
            break;
    }
    if (written < pending.size()) {
        // An index could not be written: the add is undone in every index it reached
        // and in the data file.
        ShowWriteError(IndexPath(pending[written].field));
        for (size_t k = 0; k <= written; ++k) {
            pending[k].index->entries.EraseAt(pending[k].slot);
            WriteIndexFrom(*pending[k].index, pending[k].slot, true);
        }
        WriteSlot(record, blank);
        m_file.Truncate(RecordPosition(record + 1));
        return false;
    }

    // The blank slot just written becomes the current record; an active order is the
    // index itself, so it is already up to date and its position is kept.
    m_slotCount = record + 1;
    m_indexedCount = m_slotCount - 1;
    ClearRecord();
    m_current = m_slotCount;
    return true;
}

bool CTabla::HasUsableIndex() const
{
    for (int i = 0; i < int(m_indexes.size()); ++i) {
        if (m_indexes[size_t(i)] && IsUsable(i))
            return true;
    }
    return false;
}

bool CTabla::AppendRepeated(int count)
{
    if (!IsOpen())
        return false;
    if (count <= 1 || m_creating || HasUsableIndex()) {
        // Every add has its own index work (and may be refused by a unique key).
        const std::vector<uint8_t> values(Buffer().begin(), Buffer().end());
        for (int n = 0; n < count; ++n) {
            SetBuffer(values);
            if (!AppendRecord())
                return false;
        }
        return true;
    }
    if (m_current != m_slotCount) {
        GetPrompts().Message(m_name + "\n" + kMsgOnlyEmptySlot);
        return false;
    }
    if (IsBlank() || !CheckIndexedFilled())
        return false;
    // The records fill the slot and the ones after it; a fresh blank slot follows them.
    const size_t length = RecordLength();
    std::vector<uint8_t> bytes((size_t(count) + 1) * length, 0);
    for (int n = 0; n < count; ++n)
        std::copy(Buffer().begin(), Buffer().end(), bytes.begin() + ptrdiff_t(size_t(n) * length));
    const int record = m_current;
    if (!m_file.WriteAt(RecordPosition(record), bytes)) {
        ShowWriteError(DataPath());
        WriteSlot(record, std::span<const uint8_t>(bytes).subspan(size_t(count) * length));
        m_file.Truncate(RecordPosition(record + 1));
        return false;
    }
    m_slotCount = record + count;
    m_indexedCount = m_slotCount - 1;
    ClearRecord();
    m_current = m_slotCount;
    return true;
}

bool CTabla::AppendCopy(const CKVRegister& record)
{
    if (!IsOpen() || record.RecordLength() != RecordLength())
        return false;
    SetBuffer(record.Buffer());
    return AppendRecord();
}

bool CTabla::CopyLayoutTo(CKVRegister& record) const
{
    if (!IsOpen())
        return false;
    record.LayoutFields(Fields());
    return true;
}

bool CTabla::SelectOrder(const std::string& fieldName, int fieldNumber)
{
    if (!IsOpen())
        return false;
    m_orderPosition = 0;
    m_activeField = -1;
    int field;
    if (fieldNumber != -1) {
        field = fieldNumber;
    } else if (fieldName.empty()) {
        // The default index: the first field whose flags hold the default bit.
        field = -1;
        for (int i = 0; i < FieldCount() && field < 0; ++i) {
            if (Field(i).Flags() & kvIndexDefault)
                field = i;
        }
    } else {
        const FieldRef ref = FindField(fieldName);
        if (!ref.found)
            return false;
        field = ref.index;
    }
    if (field < 0 || field >= FieldCount() || !IsUsable(field) || !Field(field).IsIndexed())
        return false;
    const IndexFile* index = PresentIndex(field);
    if (!index)
        return false;
    if (m_slotCount <= 1) {
        m_orderPosition = 1;
        m_activeField = field;
        return true;
    }
    if (m_current == m_slotCount)
        GoToRecord(m_slotCount - 1);
    const size_t place = index->entries.FindRecord(uint32_t(m_current));
    if (place == index->entries.Count())
        return true;
    m_orderPosition = int(place) + 1;
    m_activeField = field;
    return true;
}

int CTabla::GoToOrderPosition(int position)
{
    if (!IsOpen() || m_activeField < 0 || size_t(m_activeField) >= m_indexes.size() ||
        !m_indexes[size_t(m_activeField)] || position < 1 || position >= m_slotCount)
        return -1;
    const CKVIndex& order = m_indexes[size_t(m_activeField)]->entries;
    if (size_t(position) > order.Count())
        return -1;
    const uint32_t record = order.RecordAt(size_t(position - 1));
    if (record < 1 || record >= uint32_t(m_slotCount) || GoToRecord(int(record)) != 1)
        return -1;
    m_orderPosition = position;
    return 1;
}

int CTabla::DeleteRecord(bool confirm)
{
    if (!IsOpen() || m_current < 1 || m_current >= m_slotCount)
        return -1;
    if (confirm && !GetPrompts().AskYesNo(kAskDelete))
        return -1;
    const int deleted = m_current;
    // The records after it, the new record slot included, move one record toward the start.
    const uint64_t length = RecordLength();
    uint64_t from = RecordPosition(deleted + 1);
    const uint64_t end = RecordPosition(m_slotCount + 1);
    std::vector<uint8_t> block;
    while (from < end) {
        block.resize(size_t(std::min<uint64_t>(kMoveBlockBytes, end - from)));
        if (!m_file.ReadAt(from, block) || !m_file.WriteAt(from - length, block)) {
            ShowWriteError(DataPath());
            return -1;
        }
        from += block.size();
    }
    if (!m_file.Truncate(end - length)) {
        ShowWriteError(DataPath());
        return -1;
    }
    --m_slotCount;

    for (int i = 0; i < int(m_indexes.size()); ++i) {
        if (!m_indexes[size_t(i)] || !IsUsable(i))
            continue;
        // The entries always follow the records; a file gone missing is not made again.
        m_indexes[size_t(i)]->entries.RemoveRecord(uint32_t(deleted));
        if (PresentIndex(i) && !ReplaceIndexFile(i))
            ShowWriteError(IndexPath(i));
    }
    GoToRecord(deleted);
    m_indexedCount = std::max(0, m_indexedCount - 1);
    if (m_activeField >= 0)
        SelectOrder(Field(m_activeField).Name(), m_activeField);
    return 1;
}

bool CTabla::EmptyTable()
{
    if (!IsOpen())
        return false;
    ClearRecord();
    if (!m_file.Truncate(RecordPosition(2)) || !WriteSlot(1, Buffer())) {
        ShowWriteError(DataPath());
        return false;
    }
    m_current = 1;
    m_slotCount = 1;
    m_indexedCount = 0;
    // A copy dropped when the file outgrew it (or a write failed) is taken again from
    // the file, small once more.
    if (m_cacheLimit > 0 && !m_file.HasCopy())
        m_file.KeepCopy(m_cacheLimit);
    for (int i = 0; i < int(m_indexes.size()); ++i) {
        if (!m_indexes[size_t(i)])
            continue;
        m_indexes[size_t(i)]->entries.Clear();
        if (IndexFile* index = PresentIndex(i); index && !WriteIndexFrom(*index, 0, true))
            ShowWriteError(IndexPath(i));
    }
    if (m_activeField >= 0)
        SelectOrder(Field(m_activeField).Name(), m_activeField);
    return true;
}
