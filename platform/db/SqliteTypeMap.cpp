#include "platform/db/SqliteTypeMap.h"

#include <QRegularExpression>
#include <sqlite3.h>

QString SqliteTypeMap::splitDeclared(const QString& declaredType, int& first, int& second)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*([^(]*?)\s*(?:\(\s*(\d+)\s*(?:,\s*(\d+)\s*)?\))?\s*$)"));
    first = -1;
    second = -1;
    const auto m = re.match(declaredType);
    if (!m.hasMatch())
        return declaredType.trimmed();
    if (m.capturedLength(2) > 0)
        first = m.captured(2).toInt();
    if (m.capturedLength(3) > 0)
        second = m.captured(3).toInt();
    return m.captured(1);
}

void SqliteTypeMap::describe(const QString& declaredType, DbFieldDef& def)
{
    int first = -1, second = -1;
    const QString base = splitDeclared(declaredType, first, second).toUpper();
    def.size = 0;
    def.precision = 0;
    def.scale = 0;
    if (base.isEmpty()) {
        def.dataType = ftUnknown;
    } else if (base == QLatin1String("BOOLEAN") || base == QLatin1String("BOOL")) {
        def.dataType = ftBoolean;
    } else if (base.contains(QLatin1String("INT"))) {
        def.dataType = ftLargeint; // SQLite integers are 64 bits whatever the name
    } else if (base == QLatin1String("DATE")) {
        def.dataType = ftDate;
    } else if (base == QLatin1String("TIME")) {
        def.dataType = ftTime;
    } else if (base.startsWith(QLatin1String("DATETIME")) || base.startsWith(QLatin1String("TIMESTAMP"))) {
        def.dataType = ftDateTime;
    } else if (base.contains(QLatin1String("CHAR"))) {
        def.dataType = first > 0 ? ftWideString : ftWideMemo;
        def.size = first > 0 ? first : 0;
    } else if (base.contains(QLatin1String("CLOB")) || base.contains(QLatin1String("TEXT"))) {
        def.dataType = ftWideMemo;
    } else if (base.contains(QLatin1String("BLOB"))) {
        def.dataType = ftBlob;
    } else if (base.contains(QLatin1String("REAL")) || base.contains(QLatin1String("FLOA"))
               || base.contains(QLatin1String("DOUB"))) {
        def.dataType = ftFloat;
    } else {
        // NUMERIC, DECIMAL and every other name with numeric affinity
        def.dataType = ftFMTBcd;
        def.precision = first > 0 ? first : 0;
        def.scale = second > 0 ? second : 0;
    }
}

TFieldType SqliteTypeMap::fromStorageClass(int storageClass)
{
    switch (storageClass) {
    case SQLITE_INTEGER: return ftLargeint;
    case SQLITE_FLOAT: return ftFloat;
    case SQLITE_BLOB: return ftBlob;
    default: return ftWideString;
    }
}
