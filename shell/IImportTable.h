#pragma once
#include <QString>

class TStringList;
class TFieldMetadataList;
class TDatasetFieldDefList;
class TIndexMetadataList;
class IReadDataRecord;
class TErrInfoList;

// What a table writer is given for one table; nothing of it is owned.
struct TImportTableSource {
    TStringList* fieldMap = nullptr;               // destination=source lines
    int sourceKind = 0;                            // database kind code of the source
    TFieldMetadataList* sourceFields = nullptr;
    TDatasetFieldDefList* sourceFieldDefs = nullptr;
    TIndexMetadataList* indexes = nullptr;         // none: no indexes are made
};

// How an existing destination table is treated before the rows come.
struct TImportTableOptions {
    bool dropDestTable = false;
    bool clearDestTable = false;
    // Write into the table as it is: no drop, no clear, no create.
    bool keepTable = false;
};

enum class TWriteMode {
    Insert,
    UpdateByKey, // update the row with the record's primary key values
    CheckKey,    // only checks that the table has a primary key; writes nothing
};

// Writes the rows of one source table into one destination table.
class IImportTable {
public:
    virtual ~IImportTable() = default;
    // tableCreated is set when this call created the table.
    virtual bool prepare(const QString& destTable, const TImportTableSource& source,
                         const TImportTableOptions& options, bool& tableCreated, TErrInfoList* errors) = 0;
    virtual bool writeRecord(TWriteMode mode, IReadDataRecord& record, TErrInfoList* errors) = 0;
    // Commits the open transaction and makes the indexes.
    virtual void finish(TErrInfoList* errors) = 0;
    // Rows of this table whose transaction committed: the rows copied.
    virtual int committedRows() const = 0;
    // The link to the destination was lost and could not be restored: the
    // failure is recorded once, and nothing more can be written.
    virtual bool connectionLost() const = 0;
    // The rows the destination table held when prepare found it and neither
    // dropped nor emptied it (a rerun appends to them); 0 otherwise.
    virtual qint64 rowsHeldBefore() const = 0;
};

// Data every table writer keeps; implements none of the operations.
class TAbsImportTable : public IImportTable {
protected:
    QString m_tableName;                      // as configured, without time suffix
    TStringList* m_fieldMap = nullptr;        // not owned
    TIndexMetadataList* m_indexList = nullptr; // not owned
};
