#include "records/ReadDataRecord_DataSet.h"

#include "foundation/Exception.h"
#include "platform/db/DbQuery.h"
#include "records/StoredPayload.h"

// ---- TReadDataField_DataSet ----

TReadDataField_DataSet::TReadDataField_DataSet(const DbQuery* query, int index, const TFieldMetadata* metadata)
    : m_query(query), m_index(index), m_metadata(metadata)
{
    if (index < 0 || index >= query->fieldCount())
        throw Exception(QStringLiteral("not found field,filed index=\"%1\"").arg(index));
}

const DbField& TReadDataField_DataSet::field() const
{
    return m_query->field(m_index);
}

int TReadDataField_DataSet::fieldType() const
{
    return field().dataType();
}

bool TReadDataField_DataSet::isNull() const { return field().isNull(); }
QString TReadDataField_DataSet::asString() const { return field().asString(); }
QByteArray TReadDataField_DataSet::asAnsiString() const { return field().asString().toUtf8(); }
bool TReadDataField_DataSet::asBoolean() const { return field().asBoolean(); }
QByteArray TReadDataField_DataSet::asBytes() const { return field().asBytes(); }
double TReadDataField_DataSet::asFloat() const { return field().asFloat(); }
QString TReadDataField_DataSet::fieldName() const { return field().name(); }
bool TReadDataField_DataSet::isBlob() const { return field().isLargeObject(); }

TReadDataFieldType TReadDataField_DataSet::dataType() const
{
    return requireReadDataFieldType(field().name(), field().dataType());
}

int32_t TReadDataField_DataSet::asInteger() const
{
    const DbField& f = field();
    if (f.dataType() == ftBoolean)
        return f.asBoolean() ? 1 : 0;
    return f.asInteger();
}

int64_t TReadDataField_DataSet::asInt64() const
{
    // The whole value for every kind: exact numbers beyond 32 bits stay readable.
    const DbField& f = field();
    if (f.dataType() == ftBoolean)
        return f.asBoolean() ? 1 : 0;
    return f.asInt64();
}

TBcd TReadDataField_DataSet::asBCD() const
{
    const DbField& f = field();
    if (f.isNull())
        return TBcd();
    if (f.value().kind() == DbValue::Kind::Float) {
        TBcd out;
        if (!TBcd::fromDouble(f.asFloat(), &out))
            throw Exception(QStringLiteral("'%1' is not a valid BCD value").arg(f.asString()));
        return out;
    }
    const QString digits = f.asDecimalText();
    TBcd out;
    if (!TBcd::fromPlainText(digits, u'.', &out))
        throw Exception(QStringLiteral("'%1' is not a valid BCD value").arg(digits));
    return out;
}

TExtended TReadDataField_DataSet::asExtended() const
{
    const DbField& f = field();
    if (f.isNull())
        return TExtended();
    if (f.value().kind() == DbValue::Kind::Integer)
        return TExtended::fromInt64(f.asInt64());
    return TExtended::fromDouble(f.asFloat());
}

double TReadDataField_DataSet::asDateTime() const
{
    const DbField& f = field();
    if (f.isNull())
        return 0.0;
    // A number read as a date-time is that number of days.
    switch (f.value().kind()) {
    case DbValue::Kind::Integer: case DbValue::Kind::Float: case DbValue::Kind::Decimal: return f.asFloat();
    default: return dateTimeFromDbTimeStamp(f.asTimeStamp());
    }
}

TSQLTimeStamp TReadDataField_DataSet::asSQLTimeStamp() const
{
    const DbField& f = field();
    if (f.isNull())
        return TSQLTimeStamp();
    return sqlTimeStampFromDb(f.asTimeStamp());
}

bool TReadDataField_DataSet::hasValue() const
{
    const DbField& f = field();
    if (f.isNull())
        return false;
    const int t = f.dataType();
    if (isStringFieldType(t) || isMemoFieldType(t))
        return !f.asString().isEmpty();
    if (f.isLargeObject() || isBytesFieldType(t) || isBinaryBlobFieldType(t))
        return !f.asBytes().isEmpty();
    return true;
}

void TReadDataField_DataSet::saveToStream(TWriter& writer, int index) const
{
    const DbField& f = field();
    // The type of the query field that carries the metadata's name.
    const DbField* named = m_metadata ? m_query->findField(m_metadata->getName()) : nullptr;
    const int storedType = named ? named->dataType() : f.dataType();
    if (f.isNull()) {
        writeStoredValue(writer, index, storedType, true, QByteArray());
        return;
    }
    QByteArray payload;
    switch (dataType()) {
    case rftString: payload = textPayload(asString()); break;
    case rftInteger: payload = int32Payload(asInteger()); break;
    case rftInt64: payload = int64Payload(asInt64()); break;
    case rftBoolean: payload = booleanPayload(asBoolean()); break;
    case rftFloat: payload = doublePayload(asFloat()); break;
    case rftExtended: payload = asExtended().toByteArray(); break;
    case rftBCD: payload = asBCD().toByteArray(); break;
    case rttTimeStamp: payload = asSQLTimeStamp().toByteArray(); break;
    case rftDate: case rftTime: case rftDateTime: payload = doublePayload(asDateTime()); break;
    case rftMemo:
        // Text memos go as UTF-16LE, which is how every reader decodes them.
        payload = f.value().kind() == DbValue::Kind::String ? textPayload(asString()) : asBytes();
        break;
    default: payload = asBytes(); break; // rftBytes, rftBlob
    }
    writeStoredValue(writer, index, storedType, false, payload);
}

// ---- TReadDataRecord_DataSet ----

TReadDataRecord_DataSet::TReadDataRecord_DataSet(std::unique_ptr<DbQuery> query,
                                                 std::unique_ptr<TFieldMetadataList> metadata)
    : m_query(std::move(query)), m_metadata(std::move(metadata))
{
    for (int i = 0; i < m_query->fieldCount(); ++i) {
        const TFieldMetadata* meta = m_metadata ? m_metadata->findByName(m_query->field(i).name()) : nullptr;
        m_fields.push_back(std::make_unique<TReadDataField_DataSet>(m_query.get(), i, meta));
    }
}

TReadDataRecord_DataSet::~TReadDataRecord_DataSet() = default;

IReadDataField* TReadDataRecord_DataSet::fieldByName(const QString& name) const
{
    for (const auto& field : m_fields)
        if (field->metadata() && field->metadata()->getName().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

IReadDataField* TReadDataRecord_DataSet::fieldAt(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_fields[size_t(index)].get();
}
