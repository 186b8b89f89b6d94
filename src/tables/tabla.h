#pragma once
// A table: a record bound to a data file of fixed-length records and to one sorted index
// file per indexed field. A table is always created new. The data file always ends with
// one blank record, the new record slot: adding a record fills that slot and appends a
// fresh one, so records 1 .. SlotCount() - 1 are real.
//
// Record-moving operations give 1 or -1; the others true or false. Every message goes
// through the prompts given at construction.
//
// Each index is kept in memory from the creation on, beside an open handle on its file.
// An add writes only the entries from its insertion slot to the end, so the file is the
// same after every add as if it had been rewritten whole; a delete and the closing of a
// table that is kept rewrite it whole through a temporary file renamed over it.
#include "tables/kv_index.h"
#include "tables/kv_register.h"
#include "tables/raw_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CTabla : public CKVRegister {
public:
    static constexpr const char* kMsgAssigned = "Esta tabla está asignada a ";
    static constexpr const char* kMsgAssignedTail = ", ciérrela primero";
    static constexpr const char* kMsgExists = " ya existe";
    static constexpr const char* kMsgCannotCreate = "No se pudo crear ";
    static constexpr const char* kMsgErrorNumber = " error No.";
    static constexpr const char* kMsgOnlyEmptySlot = "Sólo puedo adicionar un registro previamente vacío";
    static constexpr const char* kMsgDuplicate = " repetido, no puedo adicionar";
    static constexpr const char* kMsgNoIndex = "No existe el índice ";
    static constexpr const char* kMsgNoIndexTable = "\nde la tabla ";
    static constexpr const char* kAskDelete = "¿Está seguro de borrar el registro actual?";
    static constexpr const char* kMsgWriteFailed = "No se pudo escribir en ";
    static constexpr const char* kMsgReadFailed = "No se pudo leer ";

    static constexpr const char* kDataExtension = ".DAT";
    static constexpr const char* kIndexExtension = ".IDX";
    static constexpr const char* kGeneratedPrefix = "KV";

    // The data file is kept in memory as well, up to this size, so that going to a record
    // reads no file; every change is still written to the file as it happens.
    static constexpr uint64_t kCachedDataBytes = uint64_t(1) << 20;

    CTabla(Prompts& prompts, const Locale& locale) : CKVRegister(prompts, locale) {}
    ~CTabla() override;

    // Creates `name` + ".DAT" (the name may hold a path) and an empty index file for each
    // indexed field, generating "KV000001"-style index names where none is given.
    bool Create(const std::string& name, std::span<const CKVField> fields, bool temporary);
    // A temporary table's files are deleted here.
    void Close();
    // The most of the data file kept in memory, for the tables created from now on; 0
    // reads every record from the file.
    void SetDataCacheLimit(uint64_t bytes) { m_cacheLimit = bytes; }
    bool DataIsCached() const { return m_file.HasCopy(); }

    int GoToRecord(int record);
    bool WriteRecord();
    bool ReadRecord();
    bool AppendRecord();
    // Adds the buffer `count` times in a row, as that many AppendRecord calls would; a
    // table without indexes writes them all, and the new blank slot, at once.
    bool AppendRepeated(int count);
    // Copies a record of the same record length into the buffer, then adds it.
    bool AppendCopy(const CKVRegister& record);
    // Gives the other record this table's fields, laid out again, and a zeroed buffer.
    bool CopyLayoutTo(CKVRegister& record) const;
    bool EmptyTable();
    // Loads a field's index as the active order: by name, or by number when one is given;
    // an empty name selects the first field flagged as the default index.
    bool SelectOrder(const std::string& fieldName, int fieldNumber = -1);
    int GoToOrderPosition(int position);
    int DeleteRecord(bool confirm);

    // The first of prefix + n (zero-padded to 8 characters) + extension, n = 1 .. 999,
    // that names nothing in the folder whatever the case of its extension; without the
    // folder. Empty when all are taken.
    static std::string MakeUniqueFileName(const std::string& directory, const std::string& extension,
                                          const std::string& prefix);

    bool IsOpen() const { return m_file.IsOpen(); }
    int CurrentRecord() const { return m_current; }
    int SlotCount() const { return m_slotCount; }
    int OrderPosition() const { return m_orderPosition; }
    int ActiveIndexField() const { return m_activeField; }
    int IndexedCount() const { return m_indexedCount; }
    int IndexCount() const { return m_indexCount; }
    uint32_t DataOffset() const { return m_dataOffset; }
    bool IsTemporary() const { return m_temporary; }
    const std::string& TableName() const { return m_name; }
    const std::string& Directory() const { return m_directory; }
    const std::string& Title() const { return m_title; }
    std::string DataPath() const { return m_name + kDataExtension; }
    std::string IndexPath(int field) const;

private:
    // One index: its entries as they are in its file, and the open file.
    struct IndexFile {
        IndexFile(int32_t type, uint16_t width) : entries(type, width) {}
        CKVIndex entries;
        RawFile file;
        // A write failed: the file no longer matches the entries and is written whole
        // at the next change.
        bool stale = false;
    };

    uint64_t RecordPosition(int record) const;
    bool WriteSlot(int record, std::span<const uint8_t> bytes);
    bool CreateIndexFiles(std::vector<std::string>& created);
    void ShowCreateError(const std::string& what, int error);
    // The index of a field whose file is still where it was made, or null.
    IndexFile* PresentIndex(int field);
    // Writes the entries from a slot to the end; `shrinks` when the file may hold more.
    bool WriteIndexFrom(IndexFile& index, size_t slot, bool shrinks);
    bool ReplaceIndexFile(int field);
    bool UpdateIndexesForAdd(int record);
    bool HasUsableIndex() const;
    void ShowWriteError(const std::string& path);

    RawFile m_file;
    std::string m_name;
    std::string m_directory;
    std::string m_title;
    uint16_t m_indexCount = 0;
    int32_t m_indexedCount = 0;
    uint32_t m_dataOffset = 0;
    bool m_creating = false;
    bool m_temporary = false;
    std::vector<std::unique_ptr<IndexFile>> m_indexes;  // by field number; null without index
    int m_activeField = -1;
    int m_current = 0;
    int m_slotCount = 0;
    int m_orderPosition = 0;
    std::vector<uint8_t> m_slotPair;  // an added record and the blank slot after it
    std::vector<uint8_t> m_readBuffer;  // a record on its way into the buffer
    uint64_t m_cacheLimit = kCachedDataBytes;
};
