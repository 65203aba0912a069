#pragma once
// One value crossing the data-access layer: a parameter value or a field of
// the current row. Exact numbers travel as decimal digit text, never through a
// binary float.

#include "platform/db/DbTimeStamp.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <variant>

class DbValue {
public:
    enum class Kind { Null, Boolean, Integer, Float, Decimal, String, Bytes, Date, Time, DateTime };

    DbValue() = default; // NULL
    static DbValue null() { return DbValue(); }
    static DbValue boolean(bool v);
    static DbValue integer(int64_t v);
    static DbValue floating(double v);
    // Plain decimal notation: optional '-', digits, optional '.' and digits.
    // Raises Exception for anything else.
    static DbValue decimal(const QString& digits);
    static DbValue string(const QString& v);
    static DbValue bytes(const QByteArray& v);
    static DbValue date(const DbTimeStamp& v);     // time part ignored
    static DbValue time(const DbTimeStamp& v);     // date part ignored
    static DbValue dateTime(const DbTimeStamp& v);

    Kind kind() const { return m_kind; }
    bool isNull() const { return m_kind == Kind::Null; }

    // Conversions. A NULL gives the empty text, 0, false, empty bytes or a
    // zero timestamp. A value that cannot be read as the requested kind
    // raises Exception naming the value.
    QString toString() const;
    int64_t toInt64() const;
    int32_t toInt32() const;       // raises when out of 32-bit range
    double toDouble() const;
    bool toBool() const;
    QString toDecimalText() const; // exact digits for Integer/Decimal/String
    DbTimeStamp toTimeStamp() const;
    QByteArray toBytes() const;    // String as UTF-8

    bool operator==(const DbValue& other) const;

private:
    Kind m_kind = Kind::Null;
    std::variant<std::monostate, bool, int64_t, double, QString, QByteArray, DbTimeStamp> m_data;
};
