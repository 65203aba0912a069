#include "platform/db/SqliteSession.h"

#include "platform/db/DbError.h"
#include "platform/db/DbMemoryCursor.h"
#include "platform/db/SqliteStatement.h"
#include "platform/db/SqliteTypeMap.h"

#include <sqlite3.h>

SqliteSession::SqliteSession(const DbConnectSettings& settings)
{
    if (settings.database.isEmpty())
        throw DbError(QStringLiteral("SQLite needs a database file name"));
    const QByteArray path = settings.database.toUtf8();
    const int rc = sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw DbError(QStringLiteral("Cannot open SQLite database \"%1\": %2").arg(settings.database, message), rc);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, settings.intOption(QStringLiteral("ConnectionTimeout"), 5) * 1000);
}

// close_v2 waits for statements still held by queries to be finalized.
SqliteSession::~SqliteSession() { sqlite3_close_v2(m_db); }

void SqliteSession::raise() const
{
    throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db)), sqlite3_extended_errcode(m_db));
}

std::unique_ptr<DbStatement> SqliteSession::prepare(const QString& sql, const DbQueryOptions& options)
{
    return std::make_unique<SqliteStatement>(const_cast<SqliteSession*>(this), sql, options);
}

void SqliteSession::exec(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        raise();
}

void SqliteSession::startTransaction() { exec("BEGIN"); }
void SqliteSession::commit() { exec("COMMIT"); }
void SqliteSession::rollback() { exec("ROLLBACK"); }

std::vector<std::vector<DbValue>> SqliteSession::rows(const QString& sql, const QString& arg)
{
    DbQueryOptions options;
    SqliteStatement statement(this, sql, options);
    DbParamList params;
    if (sql.contains(QLatin1String(":arg")))
        params.add(QStringLiteral("arg")).setAsString(arg);
    std::vector<std::vector<DbValue>> out;
    std::unique_ptr<DbCursor> cursor = statement.execute(params);
    std::vector<DbValue> row;
    while (cursor && cursor->fetch(row))
        out.push_back(row);
    return out;
}

QStringList SqliteSession::tableNames()
{
    QStringList names;
    for (const auto& r : rows(QStringLiteral(
             "select name from sqlite_master where type='table' and name not like 'sqlite\\_%' escape '\\' "
             "order by name")))
        names.append(r[0].toString());
    return names;
}

QStringList SqliteSession::databaseNames()
{
    QStringList names;
    for (const auto& r : rows(QStringLiteral("select name from pragma_database_list order by seq")))
        names.append(r[0].toString());
    return names;
}

QStringList SqliteSession::tablesFor(const DbRestrictions& restrictions)
{
    const auto it = restrictions.find(QStringLiteral("TABLE_NAME"));
    if (it == restrictions.end())
        return tableNames();
    for (const QString& name : tableNames())
        if (name.compare(it->second, Qt::CaseInsensitive) == 0)
            return {name};
    return {};
}

std::unique_ptr<DbCursor> SqliteSession::metadata(const QString& kind, const DbRestrictions& restrictions)
{
    auto cursor = std::make_unique<DbMemoryCursor>();
    const DbValue catalog = DbValue::string(QStringLiteral("main"));
    const auto text = [](const QString& s) { return DbValue::string(s); };
    if (kind.compare(QLatin1String("Tables"), Qt::CaseInsensitive) == 0) {
        for (const char* f : {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"})
            cursor->addField(QLatin1String(f), ftWideString);
        for (const QString& t : tablesFor(restrictions))
            cursor->addRow({catalog, DbValue(), text(t), text(QStringLiteral("TABLE"))});
    } else if (kind.compare(QLatin1String("COLUMNS"), Qt::CaseInsensitive) == 0) {
        for (const char* f : {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "COLUMN_NAME"})
            cursor->addField(QLatin1String(f), ftWideString);
        cursor->addField(QStringLiteral("POSITION"), ftInteger);
        cursor->addField(QStringLiteral("DATA_TYPE"), ftWideString);
        for (const char* f : {"DATA_LENGTH", "DATA_PRECISION", "DATA_SCALE", "NULLABLE"})
            cursor->addField(QLatin1String(f), ftInteger);
        cursor->addField(QStringLiteral("DEFAULT_VALUE"), ftWideString);
        for (const QString& t : tablesFor(restrictions)) {
            for (const auto& r : rows(QStringLiteral("select cid, name, type, \"notnull\", dflt_value, pk "
                                                     "from pragma_table_info(:arg) order by cid"), t)) {
                int first = -1, second = -1;
                const QString base = SqliteTypeMap::splitDeclared(r[2].toString(), first, second);
                DbFieldDef def;
                SqliteTypeMap::describe(r[2].toString(), def);
                const bool exact = def.dataType == ftFMTBcd;
                const bool pk = r[5].toInt64() > 0;
                // An INTEGER PRIMARY KEY is the rowid: never NULL, whatever is declared.
                const bool notNull = r[3].toInt64() != 0 || (pk && base.compare(QLatin1String("INTEGER"),
                                                                                Qt::CaseInsensitive) == 0);
                cursor->addRow({catalog, DbValue(), text(t), r[1], DbValue::integer(r[0].toInt64() + 1),
                                text(base),
                                !exact && first > 0 ? DbValue::integer(first) : DbValue(),
                                exact && first > 0 ? DbValue::integer(first) : DbValue(),
                                exact && second >= 0 ? DbValue::integer(second) : DbValue(),
                                DbValue::integer(notNull ? 0 : 1), r[4]});
            }
        }
    } else if (kind.compare(QLatin1String("Indexes"), Qt::CaseInsensitive) == 0
               || kind.compare(QLatin1String("IndexColumns"), Qt::CaseInsensitive) == 0) {
        const bool columns = kind.compare(QLatin1String("IndexColumns"), Qt::CaseInsensitive) == 0;
        for (const char* f : {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "INDEX_CATALOG", "INDEX_SCHEMA",
                              "INDEX_NAME"})
            cursor->addField(QLatin1String(f), ftWideString);
        if (columns) {
            cursor->addField(QStringLiteral("COLUMN_NAME"), ftWideString);
            cursor->addField(QStringLiteral("COLUMN_POSITION"), ftInteger);
            cursor->addField(QStringLiteral("SORT_ORDER"), ftWideString);
        } else {
            cursor->addField(QStringLiteral("UNIQUE"), ftInteger);
            cursor->addField(QStringLiteral("ISPRIMARY"), ftWideString);
        }
        for (const QString& t : tablesFor(restrictions)) {
            const auto indexes = rows(QStringLiteral("select name, \"unique\", origin from pragma_index_list(:arg) "
                                                     "order by seq desc"), t);
            bool hasPrimary = false;
            for (const auto& ix : indexes)
                hasPrimary = hasPrimary || ix[2].toString() == QLatin1String("pk");
            const auto base = std::vector<DbValue>{catalog, DbValue(), text(t), catalog, DbValue()};
            if (!hasPrimary) {
                // A rowid primary key has no index of its own in the catalogue.
                const auto pkCols = rows(QStringLiteral("select name from pragma_table_info(:arg) where pk > 0 "
                                                        "order by pk"), t);
                if (!pkCols.empty()) {
                    const DbValue name = text(QStringLiteral("PRIMARY"));
                    if (columns) {
                        int pos = 1;
                        for (const auto& c : pkCols) {
                            auto row = base;
                            row.insert(row.end(), {name, c[0], DbValue::integer(pos++), text(QStringLiteral("ASC"))});
                            cursor->addRow(row);
                        }
                    } else {
                        auto row = base;
                        row.insert(row.end(), {name, DbValue::integer(1), text(QStringLiteral("PRIMARY"))});
                        cursor->addRow(row);
                    }
                }
            }
            for (const auto& ix : indexes) {
                const bool primary = ix[2].toString() == QLatin1String("pk");
                if (columns) {
                    int pos = 1;
                    for (const auto& c : rows(QStringLiteral("select name, \"desc\" from pragma_index_xinfo(:arg) "
                                                             "where key = 1 order by seqno"), ix[0].toString())) {
                        auto row = base;
                        row.insert(row.end(), {ix[0], c[0], DbValue::integer(pos++),
                                               text(c[1].toInt64() ? QStringLiteral("DESC") : QStringLiteral("ASC"))});
                        cursor->addRow(row);
                    }
                } else {
                    auto row = base;
                    row.insert(row.end(), {ix[0], DbValue::integer(ix[1].toInt64() ? 1 : 0),
                                           primary ? text(QStringLiteral("PRIMARY")) : DbValue()});
                    cursor->addRow(row);
                }
            }
        }
    } else {
        throw DbError(QStringLiteral("Unknown metadata kind \"%1\"").arg(kind));
    }
    return cursor;
}
