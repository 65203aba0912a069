#include "dbaccess/DBConnection.h"

#include "dbaccess/ConnectionResourceList.h"
#include "dbaccess/CreateTable.h"
#include "dbaccess/DBImportTable.h"
#include "dbaccess/DataAccessModule.h"
#include "dbaccess/SourceReading.h"
#include "foundation/CommonUtils.h"
#include "foundation/DbKind.h"
#include "foundation/ErrorType.h"
#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/LogUtils.h"
#include "foundation/TextFormat.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbMetaData.h"
#include "platform/db/DbQuery.h"
#include "records/AssignFieldToParam.h"
#include "records/DatasetFieldDef.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/TableMetadata.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/MainDataModule.h"
#include "shell/TypeMapping.h"

#include <QFileInfo>

namespace {

// A failure an operation answers with none or false instead of raising: the
// log says why, so that an empty answer is never unexplained.
void logSwallowed(const QString& what, const std::exception& error)
{
    appLog().logWarning(QStringLiteral("%1: %2").arg(what, exceptionMessage(error)));
}

const QString kProviderName = QStringLiteral("MainProperty_ProviderName");
const QString kUserName = QStringLiteral("MainProperty_Username");
const QString kPassword = QStringLiteral("MainProperty_Password");
const QString kServer = QStringLiteral("MainProperty_Server");
const QString kDatabase = QStringLiteral("MainProperty_Database");
const QString kPort = QStringLiteral("MainProperty_Port");
const QString kLoginPrompt = QStringLiteral("MainProperty_LoginPrompt");

constexpr int kOracleNameMax = 30;

TLoginDialogHook& loginDialogHook()
{
    static TLoginDialogHook hook;
    return hook;
}

int defaultPort(int kind)
{
    switch (kind) {
    case dbkind::MySQL: return 3306;
    case dbkind::Oracle: return 1521;
    case dbkind::MSSQL: return 1433;
    case dbkind::PostgreSQL: return 5432;
    default: return 0;
    }
}

// A value placed inside a quoted SQL literal of a template; MySQL also reads
// backslashes as escapes there.
QString literalText(const QString& text, bool backslashEscapes)
{
    QString out = text;
    if (backslashEscapes)
        out.replace(u'\\', QStringLiteral("\\\\"));
    out.replace(u'\'', QStringLiteral("''"));
    return out;
}

QVariantList variantArgs(const QStringList& args)
{
    QVariantList out;
    for (const QString& a : args)
        out << a;
    return out;
}

// Restores the time-suffix option when it goes out of scope.
class TimeSuffixOff {
public:
    TimeSuffixOff() : m_saved(dbOption().timeSuffix) { dbOption().timeSuffix = false; }
    ~TimeSuffixOff() { dbOption().timeSuffix = m_saved; }

private:
    bool m_saved;
};

// The destination names of a field map's lines in order, and source=destination
// lines for looking a record field's column up.
void splitFieldMap(const TStringList& map, bool sourceFirst, QStringList& destNames, TStringList& destBySource)
{
    for (const QString& line : map.lines()) {
        if (!TStringList::hasName(line))
            continue;
        const QString name = TStringList::nameOf(line);
        const QString value = line.mid(name.size() + 1);
        const QString& dest = sourceFirst ? value : name;
        destNames << dest;
        destBySource.add((sourceFirst ? name : value) + u'=' + dest);
    }
}

} // namespace

void setLoginDialogHook(TLoginDialogHook hook)
{
    loginDialogHook() = std::move(hook);
}

int dbErrorCodeOf(const std::exception& error)
{
    if (const auto* db = dynamic_cast<const DbError*>(&error))
        return db->trackedCode();
    return -1;
}

void installDbErrorCodeHook()
{
    setErrorCodeHook(&dbErrorCodeOf);
}

QString primaryKeyConstraintName(int kind, const QString& table, const TStringList& indexNames)
{
    for (int n = 0;; ++n) {
        const QString counter = n > 0 ? QString::number(n) : QString();
        QString candidate = table + QStringLiteral("_PRIMARYKEY") + counter;
        if (kind == dbkind::Oracle && candidate.size() > kOracleNameMax) {
            const qsizetype keep = std::min<qsizetype>(table.size(), kOracleNameMax - 3 - counter.size());
            candidate = table.left(keep) + QStringLiteral("_PM") + counter;
        }
        if (indexNames.indexOf(candidate) < 0)
            return candidate;
    }
}

TDBConnection::TDBConnection(int kind)
    : TAbsDBConnection(kind), m_connection(std::make_unique<DbConnection>()),
      m_resources(std::make_unique<TDBConnectionResourceList>(this)), m_generator(createTableGenerator(kind)),
      m_createdIndexNames(std::make_unique<TStringList>())
{
}

TDBConnection::~TDBConnection()
{
    m_connection->close(); // never raises
    m_resources->clear();
}

// ---- statements ----

std::unique_ptr<DbQuery> TDBConnection::createQuery(bool forwardOnly)
{
    auto query = std::make_unique<DbQuery>(m_connection.get());
    query->setPreciseDecimal(true);
    query->setForwardOnly(forwardOnly);
    TStringList& options = query->options();
    if (getDBType() == dbkind::MySQL) {
        options.setValue(QStringLiteral("MySQL.EnableBoolean"), QStringLiteral("False"));
        options.setValue(QStringLiteral("MySQL.CommandTimeout"), QStringLiteral("300"));
    } else if (getDBType() == dbkind::Oracle) {
        options.setValue(QStringLiteral("Oracle.CommandTimeout"), QStringLiteral("300"));
    }
    return query;
}

void TDBConnection::execSQL(const QString& sql)
{
    execSQLWithParams(sql, nullptr);
}

std::unique_ptr<DbQuery> TDBConnection::openSQL(const QString& sql)
{
    return openSQLWithParams(sql, nullptr);
}

QString TDBConnection::getSQLValue(const QString& sql)
{
    return getSQLValueWithParams(sql, nullptr);
}

std::unique_ptr<TStringList> TDBConnection::getSQLList(const QString& sql)
{
    return getSQLListWithParams(sql, nullptr);
}

void TDBConnection::execSQLWithParams(const QString& sql, const DbParamList* params)
{
    std::unique_ptr<DbQuery> query = createQuery(false);
    query->setSQL(sql);
    if (params)
        query->params().assignValues(*params);
    query->execute();
}

std::unique_ptr<DbQuery> TDBConnection::openSQLWithParams(const QString& sql, const DbParamList* params)
{
    std::unique_ptr<DbQuery> query = createQuery(true);
    query->setSQL(sql);
    if (params)
        query->params().assignValues(*params);
    query->open();
    return query;
}

QString TDBConnection::getSQLValueWithParams(const QString& sql, const DbParamList* params)
{
    std::unique_ptr<DbQuery> query = openSQLWithParams(sql, params);
    return query->eof() || query->fieldCount() == 0 ? QString() : query->field(0).asString();
}

std::unique_ptr<TStringList> TDBConnection::getSQLListWithParams(const QString& sql, const DbParamList* params)
{
    std::unique_ptr<DbQuery> query = openSQLWithParams(sql, params);
    auto list = std::make_unique<TStringList>();
    try {
        const bool pairs = query->fieldCount() >= 2;
        for (; !query->eof(); query->next())
            list->add(pairs ? query->field(0).asString() + u'=' + query->field(1).asString()
                            : query->field(0).asString());
    } catch (const std::exception& e) {
        logSwallowed(QStringLiteral("Reading the rows of \"%1\" failed").arg(sql), e);
        return nullptr;
    }
    return list;
}

bool TDBConnection::tryExecSQL(const QString& sql, TErrorType errorType, TErrInfoList* errors)
{
    try {
        execSQL(sql);
        return true;
    } catch (const std::exception& e) {
        if (errors)
            errors->tracker().addExceptionNoRecord(e, sql, getDBType(), errorType);
        else
            logSwallowed(QStringLiteral("The statement \"%1\" failed").arg(sql), e);
        return false;
    }
}

bool TDBConnection::tryExecFormat(const QString& format, const QStringList& args, TErrInfoList* errors,
                                       TErrorType errorType)
{
    return tryExecSQL(formatText(format, variantArgs(args)), errorType, errors);
}

// ---- listings ----

std::unique_ptr<TStringList> TDBConnection::getDatabaseList()
{
    try {
        return std::make_unique<TStringList>(m_connection->databaseNames());
    } catch (const std::exception& e) {
        logSwallowed(QStringLiteral("Listing the databases failed"), e);
        return nullptr;
    }
}

std::unique_ptr<TTableMetadataList> TDBConnection::getTableList()
{
    try {
        QStringList names;
        if (getDBType() == dbkind::Excel) {
            DbMetaData meta(m_connection.get());
            meta.setKind(QStringLiteral("Tables"));
            meta.open();
            for (; !meta.eof(); meta.next()) {
                // Worksheets are listed as 'Sheet1$' or Sheet1$.
                QString name = meta.fieldByName(QStringLiteral("TABLE_NAME")).asString();
                if (name.startsWith(u'\''))
                    name.remove(0, 1);
                if (name.endsWith(QStringLiteral("$'")))
                    name.chop(2);
                if (name.endsWith(u'$'))
                    name.chop(1);
                names << name;
            }
        } else {
            names = m_connection->tableNames();
        }
        auto list = std::make_unique<TTableMetadataList>();
        for (const QString& name : names)
            list->add(std::make_unique<TTableMetadata>(name));
        return list;
    } catch (const std::exception& e) {
        logSwallowed(QStringLiteral("Listing the tables failed"), e);
        return nullptr;
    }
}

void TDBConnection::applySchemaRestriction(DbMetaData& meta) const
{
    switch (getDBType()) {
    case dbkind::MySQL:
        meta.setRestriction(QStringLiteral("TABLE_SCHEMA"), m_connection->database());
        break;
    case dbkind::Oracle:
        // Oracle keeps unquoted user names in upper case.
        meta.setRestriction(QStringLiteral("TABLE_SCHEMA"), m_connection->userName().toUpper());
        break;
    case dbkind::MSSQL:
        meta.setRestriction(QStringLiteral("TABLE_CATALOG"), m_connection->database());
        break;
    default:
        break;
    }
}

QString TDBConnection::metadataTableName(const QString& table) const
{
    // The catalogue compares the stored name: never quoted, and callers pass
    // destination names with their time suffix already appended.
    return m_generator->tableNameUnquoted(table);
}

std::unique_ptr<TFieldMetadataList> TDBConnection::getFieldList(const QString& table)
{
    auto list = std::make_unique<TFieldMetadataList>();
    const int kind = getDBType();
    if (kind == dbkind::MySQL || kind == dbkind::MSSQL) {
        const TKwStringsComponent* templates = mainDataModule().table(QStringLiteral("getMetaData"));
        const TStringList* section =
            templates ? templates->findSectionLines(QStringLiteral("fieldList_") + dbKindName(kind)) : nullptr;
        if (!section)
            throw Exception(QStringLiteral("No column listing statement for %1").arg(dbKindName(kind)));
        const QString sql =
            formatText(section->text(), {literalText(metadataTableName(table), kind == dbkind::MySQL),
                                          literalText(m_connection->database(), kind == dbkind::MySQL)});
        std::unique_ptr<DbQuery> rows = openSQL(sql);
        list->loadFromMetadataRows(*rows, kind, &mapSourceTypeName, &fieldScopeOf);
    } else {
        DbMetaData meta(m_connection.get());
        meta.setKind(QStringLiteral("COLUMNS"));
        meta.setRestriction(QStringLiteral("TABLE_NAME"), metadataTableName(table));
        applySchemaRestriction(meta);
        meta.open();
        list->loadFromMetadataRows(meta, kind, &mapSourceTypeName, &fieldScopeOf);
    }
    return list;
}

std::unique_ptr<TIndexMetadataList> TDBConnection::getIndexList(const QString& table)
{
    DbMetaData indexes(m_connection.get());
    DbMetaData columns(m_connection.get());
    indexes.setKind(QStringLiteral("Indexes"));
    columns.setKind(QStringLiteral("IndexColumns"));
    for (DbMetaData* meta : {&indexes, &columns}) {
        meta->setRestriction(QStringLiteral("TABLE_NAME"), metadataTableName(table));
        applySchemaRestriction(*meta);
        meta->open();
    }
    return readIndexList(indexes, columns, getDBType(), table);
}

std::unique_ptr<TStringList> TDBConnection::getIndexNames(const QString& table)
{
    DbMetaData meta(m_connection.get());
    meta.setKind(QStringLiteral("Indexes"));
    applySchemaRestriction(meta);
    // Oracle index names are unique in the schema, not per table.
    if (getDBType() != dbkind::Oracle)
        meta.setRestriction(QStringLiteral("TABLE_NAME"), metadataTableName(table));
    meta.open();
    auto names = std::make_unique<TStringList>();
    for (; !meta.eof(); meta.next())
        names->add(meta.fieldByName(QStringLiteral("INDEX_NAME")).asString());
    return names;
}

bool TDBConnection::tableExists(const QString& table)
{
    return getFieldList(table)->getCount() > 0;
}

std::unique_ptr<TTableMetadata> TDBConnection::getTableMetadata(const QString& table)
{
    return tableExists(table) ? std::make_unique<TTableMetadata>(table) : nullptr;
}

int TDBConnection::getMultiCharLength()
{
    if (m_multiCharLength == 0) {
        const TKwStringsComponent* table = mainDataModule().table(QStringLiteral("getMulitCharLength"));
        bool usedDefault = true;
        const QString sql = table ? sectionTextOrDefault(*table, dbKindName(getDBType()), &usedDefault) : QString();
        int value = 2;
        if (!usedDefault && !sql.trimmed().isEmpty()) {
            bool ok = false;
            const int measured = getSQLValue(sql).trimmed().toInt(&ok);
            if (ok && measured > 0)
                value = measured;
        }
        m_multiCharLength = value;
    }
    return m_multiCharLength;
}

// ---- tables ----

bool TDBConnection::createTable(TTableMetadata& table, TFieldMetadataList& fields, TIndexMetadataList* indexes)
{
    return createTableWithKey(table, fields, nullptr, indexes, *m_generator);
}

bool TDBConnection::createTableWithKey(TTableMetadata& table, TFieldMetadataList& fields, TErrInfoList* errors,
                                            TIndexMetadataList* indexes, TAbsCreateTable& generator)
{
    const QString sql = generator.getCreateTableSQL(table, fields, indexes);
    if (!tryExecSQL(sql, TErrorType::CreateTable, errors))
        return false;
    if (generator.inlinePrimaryKey() || !hasUsablePrimaryKey(indexes))
        return true;
    QString constraint;
    try {
        const TDBOption& o = dbOption();
        const std::unique_ptr<TStringList> names =
            getIndexNames(o.timeSuffix ? table.name + o.suffixText : table.name);
        constraint = primaryKeyConstraintName(getDBType(), table.name, *names);
    } catch (const std::exception& e) {
        if (errors)
            errors->tracker().addExceptionNoRecord(e, QString(), getDBType(), TErrorType::CreateTable);
        else
            logSwallowed(QStringLiteral("Naming the primary key of %1 failed").arg(table.name), e);
        return false;
    }
    return tryExecSQL(generator.getAddPrimaryKeySQL(constraint), TErrorType::CreateTable, errors);
}

QString TDBConnection::copyTableStructure(const QString& table)
{
    const std::unique_ptr<TTableMetadata> meta = getTableMetadata(table);
    if (!meta)
        return {};
    const std::unique_ptr<TFieldMetadataList> fields = getFieldList(table);
    QString copyName = table + QStringLiteral("_Copy");
    for (int n = 1; tableExists(copyName); ++n)
        copyName = table + QStringLiteral("_Copy") + QString::number(n);
    for (int i = 0; i < fields->getCount(); ++i)
        fields->getItem(i)->setNotNull(false);
    meta->name = copyName;
    const TimeSuffixOff plainName; // the copy is named exactly, whatever the run's suffix
    createTable(*meta, *fields, nullptr);
    return copyName;
}

void TDBConnection::dropTable(const QString& table)
{
    execSQL(formatText(QStringLiteral("drop table %s"), {m_generator->tableNameForm(table)}));
}

void TDBConnection::deleteAllRows(const QString& table, TErrInfoList* errors)
{
    tryExecFormat(QStringLiteral("delete from %s"), {m_generator->tableNameForm(table)}, errors,
                  TErrorType::DeleteRows);
}

void TDBConnection::findFailingFields(const QString& table, const TStringList& fieldMap, TStringList& failures,
                                           IReadDataRecord& record)
{
    QStringList destNames;
    TStringList destBySource;
    splitFieldMap(fieldMap, true, destNames, destBySource);
    findFailing(table, destNames, destBySource, failures, record);
}

void TDBConnection::findFailingFieldsDestToSource(const QString& table, const TStringList& destToSourceMap,
                                                       TStringList& failures, IReadDataRecord& record)
{
    QStringList destNames;
    TStringList destBySource;
    splitFieldMap(destToSourceMap, false, destNames, destBySource);
    findFailing(table, destNames, destBySource, failures, record);
}

void TDBConnection::findFailing(const QString& table, const QStringList& destNames,
                                     const TStringList& destBySource, TStringList& failures, IReadDataRecord& record)
{
    const bool blankIsNull = getOptionBool(QStringLiteral("BlankStrIsNull"));
    const QString tableForm = m_generator->tableNameForm(table);
    QStringList columns;
    for (const QString& name : destNames)
        columns << m_generator->columnNameForm(name);
    TDatasetFieldDefList defs;
    {
        std::unique_ptr<DbQuery> probe = openSQL(formatText(QStringLiteral("select %s from %s where 0=1"),
                                                            {columns.join(m_generator->getSeparator()), tableForm}));
        defs.fillFromQuery(*probe);
    }
    const bool oracle = getDBType() == dbkind::Oracle;
    std::unique_ptr<DbQuery> insert = createQuery(false);
    for (int i = 0; i < record.fieldCount(); ++i) {
        const IReadDataField& field = *record.fieldAt(i);
        const QString fieldName = field.fieldName();
        const qsizetype mapped = destBySource.indexOfName(fieldName);
        const QString dest = mapped >= 0 ? destBySource.valueFromIndex(mapped) : fieldName;
        try {
            insert->setSQL(formatText(QStringLiteral("insert into %s (%s) values  (%s)"),
                                      {tableForm, m_generator->columnNameForm(dest), QStringLiteral(":p1")}));
            DbParam& param = insert->params().at(0);
            param.setDirection(DbParamDirection::Input);
            const TDatasetFieldDef* def = defs.findDef(dest);
            const TReadDataFieldType destType = def ? readDataFieldTypeOf(def->dataType) : field.dataType();
            int largeObject = 0;
            if (oracle && field.dataType() == rftMemo)
                largeObject = ftOraClob;
            else if (oracle && field.dataType() == rftBlob)
                largeObject = ftOraBlob;
            assignFieldToParam(param, destType, blankIsNull, largeObject, field);
            insert->execute();
        } catch (const std::exception&) {
            failures.add(QStringLiteral("%1=%2").arg(i).arg(fieldName));
        }
    }
}

// ---- settings and opening ----

void TDBConnection::setConnectParams(const TStringList& settings)
{
    DbConnection& c = *m_connection;
    c.setProviderName(settings.value(kProviderName));
    c.options() = settings;
    c.setUserName(settings.value(kUserName));
    c.setPassword(settings.value(kPassword));
    c.setServer(settings.value(kServer));
    c.setDatabase(settings.value(kDatabase));
    bool portOk = false;
    const int port = settings.value(kPort).trimmed().toInt(&portOk);
    c.setPort(portOk && port >= 1 ? port : defaultPort(getDBType()));
    bool promptOk = false;
    const bool prompt = textToBool(settings.value(kLoginPrompt), promptOk);
    m_loginPrompt = promptOk && prompt;
    for (const QString& name : {kProviderName, kUserName, kPassword, kServer, kDatabase, kPort}) {
        qsizetype index;
        while ((index = c.options().indexOfName(name)) >= 0)
            c.options().removeAt(index);
    }
    if (getDBType() == dbkind::MySQL) {
        if (c.options().value(QStringLiteral("Charset")).compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) == 0)
            c.options().setValue(QStringLiteral("UseUnicode"), QStringLiteral("True"));
        c.options().setValue(QStringLiteral("MySQL.ConnectionTimeout"), QStringLiteral("300"));
    } else if (getDBType() == dbkind::Oracle) {
        c.options().setValue(QStringLiteral("Oracle.ConnectionTimeout"), QStringLiteral("300"));
    }
}

QStringList TDBConnection::unreadSettings(const TStringList& settings) const
{
    // What setConnectParams reads itself; the rest is for the provider.
    static const QStringList readHere = {kProviderName, kUserName, kPassword, kServer, kDatabase, kPort, kLoginPrompt,
                                         QStringLiteral("Charset")};
    const QSet<QString>& asked = m_connection->settings().askedOptions;
    QStringList unread;
    for (qsizetype i = 0; i < settings.count(); ++i) {
        if (!TStringList::hasName(settings.at(i)))
            continue;
        const QString name = settings.name(i).trimmed();
        if (name.isEmpty() || readHere.contains(name, Qt::CaseInsensitive) || asked.contains(name.toLower()))
            continue;
        unread << name;
    }
    return unread;
}

bool TDBConnection::connect(QString& failureText, bool destination)
{
    int code = 0;
    return openConnect(failureText, code, destination);
}

bool TDBConnection::openConnect(QString& failureText, int& errorCode, bool destination)
{
    m_multiCharLength = 0;
    m_resources->clear();
    DbConnection& c = *m_connection;
    try {
        if (c.connected())
            c.close();
        const QString prefix = destination ? QStringLiteral("DestCon.@") : QStringLiteral("SourceCon.@");
        for (const QString& line : globalOptions().lines()) {
            const QString name = TStringList::nameOf(line);
            if (name.startsWith(prefix, Qt::CaseSensitive) && name.size() > prefix.size())
                c.options().setValue(name.mid(prefix.size()), line.mid(name.size() + 1));
        }
        if (destination && getDBType() == dbkind::Access && !c.database().isEmpty() &&
            !QFileInfo::exists(c.database())) {
            const QFileInfo file(c.database());
            writeResourceToFile(QStringLiteral("emptyaccessdb_2003"), file.absolutePath(), file.fileName());
        }
        if (m_loginPrompt) {
            const TLoginDialogHook& hook = loginDialogHook();
            if (!hook)
                throw Exception(QStringLiteral("The connection asks for a login, but no login dialog can be shown "
                                               "here; give the user name and password in the connection settings"));
            QString user = c.userName();
            QString password = c.password();
            if (hook(user, password)) {
                c.setUserName(user);
                c.setPassword(password);
                m_loginPrompt = false;
            }
        }
        if (getDBType() == dbkind::Oracle)
            c.options().setValue(QStringLiteral("Oracle.CharLength"), QStringLiteral("0"));
        if (auto* excel = dynamic_cast<TExcelCreateTable*>(m_generator.get()))
            excel->setCsvFile(isCsvSource());
        c.open();
        return true;
    } catch (const std::exception& e) {
        failureText = exceptionMessage(e);
        errorCode = errorCodeOf(e);
        return false;
    } catch (...) {
        failureText = QStringLiteral("Unknown error while connecting");
        errorCode = -1;
        return false;
    }
}

void TDBConnection::closeConnect()
{
    m_connection->close();
    m_resources->clear();
}

bool TDBConnection::isConnected() const
{
    return m_connection->connected();
}

bool TDBConnection::isCsvSource() const
{
    return getDBType() == dbkind::Excel && m_connection->server().contains(QStringLiteral("*.csv"));
}

std::unique_ptr<IImportTable> TDBConnection::createImportTable()
{
    return std::make_unique<TDBImportTable>(this);
}

// ---- source reading ----

bool TDBConnection::readTable(const QString& table, const TStringList& fieldNames,
                                   const TBeginTableCallback& onBeginTable, const TRecordCallback& onRecord,
                                   bool structureOnly, TErrInfoList* errors)
{
    TSourceReading reading(*this, *m_resources, errors);
    return reading.readTable(table, fieldNames, onBeginTable, onRecord, structureOnly);
}

bool TDBConnection::readCustomSQL(const QString& sourceName, const QString&, const QString& sql,
                                       TStringList& fieldMap, const TBeginTableCallback& onBeginTable,
                                       const TRecordCallback& onRecord, TErrInfoList* errors)
{
    TSourceReading reading(*this, *m_resources, errors);
    return reading.readCustomSQL(sourceName, sql, fieldMap, onBeginTable, onRecord);
}
