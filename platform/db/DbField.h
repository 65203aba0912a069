#pragma once
// One column of a query's current row, with typed access. Owned by its query;
// it always reads the current row.

#include "platform/db/DbFieldDef.h"
#include "platform/db/DbValue.h"

#include <QDateTime>
#include <QString>

class DbQuery;

class DbField {
public:
    DbField(const DbQuery* query, int index) : m_query(query), m_index(index) {}

    int index() const { return m_index; }
    const DbFieldDef& def() const;
    const QString& name() const { return def().name; }
    TFieldType dataType() const { return def().dataType; }
    bool required() const { return def().required; }
    bool isLargeObject() const;

    // The current row's value; raises DbError when there is no current row.
    const DbValue& value() const;
    bool isNull() const { return value().isNull(); }
    QString asString() const { return value().toString(); }
    int32_t asInteger() const { return value().toInt32(); }
    int64_t asInt64() const { return value().toInt64(); }
    double asFloat() const { return value().toDouble(); }
    bool asBoolean() const { return value().toBool(); }
    QString asDecimalText() const { return value().toDecimalText(); }
    QDateTime asDateTime() const { return value().toTimeStamp().toDateTime(); }
    DbTimeStamp asTimeStamp() const { return value().toTimeStamp(); }
    QByteArray asBytes() const { return value().toBytes(); }

private:
    const DbQuery* m_query;
    int m_index;
};
