#include "records/ReadDataRecord_Hash.h"

#include "foundation/Exception.h"
#include "foundation/TypedStream.h"
#include "records/StoredPayload.h"

#include <QBuffer>

namespace {
// Reads one stored value from bytes that must hold exactly that value.
void loadValueBytes(TReadDataField_Hash& field, QByteArray bytes, int index)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    {
        TReader reader(&buffer, 65536);
        field.loadFromStream(reader, index);
    }
    if (buffer.pos() != bytes.size())
        throw Exception(QStringLiteral("Stream read error"));
}

QString textOrNothing(const IReadDataField* field)
{
    try {
        return field ? QStringLiteral("=\"%1\"").arg(field->asString()) : QString();
    } catch (const std::exception&) {
        return QString();
    }
}
} // namespace

const QUuid TReadDataRecord_Hash::kClassId{0x949152D8, 0x7D47, 0x4321, 0x92, 0x9C, 0xDA, 0x43, 0x4C, 0x0D, 0x4E, 0x51};

void writeStoredRecord(const IReadDataRecord& record, TWriter& writer)
{
    writeClassHeader(writer, TReadDataRecord_Hash::kClassId);
    writer.writeInteger(1);
    for (int i = 0; i < record.fieldCount(); ++i)
        record.fieldAt(i)->saveToStream(writer, i);
    writeClassEnd(writer);
}

TReadDataRecord_Hash::TReadDataRecord_Hash(const TDatasetFieldDefList* definitions)
{
    setDefinitions(definitions);
}

void TReadDataRecord_Hash::setDefinitions(const TDatasetFieldDefList* definitions)
{
    m_definitions = definitions;
    createFields();
}

void TReadDataRecord_Hash::createFields()
{
    m_fields.clear();
    if (!m_definitions)
        return;
    for (int i = 0; i < m_definitions->defCount(); ++i)
        m_fields.push_back(std::make_unique<TReadDataField_Hash>(&m_definitions->defAt(i)));
}

IReadDataField* TReadDataRecord_Hash::fieldByName(const QString& name) const
{
    if (!m_definitions)
        return nullptr;
    const int index = m_definitions->findDefIndex(name);
    return index < 0 || index >= fieldCount() ? nullptr : m_fields[size_t(index)].get();
}

IReadDataField* TReadDataRecord_Hash::fieldAt(int index) const
{
    return hashFieldAt(index);
}

TReadDataField_Hash* TReadDataRecord_Hash::hashFieldAt(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_fields[size_t(index)].get();
}

void TReadDataRecord_Hash::loadFromStream(TReader& reader, bool headerConsumed)
{
    if (!m_definitions)
        throw Exception(QStringLiteral("call paramterError function name=%1,parameter=%2,error=%3!")
                            .arg(QStringLiteral("TReadDataRecord_Hash.loadFromStream"),
                                 QStringLiteral("FieldDefList"), QStringLiteral("paramter is null")));
    createFields();
    try {
        if (!headerConsumed)
            readClassHeader(reader, kClassId);
        readStreamVersion(reader, QStringLiteral("TReadDataRecord_Hash"), 1);
        for (int i = 0; i < fieldCount(); ++i)
            m_fields[size_t(i)]->loadFromStream(reader, i);
        readClassEnd(reader, QStringLiteral("TReadDataRecord_Hash"));
    } catch (...) {
        createFields();
        throw;
    }
}

void TReadDataRecord_Hash::copyValuesFrom(const IReadDataRecord& row, QStringList& failures)
{
    createFields();
    for (int i = 0; i < fieldCount(); ++i) {
        TReadDataField_Hash& target = *m_fields[size_t(i)];
        const IReadDataField* source = nullptr;
        try {
            if (i >= row.fieldCount())
                throw Exception(QStringLiteral("the row has no such field"));
            source = row.fieldAt(i);
            loadValueBytes(target, bytesWrittenBy([&](TWriter& w) { source->saveToStream(w, i); }), i);
        } catch (const std::exception& e) {
            target.setValue(true, QByteArray());
            failures << QStringLiteral("Field %1%2 stored as NULL: %3")
                            .arg(m_definitions->defAt(i).name, textOrNothing(source), QString::fromUtf8(e.what()));
        }
    }
    for (int i = fieldCount(); i < row.fieldCount(); ++i) {
        const IReadDataField* extra = row.fieldAt(i);
        failures << QStringLiteral("Field %1%2 not stored: the table has no such field")
                        .arg(extra->fieldName(), textOrNothing(extra));
    }
}
