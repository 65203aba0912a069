#include "platform/db/OracleSession.h"

#include "platform/db/DbError.h"
#include "platform/db/DbMemoryCursor.h"
#include "platform/db/OracleTypeMap.h"

#include <QStringList>
#include <map>

namespace {

// Recycle-bin objects keep their table rows until purged; they are not tables of the user.
const char* const kNotDropped = " and DROPPED = 'NO' and TABLE_NAME not like 'BIN$%'";

QString restrictionValue(const DbRestrictions& r, const char* name)
{
    const auto it = r.find(QLatin1String(name));
    return it == r.end() ? QString() : OdbcSession::restrictionName(it->second);
}

int intOr(const DbValue& v, int fallback) { return v.isNull() ? fallback : static_cast<int>(v.toInt64()); }

DbValue numOrNull(const DbValue& v) { return v.isNull() ? DbValue() : DbValue::integer(v.toInt64()); }

} // namespace

QString OracleSession::currentSchema()
{
    if (m_schema.isEmpty()) {
        const auto r = rows(QStringLiteral("select USER from DUAL"));
        if (!r.empty())
            m_schema = r[0][0].toString();
    }
    return m_schema;
}

QStringList OracleSession::tableNames()
{
    QStringList names;
    for (const auto& r : rows(QStringLiteral("select TABLE_NAME from USER_TABLES where 1 = 1")
                              + QLatin1String(kNotDropped) + QStringLiteral(" order by TABLE_NAME")))
        names.append(r[0].toString());
    return names;
}

QStringList OracleSession::databaseNames()
{
    QStringList names;
    for (const auto& r : rows(QStringLiteral("select USERNAME from ALL_USERS order by USERNAME")))
        names.append(r[0].toString());
    return names;
}

std::unique_ptr<DbCursor> OracleSession::metadata(const QString& kind, const DbRestrictions& restrictions)
{
    QString schema = restrictionValue(restrictions, "TABLE_SCHEMA");
    if (schema.isEmpty())
        schema = currentSchema();
    const QString table = restrictionValue(restrictions, "TABLE_NAME");
    QStringList args{schema};
    if (!table.isEmpty())
        args.append(table);
    const auto is = [&](const char* k) { return kind.compare(QLatin1String(k), Qt::CaseInsensitive) == 0; };
    const DbValue noCatalog;
    auto cursor = std::make_unique<DbMemoryCursor>();
    const auto textFields = [&](std::initializer_list<const char*> names) {
        for (const char* f : names)
            cursor->addField(QLatin1String(f), ftWideString);
    };
    if (is("Tables")) {
        textFields({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"});
        QString sql = QStringLiteral("select OWNER, TABLE_NAME from ALL_TABLES where OWNER = ?");
        if (!table.isEmpty())
            sql += QStringLiteral(" and TABLE_NAME = ?");
        sql += QLatin1String(kNotDropped) + QStringLiteral(" order by TABLE_NAME");
        for (const auto& r : rows(sql, args))
            cursor->addRow({noCatalog, r[0], r[1], DbValue::string(QStringLiteral("TABLE"))});
    } else if (is("COLUMNS")) {
        textFields({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "COLUMN_NAME"});
        cursor->addField(QStringLiteral("POSITION"), ftInteger);
        cursor->addField(QStringLiteral("DATA_TYPE"), ftWideString);
        for (const char* f : {"DATA_LENGTH", "DATA_PRECISION", "DATA_SCALE", "NULLABLE"})
            cursor->addField(QLatin1String(f), ftInteger);
        cursor->addField(QStringLiteral("DEFAULT_VALUE"), ftWideString);
        // DATA_DEFAULT is a LONG: it has to be the last column read.
        QString sql = QStringLiteral(
            "select OWNER, TABLE_NAME, COLUMN_NAME, COLUMN_ID, DATA_TYPE, DATA_LENGTH, DATA_PRECISION, "
            "DATA_SCALE, NULLABLE, CHAR_LENGTH, DATA_DEFAULT from ALL_TAB_COLUMNS where OWNER = ?");
        if (!table.isEmpty())
            sql += QStringLiteral(" and TABLE_NAME = ?");
        sql += QStringLiteral(" order by TABLE_NAME, COLUMN_ID");
        for (const auto& r : rows(sql, args)) {
            // Character lengths in characters where the dictionary has them.
            const int chars = intOr(r[9], 0);
            const DbValue length = chars > 0 ? DbValue::integer(chars) : numOrNull(r[5]);
            cursor->addRow({noCatalog, r[0], r[1], r[2], numOrNull(r[3]), r[4], length, numOrNull(r[6]),
                            numOrNull(r[7]), DbValue::integer(r[8].toString() == QLatin1String("N") ? 0 : 1),
                            r[10].isNull() ? DbValue() : DbValue::string(r[10].toString().trimmed())});
        }
    } else if (is("Indexes")) {
        textFields({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "INDEX_CATALOG", "INDEX_SCHEMA", "INDEX_NAME"});
        cursor->addField(QStringLiteral("UNIQUE"), ftInteger);
        cursor->addField(QStringLiteral("ISPRIMARY"), ftWideString);
        QString sql = QStringLiteral(
            "select i.TABLE_OWNER, i.TABLE_NAME, i.OWNER, i.INDEX_NAME, i.UNIQUENESS, c.CONSTRAINT_TYPE "
            "from ALL_INDEXES i left join ALL_CONSTRAINTS c on c.OWNER = i.TABLE_OWNER "
            "and c.TABLE_NAME = i.TABLE_NAME and c.INDEX_OWNER = i.OWNER and c.INDEX_NAME = i.INDEX_NAME "
            "and c.CONSTRAINT_TYPE = 'P' "
            "where i.TABLE_OWNER = ? and i.INDEX_TYPE <> 'LOB' and i.TABLE_NAME not like 'BIN$%'");
        if (!table.isEmpty())
            sql += QStringLiteral(" and i.TABLE_NAME = ?");
        sql += QStringLiteral(" order by i.TABLE_NAME, i.INDEX_NAME");
        for (const auto& r : rows(sql, args))
            cursor->addRow({noCatalog, r[0], r[1], noCatalog, r[2], r[3],
                            DbValue::integer(r[4].toString() == QLatin1String("UNIQUE") ? 1 : 0),
                            r[5].toString() == QLatin1String("P") ? DbValue::string(QStringLiteral("PRIMARY"))
                                                                  : DbValue()});
    } else if (is("IndexColumns")) {
        textFields({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "INDEX_CATALOG", "INDEX_SCHEMA", "INDEX_NAME",
                    "COLUMN_NAME"});
        cursor->addField(QStringLiteral("COLUMN_POSITION"), ftInteger);
        cursor->addField(QStringLiteral("SORT_ORDER"), ftWideString);
        // A descending key is a hidden column; its expression names the real one (LONG, read last).
        QString sql = QStringLiteral(
            "select ic.TABLE_OWNER, ic.TABLE_NAME, ic.INDEX_OWNER, ic.INDEX_NAME, ic.COLUMN_NAME, "
            "ic.COLUMN_POSITION, ic.DESCEND, e.COLUMN_EXPRESSION "
            "from ALL_IND_COLUMNS ic left join ALL_IND_EXPRESSIONS e on e.INDEX_OWNER = ic.INDEX_OWNER "
            "and e.INDEX_NAME = ic.INDEX_NAME and e.COLUMN_POSITION = ic.COLUMN_POSITION "
            "where ic.TABLE_OWNER = ? and ic.TABLE_NAME not like 'BIN$%'");
        if (!table.isEmpty())
            sql += QStringLiteral(" and ic.TABLE_NAME = ?");
        sql += QStringLiteral(" order by ic.TABLE_NAME, ic.INDEX_NAME, ic.COLUMN_POSITION");
        for (const auto& r : rows(sql, args)) {
            QString column = r[4].toString();
            if (!r[7].isNull()) {
                const QString expression = r[7].toString().trimmed();
                column = restrictionName(expression);
            }
            cursor->addRow({noCatalog, r[0], r[1], noCatalog, r[2], r[3], DbValue::string(column),
                            numOrNull(r[5]),
                            DbValue::string(r[6].toString() == QLatin1String("DESC") ? QStringLiteral("DESC")
                                                                                      : QStringLiteral("ASC"))});
        }
    } else {
        throw DbError(QStringLiteral("Unknown metadata kind \"%1\"").arg(kind));
    }
    return cursor;
}

void OracleSession::describeColumns(SQLHSTMT stmt, const DbQueryOptions& options, std::vector<DbFieldDef>& defs)
{
    OdbcSession::describeColumns(stmt, options, defs);
    if (m_inDictionary)
        return;
    m_inDictionary = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_inDictionary};
    // The dictionary's type of each column that comes straight from a table.
    std::map<QString, std::map<QString, OracleColumnType>> tables;
    for (size_t i = 0; i < defs.size(); ++i) {
        const auto attribute = [&](SQLUSMALLINT field) {
            SQLWCHAR text[512] = {0};
            SQLSMALLINT length = 0;
            if (!odbc::ok(SQLColAttributeW(stmt, static_cast<SQLUSMALLINT>(i + 1), field, text, sizeof text, &length,
                                           nullptr)))
                return QString();
            return odbc::fromWide(text, -1);
        };
        OracleColumnType type;
        bool known = false;
        const QString table = attribute(SQL_DESC_BASE_TABLE_NAME);
        const QString column = attribute(SQL_DESC_BASE_COLUMN_NAME);
        if (!table.isEmpty() && !column.isEmpty()) {
            QString owner = attribute(SQL_DESC_SCHEMA_NAME);
            if (owner.isEmpty())
                owner = currentSchema();
            const QString key = owner + u'.' + table;
            auto it = tables.find(key);
            if (it == tables.end()) {
                std::map<QString, OracleColumnType> columns;
                for (const auto& r : rows(QStringLiteral("select COLUMN_NAME, DATA_TYPE, DATA_LENGTH, DATA_PRECISION, "
                                                         "DATA_SCALE, CHAR_LENGTH from ALL_TAB_COLUMNS "
                                                         "where OWNER = ? and TABLE_NAME = ?"),
                                          {owner, table})) {
                    OracleColumnType c;
                    c.dataType = r[1].toString();
                    const int chars = intOr(r[5], 0);
                    c.length = chars > 0 ? chars : intOr(r[2], 0);
                    c.precision = intOr(r[3], -1);
                    c.scale = intOr(r[4], -1);
                    columns[r[0].toString()] = c;
                }
                it = tables.emplace(key, std::move(columns)).first;
            }
            const auto found = it->second.find(column);
            if (found != it->second.end()) {
                type = found->second;
                known = true;
            }
        }
        if (!known) {
            // An expression: Oracle's driver names the type; sizes come from the description.
            type.dataType = defs[i].nativeType;
            type.length = defs[i].size;
            type.precision = defs[i].precision > 0 ? defs[i].precision : -1;
            type.scale = defs[i].precision > 0 ? defs[i].scale : -1;
        }
        OracleTypeMap::describe(type, unicode(), options.preciseDecimal, defs[i]);
    }
}
