#pragma once
// The per-table driver of a run: holds the current table's names, selected
// fields and field map, owns the destination importer of that table, and
// supplies the callbacks the source connection drives while it reads.

#include "foundation/StringList.h"
#include "shell/IDBConnection.h"
#include "shell/IImportTable.h"

#include <QString>

#include <memory>

class TCopyMapping;

class TDoExport_CopyConvert {
public:
    explicit TDoExport_CopyConvert(TCopyMapping* mapping); // not owned
    ~TDoExport_CopyConvert();
    TDoExport_CopyConvert(const TDoExport_CopyConvert&) = delete;
    TDoExport_CopyConvert& operator=(const TDoExport_CopyConvert&) = delete;

    // fieldMatch: source field=destination field lines, or none. Replaces the
    // importer by a new one of the destination connection.
    void prepareTable(const QString& source, const QString& destination, const TStringList* fieldMatch);

    bool onBeginTable(int sourceKind, TDatasetFieldDefList& fieldDefs, TFieldMetadataList& fields,
                      TIndexMetadataList* indexes, TErrInfoList* errors);
    bool onRecord(IReadDataRecord& record, TErrInfoList* errors);
    // The importer's closing step (transaction, indexes).
    void finishTable(TErrInfoList* errors);

    TBeginTableCallback beginTableCallback();
    TRecordCallback recordCallback();

    const QString& sourceName() const { return m_sourceName; }
    const QString& destName() const { return m_destName; }
    const TStringList& selectedFields() const { return m_selectedFields; }
    // destination=source lines; a custom statement's read fills it.
    TStringList& fieldMap() { return m_fieldMap; }
    IImportTable* importer() const { return m_importer.get(); }

    int failedRecords = 0; // rows refused and recorded
    int copiedRecords = 0; // rows whose transaction committed
    bool tableCreated = false;

private:
    int destKind() const;
    void mapIndexColumns(TIndexMetadataList* indexes) const;
    void showErrorCount(int count) const;

    TCopyMapping* m_mapping; // not owned
    QString m_sourceName;
    QString m_destName;
    TStringList m_selectedFields;
    TStringList m_fieldMap;
    QString m_copyDataFormat; // looked up once per table, used for every row
    int m_rowsSeen = 0;       // rows handed to the importer, for the progress text
    std::unique_ptr<IImportTable> m_importer;
};
