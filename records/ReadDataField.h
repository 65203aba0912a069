#pragma once
// Readers of one row: a record of typed fields, whatever the row comes from
// (a query's current row, values stored in an error file). Operations keep
// their fixed slot order.

#include "records/BcdValue.h"
#include "records/DateTimeValue.h"
#include "records/ExtendedFloat.h"
#include "records/ReadDataFieldType.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class TWriter;

class IReadDataField {
public:
    virtual ~IReadDataField() = default;

    virtual bool isNull() const = 0;
    virtual QByteArray asAnsiString() const = 0;             // the 8-bit form (UTF-8 here)
    virtual TBcd asBCD() const = 0;
    virtual bool asBoolean() const = 0;
    virtual QByteArray asBytes() const = 0;
    virtual double asDateTime() const = 0;
    virtual TExtended asExtended() const = 0;
    virtual double asFloat() const = 0;
    virtual int32_t asInteger() const = 0;
    virtual TSQLTimeStamp asSQLTimeStamp() const = 0;
    virtual QString asString() const = 0;
    virtual QString displayText() const = 0;
    virtual TReadDataFieldType dataType() const = 0;
    virtual QString fieldName() const = 0;
    virtual bool isBlob() const = 0;
    virtual int64_t asInt64() const = 0;
    virtual void saveToStream(TWriter& writer, int index) const = 0;
    virtual bool hasValue() const = 0;
};

class IReadDataRecord {
public:
    virtual ~IReadDataRecord() = default;

    virtual int fieldCount() const = 0;
    virtual IReadDataField* fieldByName(const QString& name) const = 0; // none when missing
    virtual IReadDataField* fieldAt(int index) const = 0;
    virtual void saveToStream(TWriter& writer) const = 0;              // the stored record form
};

// The stored record form of any record: class header, version 1, one stored
// value per field, class end.
void writeStoredRecord(const IReadDataRecord& record, TWriter& writer);
