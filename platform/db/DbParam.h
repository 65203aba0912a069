#pragma once
// One statement parameter: name, direction, data type and value (NULL state
// included). Large objects are parameters whose data type is a large-object
// kind (ftBlob, ftMemo, ftWideMemo, ftOraBlob, ftOraClob).
//
// A parameter holds one value per row of its list's array size; row 0 is the
// value of an ordinary single-row execute. Arrays let a provider bind many
// rows in one execute.

#include "platform/db/DbValue.h"
#include "platform/db/FieldType.h"

#include <QString>
#include <vector>

enum class DbParamDirection { Input, Output, InputOutput };

class DbParam {
public:
    explicit DbParam(const QString& name = QString());

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    DbParamDirection direction() const { return m_direction; }
    void setDirection(DbParamDirection direction) { m_direction = direction; }
    TFieldType dataType() const { return m_dataType; }
    void setDataType(TFieldType type) { m_dataType = type; }
    bool isLargeObject() const;

    // Row 0.
    const DbValue& value() const { return valueAt(0); }
    bool isNull() const { return value().isNull(); }

    // Typed setters for row 0; each sets the matching data type.
    void setNull(TFieldType type);               // NULL of that type
    void setNull() { setNull(m_dataType); }
    void setAsString(const QString& v);          // ftWideString
    void setAsInteger(int32_t v);                // ftInteger
    void setAsInt64(int64_t v);                  // ftLargeint
    void setAsFloat(double v);                   // ftFloat
    void setAsBoolean(bool v);                   // ftBoolean
    void setAsDecimalText(const QString& v);     // ftFMTBcd; raises on bad digits
    void setAsDate(const DbTimeStamp& v);        // ftDate
    void setAsTime(const DbTimeStamp& v);        // ftTime
    void setAsDateTime(const DbTimeStamp& v);    // ftDateTime
    void setAsTimeStamp(const DbTimeStamp& v);   // ftTimeStamp
    void setAsBytes(const QByteArray& v);        // ftVarBytes
    // Large object of the given kind: binary kinds take the bytes as they are,
    // ftWideMemo the bytes as UTF-16LE text, ftMemo/ftOraClob as UTF-8 text.
    void loadLargeObject(const QByteArray& bytes, TFieldType kind);

    // Any row; rows beyond the current size are added as NULL.
    const DbValue& valueAt(int row) const;
    void setValueAt(int row, const DbValue& value);
    int valueCount() const { return static_cast<int>(m_values.size()); }
    void resizeValues(int rows);

private:
    QString m_name;
    DbParamDirection m_direction = DbParamDirection::Input;
    TFieldType m_dataType = ftUnknown;
    std::vector<DbValue> m_values;
};
