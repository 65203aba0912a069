#include "platform/db/DbParam.h"

#include "platform/db/DbError.h"

DbParam::DbParam(const QString& name) : m_name(name), m_values(1) {}

bool DbParam::isLargeObject() const
{
    switch (m_dataType) {
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftTypedBinary:
    case ftOraBlob: case ftOraClob: case ftWideMemo: case ftStream:
        return true;
    default:
        return false;
    }
}

const DbValue& DbParam::valueAt(int row) const
{
    static const DbValue kNull;
    if (row < 0 || row >= valueCount())
        return kNull;
    return m_values[static_cast<size_t>(row)];
}

void DbParam::setValueAt(int row, const DbValue& value)
{
    if (row < 0)
        throw DbError(QStringLiteral("Parameter %1: row %2 out of range").arg(m_name).arg(row));
    if (row >= valueCount())
        resizeValues(row + 1);
    m_values[static_cast<size_t>(row)] = value;
}

void DbParam::resizeValues(int rows) { m_values.resize(static_cast<size_t>(rows < 1 ? 1 : rows)); }

void DbParam::setNull(TFieldType type) { m_dataType = type; m_values[0] = DbValue(); }
void DbParam::setAsString(const QString& v) { m_dataType = ftWideString; m_values[0] = DbValue::string(v); }
void DbParam::setAsInteger(int32_t v) { m_dataType = ftInteger; m_values[0] = DbValue::integer(v); }
void DbParam::setAsInt64(int64_t v) { m_dataType = ftLargeint; m_values[0] = DbValue::integer(v); }
void DbParam::setAsFloat(double v) { m_dataType = ftFloat; m_values[0] = DbValue::floating(v); }
void DbParam::setAsBoolean(bool v) { m_dataType = ftBoolean; m_values[0] = DbValue::boolean(v); }

void DbParam::setAsDecimalText(const QString& v)
{
    m_values[0] = DbValue::decimal(v);
    m_dataType = ftFMTBcd;
}

void DbParam::setAsDate(const DbTimeStamp& v) { m_dataType = ftDate; m_values[0] = DbValue::date(v); }
void DbParam::setAsTime(const DbTimeStamp& v) { m_dataType = ftTime; m_values[0] = DbValue::time(v); }
void DbParam::setAsDateTime(const DbTimeStamp& v) { m_dataType = ftDateTime; m_values[0] = DbValue::dateTime(v); }
void DbParam::setAsTimeStamp(const DbTimeStamp& v) { m_dataType = ftTimeStamp; m_values[0] = DbValue::dateTime(v); }
void DbParam::setAsBytes(const QByteArray& v) { m_dataType = ftVarBytes; m_values[0] = DbValue::bytes(v); }

void DbParam::loadLargeObject(const QByteArray& bytes, TFieldType kind)
{
    switch (kind) {
    case ftWideMemo:
        m_values[0] = DbValue::string(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                                                         bytes.size() / 2));
        break;
    case ftMemo: case ftFmtMemo: case ftOraClob:
        m_values[0] = DbValue::string(QString::fromUtf8(bytes));
        break;
    default:
        m_values[0] = DbValue::bytes(bytes);
        break;
    }
    m_dataType = kind;
}
