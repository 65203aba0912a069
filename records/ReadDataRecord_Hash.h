#pragma once
// A stored record: one stored field value per definition of its definition
// list (not owned), in definition order. Read back from error files.

#include "foundation/StreamObjectFactory.h"
#include "records/DatasetFieldDef.h"
#include "records/ReadDataField.h"
#include "records/ReadDataField_Hash.h"

#include <QStringList>
#include <memory>
#include <vector>

class TReadDataRecord_Hash : public IReadDataRecord, public TStreamObject {
public:
    static const QUuid kClassId; // {949152D8-7D47-4321-929C-DA434C0D4E51}

    TReadDataRecord_Hash() = default; // as the class-id factory makes it: give definitions before loading
    explicit TReadDataRecord_Hash(const TDatasetFieldDefList* definitions);

    void setDefinitions(const TDatasetFieldDefList* definitions);
    const TDatasetFieldDefList* definitions() const { return m_definitions; }

    int fieldCount() const override { return int(m_fields.size()); }
    IReadDataField* fieldByName(const QString& name) const override;
    IReadDataField* fieldAt(int index) const override;
    void saveToStream(TWriter& writer) const override { writeStoredRecord(*this, writer); }
    TReadDataField_Hash* hashFieldAt(int index) const;

    // Frees the current values and reads the stored record form. On failure
    // the record keeps nothing of what it read.
    void loadFromStream(TReader& reader, bool headerConsumed);
    // Takes the current values of a row laid out by the same definitions,
    // each through its stored form and checked as a reader checks it. A value
    // that cannot be read or stored stays NULL and gets one line in failures,
    // with its text where the row still gives one.
    void copyValuesFrom(const IReadDataRecord& row, QStringList& failures);

    QUuid classId() const override { return kClassId; }
    void saveToWriter(TWriter& writer) const override { saveToStream(writer); }
    void loadFromReader(TReader& reader, bool headerConsumed) override { loadFromStream(reader, headerConsumed); }

private:
    void createFields();

    const TDatasetFieldDefList* m_definitions = nullptr; // not owned
    std::vector<std::unique_ptr<TReadDataField_Hash>> m_fields;
};
