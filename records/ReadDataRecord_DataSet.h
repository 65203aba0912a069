#pragma once
// Readers over a query's current row. Getters go straight to the row; the
// record owns its query and the source table's field metadata.

#include "records/FieldMetadata.h"
#include "records/ReadDataField.h"

#include <memory>
#include <vector>

class DbField;
class DbQuery;

class TReadDataField_DataSet : public IReadDataField {
public:
    // Fails with "not found field,filed index="N"" for an index outside the query's fields.
    TReadDataField_DataSet(const DbQuery* query, int index, const TFieldMetadata* metadata);

    bool isNull() const override;
    QByteArray asAnsiString() const override;
    TBcd asBCD() const override;
    bool asBoolean() const override;
    QByteArray asBytes() const override;
    double asDateTime() const override;
    TExtended asExtended() const override;
    double asFloat() const override;
    int32_t asInteger() const override;
    TSQLTimeStamp asSQLTimeStamp() const override;
    QString asString() const override;
    QString displayText() const override { return asString(); }
    TReadDataFieldType dataType() const override;
    QString fieldName() const override;
    bool isBlob() const override;
    int64_t asInt64() const override;
    void saveToStream(TWriter& writer, int index) const override;
    bool hasValue() const override;

    const TFieldMetadata* metadata() const { return m_metadata; }
    int fieldType() const;

private:
    const DbField& field() const;

    const DbQuery* m_query;            // not owned
    int m_index;
    const TFieldMetadata* m_metadata;  // not owned, may be none
};

class TReadDataRecord_DataSet : public IReadDataRecord {
public:
    TReadDataRecord_DataSet(std::unique_ptr<DbQuery> query, std::unique_ptr<TFieldMetadataList> metadata);
    ~TReadDataRecord_DataSet() override;

    int fieldCount() const override { return int(m_fields.size()); }
    // Compares the names of the attached metadata, ignoring case.
    IReadDataField* fieldByName(const QString& name) const override;
    IReadDataField* fieldAt(int index) const override;
    void saveToStream(TWriter& writer) const override { writeStoredRecord(*this, writer); }

    DbQuery* query() const { return m_query.get(); }
    TFieldMetadataList* metadata() const { return m_metadata.get(); }

private:
    std::unique_ptr<DbQuery> m_query;
    std::unique_ptr<TFieldMetadataList> m_metadata;
    std::vector<std::unique_ptr<TReadDataField_DataSet>> m_fields;
};
