#include "records/ReadDataField_Hash.h"

#include "foundation/Exception.h"
#include "foundation/TextFormat.h"
#include "foundation/TypedStream.h"
#include "records/StoredPayload.h"

#include <QLocale>
#include <cmath>

namespace {
QString typeNameOrNumber(int fieldType)
{
    const QString name = fieldTypeName(fieldType);
    return name.isEmpty() ? QString::number(fieldType) : name;
}

bool isTextKind(TReadDataFieldType t) { return t == rftString || t == rftMemo; }
} // namespace

// ---- text forms and parsing ----

QChar localeDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.at(0);
}

QString floatText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

int32_t parseIntegerValue(const QString& text)
{
    bool ok = false;
    const int32_t value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

double parseFloatValue(const QString& text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        throw Exception(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

bool parseBooleanValue(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = QLocale().toDouble(t, &ok);
    if (!ok)
        throw Exception(QStringLiteral("'%1' is not a valid boolean value").arg(text));
    return number != 0;
}

TBcd parseBcdValue(const QString& text)
{
    TBcd out;
    if (!TBcd::fromPlainText(text.trimmed(), localeDecimalSeparator(), &out))
        throw Exception(QStringLiteral("'%1' is not a valid BCD value").arg(text));
    return out;
}

double parseDateTimeValue(const QString& text)
{
    double out = 0;
    if (!parseDateTimeText(text, &out))
        throw Exception(QStringLiteral("'%1' is not a valid date and time").arg(text));
    return out;
}

// ---- TReadDataField_Hash ----

TReadDataField_Hash::TReadDataField_Hash(const TDatasetFieldDef* definition) : m_definition(definition)
{
}

TReadDataFieldType TReadDataField_Hash::dataType() const
{
    return requireReadDataFieldType(m_definition->name, m_definition->dataType);
}

void TReadDataField_Hash::setValue(bool isNull, const QByteArray& payload)
{
    m_null = isNull;
    m_payload = isNull ? QByteArray() : payload;
}

void TReadDataField_Hash::saveToStream(TWriter& writer, int index) const
{
    writeStoredValue(writer, index, m_definition->dataType, m_null, m_payload);
}

void TReadDataField_Hash::loadFromStream(TReader& reader, int index)
{
    readStreamVersion(reader, QStringLiteral("TReadDataField_Hash"), 1);
    const int foundIndex = reader.readInteger();
    if (foundIndex != index)
        throw Exception(formatText(
            QStringLiteral("TReadDataField_Hash.loadFromStream read index flage error! need=%d found=%d"),
            {index, foundIndex}));
    const int foundType = reader.readInteger();
    if (foundType != m_definition->dataType)
        throw Exception(formatText(
            QStringLiteral("TReadDataField_Hash.loadFromStream read datatype error! need=%s found=%s"),
            {typeNameOrNumber(m_definition->dataType), typeNameOrNumber(foundType)}));
    const bool isNull = reader.readBoolean();
    QByteArray payload;
    if (!isNull) {
        payload = readPayloadBytes(reader, reader.readInteger());
        // A fixed-width kind with another size cannot come from our writer:
        // refuse it here rather than read past the buffer later.
        const int need = fixedPayloadSize(readDataFieldTypeOf(foundType));
        if (need >= 0 && payload.size() != need)
            throw Exception(formatText(
                QStringLiteral("TReadDataField_Hash.loadFromStream read data size error! "
                               "field=%s type=%s need=%d found=%d"),
                {m_definition->name, typeNameOrNumber(foundType), need, int(payload.size())}));
    }
    m_null = isNull;
    m_payload = payload;
}

void TReadDataField_Hash::conversionError(TReadDataFieldType requested) const
{
    throw Exception(formatText(QStringLiteral("Error field data,source type=%s dest type=%s value=\"%s\""),
                               {readDataFieldTypeName(dataType()), readDataFieldTypeName(requested),
                                errorValueText()}));
}

void TReadDataField_Hash::requireSize(int size, TReadDataFieldType requested) const
{
    if (m_payload.size() != size)
        conversionError(requested);
}

QString TReadDataField_Hash::errorValueText() const
{
    const TReadDataFieldType t = dataType();
    QString text;
    switch (t) {
    case rftInteger: return QString::number(int32FromPayload(m_payload));
    case rftInt64: return QString::number(int64FromPayload(m_payload));
    case rftFloat: return floatText(doubleFromPayload(m_payload));
    case rftExtended: return floatText(TExtended::fromBytes(m_payload.constData()).toDouble());
    case rftBCD: {
        const TBcd bcd = TBcd::fromBytes(m_payload.constData());
        return bcd.isValid() ? bcd.toPlainText(localeDecimalSeparator()) : QString();
    }
    case rftBoolean: return m_payload.at(0) ? QStringLiteral("True") : QStringLiteral("False");
    case rftDate:
        return formatDateText(doubleFromPayload(m_payload), &text) ? text : floatText(doubleFromPayload(m_payload));
    case rftTime:
        return formatTimeText(doubleFromPayload(m_payload), &text) ? text : floatText(doubleFromPayload(m_payload));
    case rftDateTime:
        return formatFullDateTimeText(doubleFromPayload(m_payload), &text) ? text
                                                                           : floatText(doubleFromPayload(m_payload));
    case rttTimeStamp: {
        double value = 0;
        if (timeStampToDateTime(TSQLTimeStamp::fromBytes(m_payload.constData()), &value) &&
            formatFullDateTimeText(value, &text))
            return text;
        return QString();
    }
    default: return textFromPayload(m_payload);
    }
}

double TReadDataField_Hash::numberOf(TReadDataFieldType t) const
{
    switch (t) {
    case rftInteger: return int32FromPayload(m_payload);
    case rftInt64: return double(int64FromPayload(m_payload));
    case rftExtended: return TExtended::fromBytes(m_payload.constData()).toDouble();
    case rftBCD: {
        const TBcd bcd = TBcd::fromBytes(m_payload.constData());
        if (!bcd.isValid())
            throw Exception(QStringLiteral("Invalid BCD value in field %1").arg(fieldName()));
        return bcd.toDouble();
    }
    default: return doubleFromPayload(m_payload); // rftFloat and the date kinds
    }
}

int64_t TReadDataField_Hash::integralOf(TReadDataFieldType requested, int64_t low, int64_t high) const
{
    const TReadDataFieldType t = dataType();
    int64_t value = 0;
    if (t == rftExtended) {
        if (!TExtended::fromBytes(m_payload.constData()).toInt64Exact(&value))
            conversionError(requested);
    } else {
        const double d = numberOf(t);
        if (!std::isfinite(d) || d != std::trunc(d) || !(d >= double(low) && d < double(high) + 1.0))
            conversionError(requested);
        value = int64_t(d);
    }
    if (value < low || value > high)
        conversionError(requested);
    return value;
}

double TReadDataField_Hash::storedDateTime(TReadDataFieldType requested) const
{
    double value = 0;
    if (!timeStampToDateTime(TSQLTimeStamp::fromBytes(m_payload.constData()), &value))
        conversionError(requested);
    return value;
}

QString TReadDataField_Hash::asString() const
{
    if (m_null)
        return QString();
    const TReadDataFieldType t = dataType();
    QString text;
    switch (t) {
    case rftBoolean: return m_payload.at(0) ? QStringLiteral("True") : QStringLiteral("False");
    case rftDate: case rftTime: case rftDateTime: {
        const double v = doubleFromPayload(m_payload);
        const bool ok = t == rftDate ? formatDateText(v, &text)
                        : t == rftTime ? formatTimeText(v, &text) : formatDateTimeText(v, &text);
        return ok ? text : floatText(v);
    }
    case rttTimeStamp: {
        const TSQLTimeStamp s = TSQLTimeStamp::fromBytes(m_payload.constData());
        double v = 0;
        if (timeStampToDateTime(s, &v) && formatLongDateText(v, &text))
            return text;
        return QStringLiteral("%1-%2-%3").arg(s.year).arg(s.month, 2, 10, QChar(u'0')).arg(s.day, 2, 10, QChar(u'0'));
    }
    case rftBCD: {
        const TBcd bcd = TBcd::fromBytes(m_payload.constData());
        if (!bcd.isValid())
            throw Exception(QStringLiteral("Invalid BCD value in field %1").arg(fieldName()));
        return bcd.toPlainText(localeDecimalSeparator());
    }
    default: return errorValueText(); // numbers and payload texts
    }
}

QByteArray TReadDataField_Hash::asAnsiString() const
{
    return asString().toUtf8();
}

int32_t TReadDataField_Hash::asInteger() const
{
    if (m_null)
        return 0;
    const TReadDataFieldType t = dataType();
    if (isTextKind(t))
        return parseIntegerValue(textFromPayload(m_payload));
    switch (t) {
    case rftInteger: return int32FromPayload(m_payload);
    case rftInt64: case rftFloat: case rftExtended: case rftBCD:
        // A 64-bit value beyond 32 bits fails instead of keeping its low bits.
        return int32_t(integralOf(rftInteger, INT32_MIN, INT32_MAX));
    case rftBoolean: return m_payload.at(0) ? 1 : 0;
    case rftBytes: case rftBlob: requireSize(4, rftInteger); return int32FromPayload(m_payload);
    default: conversionError(rftInteger);
    }
}

int64_t TReadDataField_Hash::asInt64() const
{
    if (m_null)
        return 0;
    const TReadDataFieldType t = dataType();
    if (isTextKind(t))
        return parseIntegerValue(textFromPayload(m_payload));
    switch (t) {
    case rftInteger: return int32FromPayload(m_payload);
    case rftInt64: return int64FromPayload(m_payload);
    case rftFloat: case rftExtended: case rftBCD: return integralOf(rftInt64, INT64_MIN, INT64_MAX);
    case rftBoolean: return m_payload.at(0) ? 1 : 0;
    case rftBytes: case rftBlob: requireSize(8, rftInt64); return int64FromPayload(m_payload);
    default: conversionError(rftInt64);
    }
}

bool TReadDataField_Hash::asBoolean() const
{
    if (m_null)
        return false;
    const TReadDataFieldType t = dataType();
    if (isTextKind(t))
        return parseBooleanValue(textFromPayload(m_payload));
    switch (t) {
    case rftInteger: case rftInt64: case rftFloat: case rftExtended: case rftBCD: {
        const int64_t v = t == rftInteger ? int32FromPayload(m_payload)
                          : t == rftInt64 ? int64FromPayload(m_payload)
                                          : integralOf(rftBoolean, INT64_MIN, INT64_MAX);
        if (v != 0 && v != 1)
            conversionError(rftBoolean);
        return v == 1;
    }
    case rftBoolean: return m_payload.at(0) != 0;
    case rftBytes: case rftBlob: requireSize(1, rftBoolean); return m_payload.at(0) != 0;
    default: conversionError(rftBoolean);
    }
}

double TReadDataField_Hash::asFloat() const
{
    if (m_null)
        return 0.0;
    const TReadDataFieldType t = dataType();
    if (isTextKind(t))
        return parseFloatValue(textFromPayload(m_payload));
    switch (t) {
    case rftBoolean: return m_payload.at(0) ? 1.0 : 0.0;
    case rttTimeStamp: return storedDateTime(rftFloat);
    case rftBytes: case rftBlob: requireSize(8, rftFloat); return doubleFromPayload(m_payload);
    default: return numberOf(t);
    }
}

TExtended TReadDataField_Hash::asExtended() const
{
    if (m_null)
        return TExtended();
    const TReadDataFieldType t = dataType();
    if (isTextKind(t))
        return TExtended::fromDouble(parseFloatValue(textFromPayload(m_payload)));
    switch (t) {
    case rftExtended: return TExtended::fromBytes(m_payload.constData());
    case rftInteger: return TExtended::fromInt64(int32FromPayload(m_payload));
    case rftInt64: return TExtended::fromInt64(int64FromPayload(m_payload));
    case rftBoolean: return TExtended::fromInt64(m_payload.at(0) ? 1 : 0);
    case rttTimeStamp: return TExtended::fromDouble(storedDateTime(rftExtended));
    case rftBytes: case rftBlob:
        requireSize(TExtended::kSize, rftExtended);
        return TExtended::fromBytes(m_payload.constData());
    default: return TExtended::fromDouble(numberOf(t));
    }
}

TBcd TReadDataField_Hash::asBCD() const
{
    if (m_null)
        return TBcd();
    const TReadDataFieldType t = dataType();
    if (isTextKind(t))
        return parseBcdValue(textFromPayload(m_payload));
    TBcd out;
    switch (t) {
    case rftBCD: return TBcd::fromBytes(m_payload.constData());
    case rftInteger: return TBcd::fromInt64(int32FromPayload(m_payload));
    // The whole 64-bit value: a BCD holds it exactly.
    case rftInt64: return TBcd::fromInt64(int64FromPayload(m_payload));
    case rftBoolean: return TBcd::fromInt64(m_payload.at(0) ? 1 : 0);
    case rttTimeStamp:
        if (!TBcd::fromDouble(storedDateTime(rftBCD), &out))
            conversionError(rftBCD);
        return out;
    case rftBytes: case rftBlob:
        requireSize(TBcd::kSize, rftBCD);
        return TBcd::fromBytes(m_payload.constData());
    default:
        if (!TBcd::fromDouble(numberOf(t), &out))
            conversionError(rftBCD);
        return out;
    }
}

double TReadDataField_Hash::asDateTime() const
{
    if (m_null)
        return 0.0;
    const TReadDataFieldType t = dataType();
    if (isTextKind(t))
        return parseDateTimeValue(textFromPayload(m_payload));
    switch (t) {
    case rftBoolean: conversionError(rftDateTime);
    case rttTimeStamp: return storedDateTime(rftDateTime);
    case rftBytes: case rftBlob: requireSize(8, rftDateTime); return doubleFromPayload(m_payload);
    default: return numberOf(t);
    }
}

TSQLTimeStamp TReadDataField_Hash::asSQLTimeStamp() const
{
    if (m_null)
        return TSQLTimeStamp();
    const TReadDataFieldType t = dataType();
    switch (t) {
    case rttTimeStamp: return TSQLTimeStamp::fromBytes(m_payload.constData());
    case rftBytes: case rftBlob:
        requireSize(TSQLTimeStamp::kSize, rftDateTime);
        return TSQLTimeStamp::fromBytes(m_payload.constData());
    default: {
        TSQLTimeStamp out;
        if (!dateTimeToTimeStamp(asDateTime(), &out))
            conversionError(rftDateTime);
        return out;
    }
    }
}
