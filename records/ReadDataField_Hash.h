#pragma once
// A stored field value: its definition (not owned), the NULL flag and the raw
// payload. Nothing is converted until a getter asks; every getter converts
// from the stored kind by the fixed conversion table.

#include "records/DatasetFieldDef.h"
#include "records/ReadDataField.h"

class TReader;

class TReadDataField_Hash : public IReadDataField {
public:
    explicit TReadDataField_Hash(const TDatasetFieldDef* definition);

    bool isNull() const override { return m_null; }
    QByteArray asAnsiString() const override;
    TBcd asBCD() const override;
    bool asBoolean() const override;
    QByteArray asBytes() const override { return m_payload; }
    double asDateTime() const override;
    TExtended asExtended() const override;
    double asFloat() const override;
    int32_t asInteger() const override;
    TSQLTimeStamp asSQLTimeStamp() const override;
    QString asString() const override;
    QString displayText() const override { return asString(); }
    TReadDataFieldType dataType() const override;
    QString fieldName() const override { return m_definition->name; }
    bool isBlob() const override { return dataType() == rftBlob; }
    int64_t asInt64() const override;
    void saveToStream(TWriter& writer, int index) const override;
    bool hasValue() const override { return !m_null && !m_payload.isEmpty(); }

    const TDatasetFieldDef* definition() const { return m_definition; }
    // Reads the stored value form; the value must carry index and the definition's type.
    void loadFromStream(TReader& reader, int index);
    // Sets the value directly (payload laid out for the definition's type).
    void setValue(bool isNull, const QByteArray& payload);

private:
    [[noreturn]] void conversionError(TReadDataFieldType requested) const;
    void requireSize(int size, TReadDataFieldType requested) const;
    QString errorValueText() const;
    double numberOf(TReadDataFieldType storedNumber) const; // integer, 64-bit, float, extended, BCD
    int64_t integralOf(TReadDataFieldType requested, int64_t low, int64_t high) const;
    double storedDateTime(TReadDataFieldType requested) const;

    const TDatasetFieldDef* m_definition; // not owned
    bool m_null = true;
    QByteArray m_payload;
};

// Text forms shared by the readers: float text with up to 15 significant
// digits and the locale's decimal separator, without group separators.
QString floatText(double value);
QChar localeDecimalSeparator();
// Platform parsing of texts; failures raise the platform-style messages.
int32_t parseIntegerValue(const QString& text);
double parseFloatValue(const QString& text);
bool parseBooleanValue(const QString& text);
TBcd parseBcdValue(const QString& text);
double parseDateTimeValue(const QString& text);
