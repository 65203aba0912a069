#include "platform/db/OdbcTypeMap.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

void OdbcTypeMap::describe(int sqlType, unsigned long columnSize, int decimalDigits, bool unicode,
                           bool preciseDecimal, DbFieldDef& def)
{
    const int size = columnSize > 0x7fffffffUL ? 0x7fffffff : static_cast<int>(columnSize);
    def.size = 0;
    def.precision = 0;
    def.scale = 0;
    switch (sqlType) {
    case SQL_BIT: def.dataType = ftBoolean; break;
    case SQL_TINYINT:
    case SQL_SMALLINT: def.dataType = ftSmallint; break;
    case SQL_INTEGER: def.dataType = ftInteger; break;
    case SQL_BIGINT: def.dataType = ftLargeint; break;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        if (decimalDigits == 0 && size > 0 && size <= 9)
            def.dataType = ftInteger;
        else if (decimalDigits == 0 && size > 0 && size <= 18)
            def.dataType = ftLargeint;
        else
            def.dataType = preciseDecimal ? ftFMTBcd : ftFloat;
        def.precision = size;
        def.scale = decimalDigits;
        break;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: def.dataType = ftFloat; break;
    case SQL_CHAR: def.dataType = unicode ? ftFixedWideChar : ftFixedChar; def.size = size; break;
    case SQL_WCHAR: def.dataType = ftFixedWideChar; def.size = size; break;
    case SQL_VARCHAR: def.dataType = unicode ? ftWideString : ftString; def.size = size; break;
    case SQL_WVARCHAR: def.dataType = ftWideString; def.size = size; break;
    case SQL_LONGVARCHAR: def.dataType = unicode ? ftWideMemo : ftMemo; break;
    case SQL_WLONGVARCHAR: def.dataType = ftWideMemo; break;
    case SQL_BINARY: def.dataType = ftBytes; def.size = size; break;
    case SQL_VARBINARY: def.dataType = ftVarBytes; def.size = size; break;
    case SQL_LONGVARBINARY: def.dataType = ftBlob; break;
    case SQL_TYPE_DATE: case SQL_DATE: def.dataType = ftDate; break;
    case SQL_TYPE_TIME: case SQL_TIME: def.dataType = ftTime; break;
    case SQL_TYPE_TIMESTAMP: case SQL_TIMESTAMP:
        def.dataType = decimalDigits > 0 ? ftTimeStamp : ftDateTime;
        def.scale = decimalDigits;
        break;
    case SQL_GUID: def.dataType = ftGuid; def.size = 38; break;
    default:
        if (sqlType >= SQL_INTERVAL_YEAR && sqlType <= SQL_INTERVAL_MINUTE_TO_SECOND)
            def.dataType = ftOraInterval;
        else
            def.dataType = unicode ? ftWideString : ftString;
        def.size = size;
        break;
    }
}
