#pragma once
#include <QString>

class TStringList;
class TFieldMetadataList;
class TDatasetFieldDefList;
class TIndexMetadataList;
class IReadDataRecord;
class TErrInfoList;

// Writes the rows of one source table into one destination table.
class IImportTable {
public:
    virtual ~IImportTable() = default;
    // fieldMap: destination=source lines, not owned; tableCreated is set when
    // this call created the table.
    virtual bool prepare(const QString& destTable, TStringList* fieldMap, int sourceKind,
                         TFieldMetadataList* sourceFields, TDatasetFieldDefList* sourceFieldDefs,
                         TIndexMetadataList* indexes, bool dropDestTable, bool clearDestTable,
                         bool& tableCreated, TErrInfoList* errors, bool keepTable) = 0;
    virtual bool writeRecord(int mode, IReadDataRecord& record, TErrInfoList* errors) = 0;
    virtual void finish(TErrInfoList* errors) = 0;
};

// Data every table writer keeps; implements none of the operations.
class TAbsImportTable : public IImportTable {
protected:
    QString m_tableName;                      // as configured, without time suffix
    TStringList* m_fieldMap = nullptr;        // not owned
    TIndexMetadataList* m_indexList = nullptr; // not owned
};
