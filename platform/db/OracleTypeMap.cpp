#include "platform/db/OracleTypeMap.h"

namespace {

bool startsWith(const QString& text, const char* prefix)
{
    return text.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

bool is(const QString& text, const char* name) { return text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; }

// The fractional-second digits of "TIMESTAMP(n)..." (6 when not written).
int timestampDigits(const QString& type, int scale)
{
    const qsizetype open = type.indexOf(u'(');
    const qsizetype close = type.indexOf(u')');
    if (open > 0 && close > open) {
        bool ok = false;
        const int n = type.mid(open + 1, close - open - 1).toInt(&ok);
        if (ok)
            return n;
    }
    return scale >= 0 ? scale : 6;
}

} // namespace

bool OracleTypeMap::describe(const OracleColumnType& c, bool unicode, bool preciseDecimal, DbFieldDef& def)
{
    const QString& t = c.dataType;
    TFieldType type = ftUnknown;
    int size = 0, precision = 0, scale = 0;
    if (is(t, "NUMBER") || is(t, "DECIMAL") || is(t, "INTEGER") || is(t, "FLOAT")) {
        // Integers only where every value fits; everything else travels as digits.
        const bool integral = !is(t, "FLOAT") && c.precision > 0 && c.scale == 0;
        if (integral && c.precision <= 9)
            type = ftInteger;
        else if (integral && c.precision <= 18)
            type = ftLargeint;
        else
            type = preciseDecimal ? ftFMTBcd : ftFloat;
        precision = c.precision > 0 ? c.precision : (type == ftFMTBcd || type == ftFloat ? 38 : 0);
        scale = c.scale > 0 ? c.scale : 0;
        if (type == ftFMTBcd && c.precision <= 0 && c.scale < 0)
            scale = 0;
    } else if (is(t, "BINARY_FLOAT") || is(t, "BINARY_DOUBLE")) {
        type = ftFloat;
    } else if (is(t, "VARCHAR2") || is(t, "VARCHAR")) {
        type = unicode ? ftWideString : ftString;
        size = c.length;
    } else if (is(t, "NVARCHAR2")) {
        type = ftWideString;
        size = c.length;
    } else if (is(t, "CHAR")) {
        type = unicode ? ftFixedWideChar : ftFixedChar;
        size = c.length;
    } else if (is(t, "NCHAR")) {
        type = ftFixedWideChar;
        size = c.length;
    } else if (is(t, "CLOB") || is(t, "NCLOB") || is(t, "LONG")) {
        type = ftOraClob;
    } else if (is(t, "BLOB") || is(t, "LONG RAW")) {
        type = ftOraBlob;
    } else if (is(t, "RAW")) {
        type = ftVarBytes;
        size = c.length;
    } else if (is(t, "DATE")) {
        type = ftDateTime;
    } else if (startsWith(t, "TIMESTAMP")) {
        const int digits = timestampDigits(t, c.scale);
        type = digits > 0 ? ftOraTimeStamp : ftDateTime;
        scale = digits;
    } else if (startsWith(t, "INTERVAL")) {
        type = ftOraInterval;
    } else if (is(t, "ROWID") || is(t, "UROWID")) {
        type = ftString;
        size = c.length > 0 ? c.length : 18;
    } else {
        return false;
    }
    def.dataType = type;
    def.size = size;
    def.precision = precision;
    def.scale = scale;
    def.nativeType = t;
    return true;
}
