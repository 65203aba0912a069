#include "platform/db/OdbcSession.h"

#include "platform/db/DbError.h"
#include "platform/db/DbMemoryCursor.h"
#include "platform/db/OdbcStatement.h"
#include "platform/db/OdbcTypeMap.h"

#include <QStringList>

namespace {

// Every row of a catalogue result, each value as text or NULL.
std::vector<std::vector<DbValue>> readText(OdbcSession& session, SQLHSTMT stmt)
{
    SQLSMALLINT columns = 0;
    session.check(SQLNumResultCols(stmt, &columns), SQL_HANDLE_STMT, stmt, QString());
    std::vector<std::vector<DbValue>> out;
    std::vector<SQLWCHAR> buffer(4096);
    for (;;) {
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA)
            break;
        session.check(rc, SQL_HANDLE_STMT, stmt, QString());
        std::vector<DbValue> row;
        for (SQLSMALLINT c = 1; c <= columns; ++c) {
            SQLLEN length = 0;
            session.check(SQLGetData(stmt, static_cast<SQLUSMALLINT>(c), SQL_C_WCHAR, buffer.data(),
                                     static_cast<SQLLEN>(buffer.size() * sizeof(SQLWCHAR)), &length),
                          SQL_HANDLE_STMT, stmt, QString());
            row.push_back(length == SQL_NULL_DATA ? DbValue()
                                                  : DbValue::string(odbc::fromWide(buffer.data(), -1)));
        }
        out.push_back(std::move(row));
    }
    return out;
}

class StatementHandle {
public:
    explicit StatementHandle(OdbcSession& session) : m_session(session)
    {
        session.check(SQLAllocHandle(SQL_HANDLE_STMT, session.handle(), &m_stmt), SQL_HANDLE_DBC,
                      session.handle(), QString());
    }
    ~StatementHandle() { SQLFreeHandle(SQL_HANDLE_STMT, m_stmt); }
    SQLHSTMT get() const { return m_stmt; }

private:
    OdbcSession& m_session;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

QString restriction(const DbRestrictions& r, const char* name)
{
    const auto it = r.find(QLatin1String(name));
    return it == r.end() ? QString() : OdbcSession::restrictionName(it->second);
}

// A catalogue argument: NULL for "any" when empty.
struct Arg {
    explicit Arg(const QString& v) : text(odbc::wide(v)), empty(v.isEmpty()) {}
    SQLWCHAR* ptr() { return empty ? nullptr : text.data(); }
    SQLSMALLINT len() const { return empty ? 0 : SQL_NTS; }
    std::vector<SQLWCHAR> text;
    bool empty;
};

} // namespace

OdbcSession::OdbcSession(const QString& providerName, const QString& connectionString, const QString& user,
                         const QString& password, bool unicode, int loginTimeoutSeconds)
    : m_provider(providerName), m_unicode(unicode)
{
    SQLHENV env = odbc::environment();
    if (!odbc::ok(SQLAllocHandle(SQL_HANDLE_DBC, env, &m_dbc)))
        odbc::raise(SQL_HANDLE_ENV, env, QStringLiteral("Cannot create an ODBC connection"));
    if (loginTimeoutSeconds > 0)
        SQLSetConnectAttr(m_dbc, SQL_ATTR_LOGIN_TIMEOUT,
                          reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(loginTimeoutSeconds)), 0);
    QString cs = connectionString;
    if (!user.isEmpty())
        cs += QStringLiteral(";UID=") + odbc::quoteAttribute(user);
    if (!password.isEmpty())
        cs += QStringLiteral(";PWD=") + odbc::quoteAttribute(password);
    SQLRETURN rc;
    if (unicode) {
        std::vector<SQLWCHAR> text = odbc::wide(cs);
        rc = SQLDriverConnectW(m_dbc, nullptr, text.data(), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    } else {
        QByteArray text = cs.toUtf8();
        rc = SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0,
                              nullptr, SQL_DRIVER_NOPROMPT);
    }
    if (!odbc::ok(rc)) {
        try {
            odbc::raise(SQL_HANDLE_DBC, m_dbc, QStringLiteral("Cannot connect (%1)").arg(providerName));
        } catch (...) {
            SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
            m_dbc = SQL_NULL_HDBC;
            throw;
        }
    }
}

OdbcSession::~OdbcSession()
{
    if (m_dbc == SQL_NULL_HDBC)
        return;
    SQLDisconnect(m_dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
}

void OdbcSession::raise(SQLSMALLINT handleType, SQLHANDLE handle, const QString& context)
{
    try {
        odbc::raise(handleType, handle, context);
    } catch (const DbError& e) {
        if (odbc::isConnectionLost(e.sqlState()))
            m_alive = false;
        throw;
    }
}

std::unique_ptr<DbStatement> OdbcSession::prepare(const QString& sql, const DbQueryOptions& options)
{
    return std::make_unique<OdbcStatement>(this, sql, options);
}

void OdbcSession::startTransaction()
{
    check(SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, m_dbc, QStringLiteral("Cannot start a transaction"));
}

void OdbcSession::endTransaction(SQLSMALLINT completion)
{
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, m_dbc, completion);
    // Back to autocommit whatever the outcome: the transaction is over either way.
    SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    check(rc, SQL_HANDLE_DBC, m_dbc, completion == SQL_COMMIT ? QStringLiteral("Commit failed")
                                                              : QStringLiteral("Rollback failed"));
}

void OdbcSession::commit() { endTransaction(SQL_COMMIT); }
void OdbcSession::rollback() { endTransaction(SQL_ROLLBACK); }

void OdbcSession::describeColumns(SQLHSTMT stmt, const DbQueryOptions& options, std::vector<DbFieldDef>& defs)
{
    SQLSMALLINT count = 0;
    check(SQLNumResultCols(stmt, &count), SQL_HANDLE_STMT, stmt, QString());
    defs.clear();
    for (SQLSMALLINT i = 1; i <= count; ++i) {
        SQLWCHAR name[512];
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        check(SQLDescribeColW(stmt, static_cast<SQLUSMALLINT>(i), name, 512, &nameLength, &sqlType, &size,
                              &digits, &nullable),
              SQL_HANDLE_STMT, stmt, QString());
        DbFieldDef def;
        def.name = odbc::fromWide(name, std::min<SQLSMALLINT>(nameLength, 511));
        OdbcTypeMap::describe(sqlType, static_cast<unsigned long>(size), digits, m_unicode, options.preciseDecimal,
                              def);
        def.required = nullable == SQL_NO_NULLS;
        SQLWCHAR typeName[256] = {0};
        SQLSMALLINT typeLength = 0;
        if (odbc::ok(SQLColAttributeW(stmt, static_cast<SQLUSMALLINT>(i), SQL_DESC_TYPE_NAME, typeName,
                                      sizeof typeName, &typeLength, nullptr)))
            def.nativeType = odbc::fromWide(typeName, -1);
        defs.push_back(def);
    }
}

std::vector<std::vector<DbValue>> OdbcSession::rows(const QString& sql, const QStringList& args)
{
    // Internal statements mark their arguments with '?'; the statement takes ":name" markers.
    QString text;
    int n = 0;
    for (const QChar c : sql)
        text += c == u'?' ? QStringLiteral(":p%1").arg(++n) : QString(c);
    DbQueryOptions options;
    OdbcStatement statement(this, text, options);
    DbParamList params;
    for (const QString& a : args)
        params.add(QString()).setAsString(a);
    std::vector<std::vector<DbValue>> out;
    std::unique_ptr<DbCursor> cursor = statement.execute(params);
    std::vector<DbValue> row;
    while (cursor && cursor->fetch(row))
        out.push_back(row);
    return out;
}

QString OdbcSession::restrictionName(const QString& value)
{
    QString v = value.trimmed();
    // "schema"."table" or schema.table: the catalogue wants the last part.
    const qsizetype dot = v.lastIndexOf(QStringLiteral("\"."));
    if (dot >= 0)
        v = v.mid(dot + 2);
    else if (!v.startsWith(u'"') && v.contains(u'.'))
        v = v.mid(v.lastIndexOf(u'.') + 1);
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
        v = v.mid(1, v.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return v;
}

QStringList OdbcSession::tableNames()
{
    QStringList names;
    StatementHandle stmt(*this);
    SQLWCHAR type[] = {'T', 'A', 'B', 'L', 'E', 0};
    check(SQLTablesW(stmt.get(), nullptr, 0, nullptr, 0, nullptr, 0, type, SQL_NTS), SQL_HANDLE_STMT, stmt.get(),
          QStringLiteral("Cannot list the tables"));
    for (const auto& r : readText(*this, stmt.get()))
        names.append(r[2].toString());
    return names;
}

QStringList OdbcSession::databaseNames()
{
    QStringList names;
    StatementHandle stmt(*this);
    SQLWCHAR all[] = {'%', 0};
    SQLWCHAR empty[] = {0};
    check(SQLTablesW(stmt.get(), all, SQL_NTS, empty, 0, empty, 0, empty, 0), SQL_HANDLE_STMT, stmt.get(),
          QStringLiteral("Cannot list the databases"));
    for (const auto& r : readText(*this, stmt.get()))
        if (!r[0].isNull())
            names.append(r[0].toString());
    return names;
}

std::unique_ptr<DbCursor> OdbcSession::metadata(const QString& kind, const DbRestrictions& restrictions)
{
    return catalogueResult(kind, restrictions);
}

std::unique_ptr<DbCursor> OdbcSession::catalogueResult(const QString& kind, const DbRestrictions& restrictions)
{
    auto cursor = std::make_unique<DbMemoryCursor>();
    Arg catalog(restriction(restrictions, "TABLE_CATALOG"));
    Arg schema(restriction(restrictions, "TABLE_SCHEMA"));
    Arg table(restriction(restrictions, "TABLE_NAME"));
    const auto is = [&](const char* k) { return kind.compare(QLatin1String(k), Qt::CaseInsensitive) == 0; };
    const auto num = [](const DbValue& v) { return v.isNull() ? DbValue() : DbValue::integer(v.toInt64()); };
    const auto textFields = [&](std::initializer_list<const char*> names) {
        for (const char* f : names)
            cursor->addField(QLatin1String(f), ftWideString);
    };
    if (is("Tables")) {
        textFields({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"});
        StatementHandle stmt(*this);
        SQLWCHAR type[] = {'T', 'A', 'B', 'L', 'E', 0};
        check(SQLTablesW(stmt.get(), catalog.ptr(), catalog.len(), schema.ptr(), schema.len(), table.ptr(),
                         table.len(), type, SQL_NTS),
              SQL_HANDLE_STMT, stmt.get(), QStringLiteral("Cannot list the tables"));
        for (const auto& r : readText(*this, stmt.get()))
            cursor->addRow({r[0], r[1], r[2], r[3]});
    } else if (is("COLUMNS")) {
        textFields({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "COLUMN_NAME"});
        cursor->addField(QStringLiteral("POSITION"), ftInteger);
        cursor->addField(QStringLiteral("DATA_TYPE"), ftWideString);
        for (const char* f : {"DATA_LENGTH", "DATA_PRECISION", "DATA_SCALE", "NULLABLE"})
            cursor->addField(QLatin1String(f), ftInteger);
        cursor->addField(QStringLiteral("DEFAULT_VALUE"), ftWideString);
        StatementHandle stmt(*this);
        check(SQLColumnsW(stmt.get(), catalog.ptr(), catalog.len(), schema.ptr(), schema.len(), table.ptr(),
                          table.len(), nullptr, 0),
              SQL_HANDLE_STMT, stmt.get(), QStringLiteral("Cannot list the columns"));
        // SQLColumns: 5 TYPE_NAME, 7 COLUMN_SIZE, 9 DECIMAL_DIGITS, 11 NULLABLE, 13 COLUMN_DEF, 17 ORDINAL_POSITION
        for (const auto& r : readText(*this, stmt.get())) {
            const int sqlType = static_cast<int>(r[4].toInt64());
            const bool exact = sqlType == SQL_NUMERIC || sqlType == SQL_DECIMAL;
            cursor->addRow({r[0], r[1], r[2], r[3], num(r[16]), r[5], exact ? DbValue() : num(r[6]),
                            exact ? num(r[6]) : DbValue(), exact ? num(r[8]) : DbValue(),
                            DbValue::integer(r[10].toInt64() == SQL_NO_NULLS ? 0 : 1), r[12]});
        }
    } else if (is("Indexes") || is("IndexColumns")) {
        const bool columns = is("IndexColumns");
        textFields({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "INDEX_CATALOG", "INDEX_SCHEMA", "INDEX_NAME"});
        if (columns) {
            cursor->addField(QStringLiteral("COLUMN_NAME"), ftWideString);
            cursor->addField(QStringLiteral("COLUMN_POSITION"), ftInteger);
            cursor->addField(QStringLiteral("SORT_ORDER"), ftWideString);
        } else {
            cursor->addField(QStringLiteral("UNIQUE"), ftInteger);
            cursor->addField(QStringLiteral("ISPRIMARY"), ftWideString);
        }
        QStringList tables;
        if (table.empty) {
            DbRestrictions forTables = restrictions;
            std::unique_ptr<DbCursor> list = catalogueResult(QStringLiteral("Tables"), forTables);
            std::vector<DbValue> r;
            while (list->fetch(r))
                tables.append(r[2].toString());
        } else {
            tables.append(restriction(restrictions, "TABLE_NAME"));
        }
        for (const QString& t : tables) {
            Arg tableArg(t);
            QString primaryName;
            {
                StatementHandle pk(*this);
                if (odbc::ok(SQLPrimaryKeysW(pk.get(), catalog.ptr(), catalog.len(), schema.ptr(), schema.len(),
                                             tableArg.ptr(), tableArg.len()))) {
                    const auto keys = readText(*this, pk.get());
                    if (!keys.empty())
                        primaryName = keys.front()[5].toString();
                }
            }
            StatementHandle stmt(*this);
            check(SQLStatisticsW(stmt.get(), catalog.ptr(), catalog.len(), schema.ptr(), schema.len(),
                                 tableArg.ptr(), tableArg.len(), SQL_INDEX_ALL, SQL_QUICK),
                  SQL_HANDLE_STMT, stmt.get(), QStringLiteral("Cannot list the indexes"));
            // SQLStatistics: 4 NON_UNIQUE, 6 INDEX_NAME, 7 TYPE, 8 ORDINAL_POSITION, 9 COLUMN_NAME, 10 ASC_OR_DESC
            QString lastIndex;
            for (const auto& r : readText(*this, stmt.get())) {
                if (r[6].toInt64() == SQL_TABLE_STAT || r[5].isNull())
                    continue;
                const QString name = r[5].toString();
                const bool primary = !primaryName.isEmpty() && name == primaryName;
                std::vector<DbValue> row{r[0], r[1], r[2], r[0], r[1], r[5]};
                if (columns) {
                    row.insert(row.end(), {r[8], num(r[7]),
                                           DbValue::string(r[9].toString() == QLatin1String("D")
                                                               ? QStringLiteral("DESC") : QStringLiteral("ASC"))});
                    cursor->addRow(std::move(row));
                } else if (name != lastIndex) {
                    row.insert(row.end(), {DbValue::integer(r[3].toInt64() == 0 ? 1 : 0),
                                           primary ? DbValue::string(QStringLiteral("PRIMARY")) : DbValue()});
                    cursor->addRow(std::move(row));
                }
                lastIndex = name;
            }
        }
    } else {
        throw DbError(QStringLiteral("Unknown metadata kind \"%1\"").arg(kind));
    }
    return cursor;
}
