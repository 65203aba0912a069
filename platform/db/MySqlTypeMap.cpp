#include "platform/db/MySqlTypeMap.h"

#include <mysql.h>

namespace {

constexpr unsigned kBinaryCharset = 63;

struct IntegerRow {
    enum_field_types type;
    TFieldType signedType;
    TFieldType unsignedType;
    const char* name;
};

// Unsigned kinds move one size up so that their whole range fits.
constexpr IntegerRow kIntegers[] = {
    {MYSQL_TYPE_TINY, ftSmallint, ftSmallint, "TINYINT"},
    {MYSQL_TYPE_SHORT, ftSmallint, ftInteger, "SMALLINT"},
    {MYSQL_TYPE_INT24, ftInteger, ftInteger, "MEDIUMINT"},
    {MYSQL_TYPE_LONG, ftInteger, ftLargeint, "INT"},
    {MYSQL_TYPE_LONGLONG, ftLargeint, ftFMTBcd, "BIGINT"},
    {MYSQL_TYPE_YEAR, ftSmallint, ftSmallint, "YEAR"},
};

} // namespace

MySqlReadAs MySqlTypeMap::describe(const MYSQL_FIELD& field, const MySqlTypeOptions& options, DbFieldDef& def)
{
    const bool isUnsigned = (field.flags & UNSIGNED_FLAG) != 0;
    const bool binary = field.charsetnr == kBinaryCharset;
    const unsigned mb = options.mbMaxLen ? options.mbMaxLen : 1;
    def.required = (field.flags & NOT_NULL_FLAG) != 0;
    def.size = 0;
    def.precision = 0;
    def.scale = 0;

    for (const IntegerRow& row : kIntegers) {
        if (row.type != field.type)
            continue;
        def.nativeType = QLatin1String(row.name) + (isUnsigned ? QLatin1String(" UNSIGNED") : QLatin1String(""));
        if (field.type == MYSQL_TYPE_TINY && field.length == 1 && options.enableBoolean) {
            def.dataType = ftBoolean;
            return MySqlReadAs::Integer;
        }
        def.dataType = isUnsigned ? row.unsignedType : row.signedType;
        if (def.dataType == ftFMTBcd) {
            def.precision = 20;
            if (!options.preciseDecimal)
                def.dataType = ftFloat;
            return MySqlReadAs::Decimal;
        }
        return MySqlReadAs::Integer;
    }

    switch (field.type) {
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL: {
        def.nativeType = QStringLiteral("DECIMAL");
        // The display length counts the sign and the point.
        const int length = static_cast<int>(field.length);
        def.scale = static_cast<int>(field.decimals);
        def.precision = length - (def.scale > 0 ? 1 : 0) - (isUnsigned ? 0 : 1);
        def.dataType = options.preciseDecimal ? ftFMTBcd : ftFloat;
        return MySqlReadAs::Decimal;
    }
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        def.nativeType = field.type == MYSQL_TYPE_FLOAT ? QStringLiteral("FLOAT") : QStringLiteral("DOUBLE");
        def.dataType = ftFloat;
        return MySqlReadAs::Double;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        def.nativeType = QStringLiteral("DATE");
        def.dataType = ftDate;
        return MySqlReadAs::Time;
    case MYSQL_TYPE_TIME:
        def.nativeType = QStringLiteral("TIME");
        def.dataType = ftTime;
        def.scale = field.decimals <= 6 ? static_cast<int>(field.decimals) : 0;
        return MySqlReadAs::Time;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        def.nativeType = field.type == MYSQL_TYPE_DATETIME ? QStringLiteral("DATETIME") : QStringLiteral("TIMESTAMP");
        def.dataType = ftDateTime;
        def.scale = field.decimals <= 6 ? static_cast<int>(field.decimals) : 0;
        return MySqlReadAs::Time;
    case MYSQL_TYPE_BIT:
        def.nativeType = QStringLiteral("BIT");
        def.precision = static_cast<int>(field.length);
        def.dataType = field.length > 63 ? ftFMTBcd : ftLargeint;
        return MySqlReadAs::Bit;
    case MYSQL_TYPE_STRING:
        if (binary) {
            def.nativeType = QStringLiteral("BINARY");
            def.dataType = ftBytes;
            def.size = static_cast<int>(field.length);
            return MySqlReadAs::Bytes;
        }
        def.nativeType = (field.flags & ENUM_FLAG) ? QStringLiteral("ENUM")
                       : (field.flags & SET_FLAG) ? QStringLiteral("SET") : QStringLiteral("CHAR");
        def.dataType = (field.flags & (ENUM_FLAG | SET_FLAG)) ? (options.unicode ? ftWideString : ftString)
                                                              : (options.unicode ? ftFixedWideChar : ftFixedChar);
        def.size = static_cast<int>(field.length / mb);
        return MySqlReadAs::Text;
    case MYSQL_TYPE_VARCHAR:
    case MYSQL_TYPE_VAR_STRING:
        if (binary) {
            def.nativeType = QStringLiteral("VARBINARY");
            def.dataType = ftVarBytes;
            def.size = static_cast<int>(field.length);
            return MySqlReadAs::Bytes;
        }
        def.nativeType = QStringLiteral("VARCHAR");
        def.dataType = options.unicode ? ftWideString : ftString;
        def.size = static_cast<int>(field.length / mb);
        return MySqlReadAs::Text;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_JSON:
        if (binary) {
            def.nativeType = QStringLiteral("BLOB");
            def.dataType = ftBlob;
            return MySqlReadAs::Bytes;
        }
        def.nativeType = field.type == MYSQL_TYPE_JSON ? QStringLiteral("JSON") : QStringLiteral("TEXT");
        def.dataType = options.unicode ? ftWideMemo : ftMemo;
        return MySqlReadAs::Text;
    case MYSQL_TYPE_ENUM:
    case MYSQL_TYPE_SET:
        def.nativeType = field.type == MYSQL_TYPE_ENUM ? QStringLiteral("ENUM") : QStringLiteral("SET");
        def.dataType = options.unicode ? ftWideString : ftString;
        def.size = static_cast<int>(field.length / mb);
        return MySqlReadAs::Text;
    case MYSQL_TYPE_GEOMETRY:
        def.nativeType = QStringLiteral("GEOMETRY");
        def.dataType = ftBlob;
        return MySqlReadAs::Bytes;
    case MYSQL_TYPE_NULL:
        def.nativeType = QStringLiteral("NULL");
        def.dataType = options.unicode ? ftWideString : ftString;
        return MySqlReadAs::Text;
    default:
        def.nativeType = QStringLiteral("UNKNOWN");
        def.dataType = ftUnknown;
        return MySqlReadAs::Bytes;
    }
}
