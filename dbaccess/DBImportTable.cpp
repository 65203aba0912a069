#include "dbaccess/DBImportTable.h"

#include "dbaccess/ConvertFieldError.h"
#include "dbaccess/CreateIndexes.h"
#include "dbaccess/CreateTable.h"
#include "dbaccess/DBConnection.h"
#include "dbaccess/ExtendFieldLengths.h"
#include "foundation/CommonUtils.h"
#include "foundation/DbKind.h"
#include "foundation/ErrorType.h"
#include "foundation/Errors.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/LogUtils.h"
#include "foundation/StringResource.h"
#include "foundation/TextUtils.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbQuery.h"
#include "platform/db/DbTimeStamp.h"
#include "records/AssignFieldToParam.h"
#include "records/DatasetFieldDef.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/TableMetadata.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/MainDataModule.h"
#include "shell/StopFlag.h"
#include "shell/TypeMapping.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <iterator>

namespace {
enum { kNoStatement = 0, kInsert = 1, kUpdate = 2 };
// Longest text of an interval value, e.g. "-178000000 years 11 mons 30 days 23:59:59.999999".
constexpr int kIntervalTextLength = 100;

void recordError(TErrInfoList* errors, const QString& message, const QString& statement, int code, int kind,
                 const IReadDataRecord* record, TErrorType errorType)
{
    if (errors)
        errors->tracker().addError(message, statement, code, kind, record, errorType);
}

bool isDateOrTimeKind(TReadDataFieldType type) { return type == rftDateTime || type == rftTime; }

// Sleeps in short slices so that a window stays responsive and a stop request is heard.
void waitKeepingEventsFlowing(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds && !stopRequested()) {
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
}

// The bound values of a row written again, for the error file when it fails there.
QString paramValuesText(const DbParamList& params)
{
    QStringList values;
    for (int i = 0; i < params.count(); ++i) {
        const DbParam& param = params.at(i);
        values << param.name() + u'=' + (param.isNull() ? QStringLiteral("NULL") : param.value().toString());
    }
    return values.join(QStringLiteral(", "));
}
} // namespace

QString rowsHeldBeforeText(const QString& table, qint64 rows)
{
    return formatText(resourceText(QStringLiteral("CopyConvertUIResource"), QStringLiteral("execConvert"),
                                   QStringLiteral("rows before run")),
                      {table, rows});
}

QString fullDestinationName(const QString& table)
{
    return dbOption().timeSuffix ? table + dbOption().suffixText : table;
}

TDBImportTable::TDBImportTable(TDBConnection* connection) : m_connection(connection) {}

TDBImportTable::~TDBImportTable() = default;

int TDBImportTable::destKind() const { return m_connection->getDBType(); }

// ---- prepare ----

bool TDBImportTable::prepare(const QString& destTable, const TImportTableSource& source,
                             const TImportTableOptions& options, bool& tableCreated, TErrInfoList* errors)
{
    // Options are read once per table: they cannot change while a table is copied.
    m_blankIsNull = getOptionBool(QStringLiteral("BlankStrIsNull"));
    m_autoChangeNotNull = getOptionBool(QStringLiteral("AutoChangeFieldNotNull"));
    m_tableCreated = false;
    tableCreated = false;
    m_rowsInTransaction = 0;
    m_rowsOnQuery = 0;
    m_pending.clear();
    m_committedRows = 0;
    m_retryAfterReconnect = false;
    m_connectionLost = false;
    if (!m_query)
        m_query = m_connection->createQuery(true);
    m_loaded = kNoStatement;
    // Nothing of an earlier table may serve this one, even when this prepare fails.
    m_insertSql.clear();
    m_updateSql.clear();
    m_insertTemplate.reset();
    m_updateTemplate.reset();
    m_columns.clear();
    m_keyColumns.clear();
    m_tableName = destTable;
    m_fieldMap = source.fieldMap;
    m_indexList = source.indexes;
    m_resolvedFor = nullptr;

    m_rowsHeldBefore = 0;
    if (!options.keepTable && dbOption().timeSuffix)
        takeFreeTimeSuffix(destTable);
    const QString fullName = fullDestinationName(destTable);
    if (!options.keepTable) {
        TAbsCreateTable& generator = m_connection->generator();
        // With a time suffix every run writes a new table: an older one is never touched.
        if (m_connection->tableExists(fullName) && !dbOption().timeSuffix) {
            if (options.dropDestTable)
                m_connection->tryExecFormat(QStringLiteral("drop table %s"), {generator.tableNameForm(destTable)},
                                            errors, TErrorType::DropTable);
            else if (options.clearDestTable)
                m_connection->tryExecFormat(QStringLiteral("delete from %s"), {generator.tableNameForm(destTable)},
                                            errors, TErrorType::DeleteRows);
            else
                countRowsHeldBefore(fullName);
        }
        if (!m_connection->tableExists(fullName)) {
            if (!createDestTable(source, errors))
                return false;
            m_tableCreated = true;
            tableCreated = true;
        }
    }

    m_destFields = m_connection->getFieldList(fullName);
    if (!m_destFields || m_destFields->getCount() == 0)
        raiseCommonError(5000, 0, {destTable});
    readDestColumns();
    buildStatements();
    return true;
}

// Two runs in the same minute get the same time suffix: the second would
// append to the first one's table. The run moves on to the next free suffix,
// which its later tables keep.
void TDBImportTable::takeFreeTimeSuffix(const QString& table)
{
    constexpr int kMaxTries = 1000;
    for (int i = 0; i < kMaxTries && m_connection->tableExists(fullDestinationName(table)); ++i)
        dbOption().nextSuffix();
}

// Rows already there are a rerun's (or someone else's): the copied count
// alone would not tell that the table now holds more rows than the source.
void TDBImportTable::countRowsHeldBefore(const QString& fullName)
{
    try {
        const std::unique_ptr<TStringList> count = m_connection->getSQLList(
            formatText(QStringLiteral("select count(*) from %s"), {m_connection->generator().tableNameForm(fullName)}));
        m_rowsHeldBefore = count && count->count() > 0 ? count->at(0).trimmed().toLongLong() : 0;
    } catch (const std::exception& e) {
        // Only a warning is lost; the table itself is checked by what follows.
        appLog().logWarning(QStringLiteral("Cannot count the rows of %1: %2").arg(fullName, exceptionMessage(e)));
        return;
    }
    if (m_rowsHeldBefore > 0)
        appLog().logWarning(rowsHeldBeforeText(fullName, m_rowsHeldBefore));
}

bool TDBImportTable::createDestTable(const TImportTableSource& in, TErrInfoList* errors)
{
    TTableMetadata table(m_tableName);
    TFieldMetadataList fields;
    for (qsizetype i = 0; m_fieldMap && i < m_fieldMap->count(); ++i) {
        if (!TStringList::hasName(m_fieldMap->at(i)))
            continue;
        const QString destName = m_fieldMap->name(i);
        const QString sourceName = m_fieldMap->valueFromIndex(i);
        const TFieldMetadata* source = in.sourceFields ? in.sourceFields->findByName(sourceName) : nullptr;
        if (!source) {
            // A column without metadata would be created with a guessed type; refuse instead.
            recordError(errors, QStringLiteral("Source field \"%1\" of table \"%2\" not found")
                                    .arg(sourceName, m_tableName),
                        QString(), -1, destKind(), nullptr, TErrorType::CreateTable);
            return false;
        }
        auto field = std::make_unique<TFieldMetadata>();
        field->setName(destName);
        field->setLength(source->getLength());
        field->setPrecision(source->getPrecision());
        field->setScale(source->getScale());
        field->setNotNull(source->getNotNull());
        if (destKind() == in.sourceKind) {
            field->setTypeName(source->getTypeName());
        } else {
            const TDatasetFieldDef* def = in.sourceFieldDefs ? in.sourceFieldDefs->findDef(sourceName) : nullptr;
            const TFieldType type = TFieldType(def ? def->dataType : ftUnknown);
            field->setTypeName(fieldTypeNameOf(destKind(), type));
            // An interval travels as its text, which is longer than the catalogue's
            // byte length of the value; size the text column for the longest form.
            if (type == ftOraInterval)
                field->setLength(std::max(source->getLength(), kIntervalTextLength));
        }
        fields.add(std::move(field));
    }
    return m_connection->createTableWithKey(table, fields, errors, in.indexes, m_connection->generator());
}

// The mapped columns with their definitions, as the destination table has them now.
void TDBImportTable::readDestColumns()
{
    TAbsCreateTable& generator = m_connection->generator();
    m_columns.clear();
    QStringList names;
    for (qsizetype i = 0; m_fieldMap && i < m_fieldMap->count(); ++i) {
        if (!TStringList::hasName(m_fieldMap->at(i)))
            continue;
        TColumn column;
        column.line = int(i);
        column.destName = m_fieldMap->name(i);
        column.sourceName = m_fieldMap->valueFromIndex(i);
        column.destField = m_destFields->findByName(column.destName);
        m_columns.push_back(column);
        names << generator.columnNameForm(column.destName);
    }

    m_destFieldDefs = std::make_unique<TDatasetFieldDefList>();
    if (m_columns.empty())
        return;
    std::unique_ptr<DbQuery> probe = m_connection->openSQL(
        formatText(QStringLiteral("select %s from %s where 0=1"),
                   {names.join(u','), generator.tableNameForm(fullDestinationName(m_tableName))}));
    m_destFieldDefs->fillFromQuery(*probe);
    const bool oracle = destKind() == dbkind::Oracle;
    for (TColumn& column : m_columns) {
        const int index = m_destFieldDefs->findDefIndex(column.destName);
        if (index < 0)
            continue;
        column.destFieldType = m_destFieldDefs->defAt(index).dataType;
        column.destRecordType = readDataFieldTypeOf(column.destFieldType);
        column.fractionalSeconds = isDateOrTimeKind(column.destRecordType) && probe->fieldDefs()[size_t(index)].scale > 0;
        if (oracle && column.destRecordType == rftMemo)
            column.largeObjectSubtype = ftOraClob;
        else if (oracle && column.destRecordType == rftBlob)
            column.largeObjectSubtype = ftOraBlob;
    }
}

void TDBImportTable::buildStatements()
{
    TAbsCreateTable& generator = m_connection->generator();
    const QString table = generator.fullTableName(m_tableName);
    QStringList columns, values, assignments;
    for (const TColumn& column : m_columns) {
        const QString name = generator.columnNameForm(column.destName);
        const QString param = QStringLiteral(":p") + QString::number(column.line);
        columns << name;
        values << param;
        assignments << name + u'=' + param;
    }
    m_insertSql = formatText(QStringLiteral("insert into %s (%s) values  (%s)"),
                             {table, columns.join(u','), values.join(u',')});
    m_insertTemplate = std::make_unique<DbParamList>(DbParamList::fromStatement(m_insertSql));
    for (int i = 0; i < m_insertTemplate->count(); ++i)
        m_insertTemplate->at(i).setDirection(DbParamDirection::Input);

    m_updateSql.clear();
    m_updateTemplate.reset();
    m_keyColumns.clear();
    if (!hasUsablePrimaryKey(m_indexList) || m_columns.empty())
        return;
    const IIndexMetadata* key = m_indexList->primaryIndex();
    QStringList conditions;
    for (int k = 0; k < key->fieldCount(); ++k) {
        const QString keyName = key->fieldAt(k)->destName;
        int found = -1;
        for (size_t c = 0; c < m_columns.size() && found < 0; ++c)
            if (m_columns[c].destName.compare(keyName, Qt::CaseInsensitive) == 0)
                found = int(c);
        // A key column that is not mapped has no value to find the row by.
        if (found < 0) {
            m_keyColumns.clear();
            return;
        }
        m_keyColumns.push_back(found);
        conditions << generator.columnNameForm(keyName) + QStringLiteral("=:k") + QString::number(k);
    }
    m_updateSql = formatText(QStringLiteral("update %s set %s where %s"),
                             {table, assignments.join(u','), conditions.join(QStringLiteral(" and "))});
    m_updateTemplate = std::make_unique<DbParamList>(DbParamList::fromStatement(m_updateSql));
    for (int i = 0; i < m_updateTemplate->count(); ++i)
        m_updateTemplate->at(i).setDirection(DbParamDirection::Input);
}

// ---- writeRecord ----

bool TDBImportTable::writeRecord(TWriteMode mode, IReadDataRecord& record, TErrInfoList* errors)
{
    // After a link that could not be restored the failure is recorded once,
    // not once per remaining row.
    if (m_connectionLost)
        return false;
    bool ok = false;
    try {
        // A lost link is restored (the open transaction written again) and
        // the row tried once more; restoreLink gives up after its own tries.
        for (int attempt = 0; attempt < 2; ++attempt) {
            m_retryAfterReconnect = false;
            ok = false;
            if (beginRow(record, errors)) {
                switch (mode) {
                case TWriteMode::Insert: ok = writeRow(kInsert, record, errors); break;
                case TWriteMode::UpdateByKey:
                    if (m_updateSql.isEmpty())
                        raiseNoPrimaryKey();
                    ok = writeRow(kUpdate, record, errors);
                    break;
                case TWriteMode::CheckKey:
                    if (m_updateSql.isEmpty())
                        raiseNoPrimaryKey();
                    ok = true;
                    break;
                }
            }
            if (!m_retryAfterReconnect || !restoreLink(errors))
                break;
        }
        if (m_retryAfterReconnect && !m_connectionLost) {
            // Lost again right after it was restored: give up on the table.
            m_connectionLost = true;
            recordError(errors, linkLostText(), QString(), -1, destKind(), &record, TErrorType::Insert);
        }
    } catch (...) {
        endOfWrite(errors);
        throw;
    }
    return endOfWrite(errors) && ok;
}

void TDBImportTable::raiseNoPrimaryKey() const
{
    raiseMessage(QStringLiteral("primary key not set! Table name=") + m_tableName);
}

bool TDBImportTable::beginRow(IReadDataRecord& record, TErrInfoList* errors)
{
    try {
        if (m_rowsInTransaction <= 0) {
            m_connection->packConnection().startTransaction();
            m_rowsInTransaction = 0;
        }
        ++m_rowsInTransaction;
        if (!m_query)
            m_query = m_connection->createQuery(true);
        ++m_rowsOnQuery;
        return true;
    } catch (const std::exception& e) {
        if (linkLost()) {
            m_retryAfterReconnect = true;
            return false;
        }
        recordError(errors, exceptionMessage(e), QString(), errorCodeOf(e), destKind(), &record,
                    TErrorType::Insert);
        return false;
    }
}

bool TDBImportTable::writeRow(int statement, IReadDataRecord& record, TErrInfoList* errors)
{
    if (!m_insertTemplate) {
        recordError(errors, QStringLiteral("The table \"%1\" was not prepared for writing").arg(m_tableName),
                    QString(), -1, destKind(), &record, TErrorType::Insert);
        return false;
    }
    loadStatement(statement);
    try {
        resolveSourceFields(record);
        bindRow(m_query->params());
    } catch (const TConvertFieldError& e) {
        recordError(errors, e.message(), m_query->sql(), e.code(), dbkind::FieldConversion, &record,
                    TErrorType::Parameter);
        return false;
    } catch (const std::exception& e) {
        recordError(errors, exceptionMessage(e), QString(), errorCodeOf(e), destKind(), &record,
                    TErrorType::Parameter);
        return false;
    }
    return executeRow(record, errors);
}

void TDBImportTable::loadStatement(int statement)
{
    if (m_loaded == statement)
        return;
    const bool insert = statement == kInsert;
    m_query->setSQL(insert ? m_insertSql : m_updateSql);
    // Every row sets every parameter, so the template is taken over once per query.
    m_query->params() = insert ? *m_insertTemplate : *m_updateTemplate;
    m_loaded = statement;
}

// Source fields are looked up by name once per record reader, not per row.
void TDBImportTable::resolveSourceFields(const IReadDataRecord& record)
{
    if (m_resolvedFor == &record && m_resolvedFieldCount == record.fieldCount())
        return;
    m_sourceFields.assign(m_columns.size(), nullptr);
    for (size_t i = 0; i < m_columns.size(); ++i)
        m_sourceFields[i] = record.fieldByName(m_columns[i].sourceName);
    m_resolvedFor = &record;
    m_resolvedFieldCount = record.fieldCount();
}

void TDBImportTable::bindRow(DbParamList& params)
{
    const int setCount = int(m_columns.size());
    const int total = m_loaded == kUpdate ? setCount + int(m_keyColumns.size()) : setCount;
    for (int i = 0; i < total; ++i) {
        const int c = i < setCount ? i : m_keyColumns[size_t(i - setCount)];
        TColumn& column = m_columns[size_t(c)];
        const IReadDataField* source = m_sourceFields[size_t(c)];
        if (!source)
            raiseMessage(QStringLiteral("Field \"%1\" not found in the source record").arg(column.sourceName));
        DbParam& param = params.at(i);
        setColumnParameter(column, *source, param);
        if (m_autoChangeNotNull && column.destField && column.destField->getNotNull() && param.isNull()
            && changeColumnToNullable(m_tableName, column.destName, *column.destField))
            column.destField->setNotNull(false);
    }
}

void TDBImportTable::setColumnParameter(TColumn& column, const IReadDataField& source, DbParam& param)
{
    if (column.destRecordType == rftUnknown)
        raiseCantConvertFieldType(column.destName, column.destFieldType < 0 ? ftUnknown : column.destFieldType);
    const bool oracle = destKind() == dbkind::Oracle;
    if (oracle && !source.hasValue()) {
        param.setNull(ftUnknown);
        return;
    }
    try {
        // The record interface carries thousandths only; a timestamp's text keeps its microseconds.
        if (column.fractionalSeconds && source.dataType() == rttTimeStamp && !source.isNull()) {
            DbTimeStamp stamp;
            bool parsed = true;
            try {
                stamp = DbTimeStamp::parse(source.asString());
            } catch (const Exception&) {
                parsed = false;
            }
            if (parsed) {
                if (column.destRecordType == rftTime)
                    param.setAsTime(stamp);
                else
                    param.setAsDateTime(stamp);
                return;
            }
        }
        assignFieldToParam(param, column.destRecordType, m_blankIsNull, column.largeObjectSubtype, source);
    } catch (const DbError&) {
        throw;
    } catch (const Exception& e) {
        throw TConvertFieldError(e.message(), column.destName, source.dataType(), column.destRecordType);
    }
}

bool TDBImportTable::executeRow(IReadDataRecord& record, TErrInfoList* errors)
{
    try {
        m_query->execute();
        m_pending.push_back({m_loaded, m_query->params()});
        return true;
    } catch (const std::exception& e) {
        if (linkLost()) {
            m_retryAfterReconnect = true;
            return false;
        }
        const int code = errorCodeOf(e);
        if (m_fieldMap && getOptionBool(QStringLiteral("ExtendField")) && isLengthError(destKind(), code)
            && extendFieldLengths(*m_connection, m_tableName, *m_fieldMap, record)) {
            refreshDestFields();
            try {
                restartTransaction();
                m_query->execute();
                m_pending.push_back({m_loaded, m_query->params()});
                return true;
            } catch (const std::exception&) {
                // The first failure is the one worth recording.
            }
        }
        recordError(errors, exceptionMessage(e), m_query->sql(), code, destKind(), &record, TErrorType::Insert);
        return false;
    }
}

// Widened columns: later alter statements must start from the new lengths.
void TDBImportTable::refreshDestFields()
{
    std::unique_ptr<TFieldMetadataList> fields;
    try {
        fields = m_connection->getFieldList(fullDestinationName(m_tableName));
    } catch (const std::exception&) {
        return;
    }
    if (!fields)
        return;
    for (TColumn& column : m_columns) {
        TFieldMetadata* now = fields->findByName(column.destName);
        if (!column.destField || !now)
            continue;
        column.destField->setLength(now->getLength());
        column.destField->setPrecision(now->getPrecision());
        column.destField->setScale(now->getScale());
    }
}

bool TDBImportTable::endOfWrite(TErrInfoList* errors)
{
    if (m_rowsOnQuery >= kRowsPerQuery) {
        m_rowsOnQuery = 0;
        m_query.reset();
        m_loaded = kNoStatement;
    }
    if (m_rowsInTransaction >= kRowsPerTransaction)
        return commitOpenTransaction(errors);
    return true;
}

// A failed commit loses the transaction's rows: it is recorded, never passed over.
bool TDBImportTable::commitOpenTransaction(TErrInfoList* errors)
{
    m_rowsInTransaction = 0;
    // The transaction's refused rows reach their file before its rows count as copied.
    if (errors)
        errors->tracker().flush();
    DbConnection& pack = m_connection->packConnection();
    if (m_connectionLost || !pack.inTransaction())
        return !m_connectionLost;
    for (int attempt = 0;; ++attempt) {
        try {
            commitPending(pack);
            return true;
        } catch (const std::exception& e) {
            // A lost link costs the transaction: write it again and commit once more.
            if (attempt == 0 && linkLost() && restoreLink(errors))
                continue;
            if (!m_connectionLost && errors) {
                const QString message = linkLost() ? linkLostText() : exceptionMessage(e);
                errors->tracker().addExceptionNoRecord(Exception(message), QStringLiteral("commit"), destKind(),
                                                       TErrorType::Insert);
            }
            m_connectionLost = m_connectionLost || linkLost();
            m_pending.clear();
            return false;
        }
    }
}

// The rows of the open transaction count as copied only once it committed.
void TDBImportTable::commitPending(DbConnection& pack)
{
    pack.commit();
    m_committedRows += int(m_pending.size());
    m_pending.clear();
}

bool TDBImportTable::linkLost() const { return !m_connection->packConnection().connected(); }

// Reconnects (five tries over about half a minute, each logged), then writes
// the rows of the lost transaction again in a new one. False when the link
// cannot be restored: that is recorded once and the table takes no more rows.
bool TDBImportTable::restoreLink(TErrInfoList* errors)
{
    static constexpr int kDelaysMs[] = {1000, 2000, 4000, 8000, 15000};
    constexpr int kTries = int(std::size(kDelaysMs));
    DbConnection& pack = m_connection->packConnection();
    appLog().logWarning(QStringLiteral("The connection to the destination was lost while writing table \"%1\": "
                                       "%2 rows of the open transaction are not committed; reconnecting")
                            .arg(m_tableName)
                            .arg(m_pending.size()));
    m_query.reset();
    m_loaded = kNoStatement;
    m_rowsOnQuery = 0;
    m_rowsInTransaction = 0;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        waitKeepingEventsFlowing(kDelaysMs[attempt - 1]);
        try {
            pack.open();
            appLog().logWarning(QStringLiteral("Reconnected to the destination (try %1 of %2); writing %3 rows again")
                                    .arg(attempt)
                                    .arg(kTries)
                                    .arg(m_pending.size()));
            if (replayPending(errors))
                return true;
        } catch (const std::exception& e) {
            appLog().logWarning(QStringLiteral("Reconnecting to the destination failed (try %1 of %2): %3")
                                    .arg(attempt)
                                    .arg(kTries)
                                    .arg(exceptionMessage(e)));
        }
    }
    m_connectionLost = true;
    recordError(errors, linkLostText(), QString(), -1, destKind(), nullptr, TErrorType::Insert);
    m_pending.clear();
    return false;
}

// False (nothing recorded) when the link goes again; a row that fails for
// another reason is recorded with its values and dropped from the transaction.
bool TDBImportTable::replayPending(TErrInfoList* errors)
{
    DbConnection& pack = m_connection->packConnection();
    pack.startTransaction();
    std::vector<TPendingRow> rows;
    rows.swap(m_pending);
    m_query = m_connection->createQuery(true);
    for (size_t i = 0; i < rows.size(); ++i) {
        TPendingRow& row = rows[i];
        m_query->setSQL(row.statement == kUpdate ? m_updateSql : m_insertSql);
        m_query->params() = row.params;
        try {
            m_query->execute();
            m_pending.push_back(std::move(row));
        } catch (const std::exception& e) {
            if (linkLost()) {
                // Every row not yet committed waits for the next try.
                for (size_t j = i; j < rows.size(); ++j)
                    m_pending.push_back(std::move(rows[j]));
                return false;
            }
            recordError(errors, exceptionMessage(e) + QStringLiteral("\r\nValues: ") + paramValuesText(row.params),
                        m_query->sql(), errorCodeOf(e), destKind(), nullptr, TErrorType::Insert);
        }
    }
    m_query.reset(); // the next row loads its statement afresh
    m_loaded = kNoStatement;
    m_rowsInTransaction = int(m_pending.size());
    return true;
}

QString TDBImportTable::linkLostText() const
{
    return QStringLiteral("The connection to the destination was lost and could not be restored while writing "
                          "table \"%1\": %2 rows committed; the rest of the table was not written")
        .arg(m_tableName)
        .arg(m_committedRows);
}

// ---- repairs ----

bool TDBImportTable::changeColumnToNullable(const QString& table, const QString& column,
                                                const TFieldMetadata& destField)
{
    try {
        DbConnection& pack = m_connection->packConnection();
        if (pack.inTransaction())
            commitPending(pack);
        m_rowsInTransaction = 0;
        const TKwStringsComponent* templates = mainDataModule().table(QStringLiteral("changeFieldNotNull"));
        const TStringList* section = templates ? templates->findSectionLines(dbKindName(destKind())) : nullptr;
        const bool changed = section && !isBlankText(section->text());
        if (changed) {
            TAbsCreateTable& generator = m_connection->generator();
            m_connection->execSQL(formatText(section->text(), {generator.fullTableName(table),
                                                               generator.columnNameForm(column),
                                                               generator.columnTypeText(destField)}));
        }
        // After the alter statement: it ends an open transaction by itself.
        restartTransaction();
        if (!changed)
            return false;
        if (destKind() != dbkind::Access) {
            const QString message = formatStringResource(5001, {table, column});
            currentShowProcess().addLine(message);
            appLog().logWarning(message);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// The current row begins a new transaction (statements that change a table commit the open one).
void TDBImportTable::restartTransaction()
{
    DbConnection& pack = m_connection->packConnection();
    if (pack.inTransaction())
        commitPending(pack);
    pack.startTransaction();
    m_rowsInTransaction = 1;
}

// ---- finish ----

void TDBImportTable::finish(TErrInfoList* errors)
{
    commitOpenTransaction(errors);
    if (m_connectionLost)
        return;
    if (m_tableCreated && m_indexList && !isBlankText(m_tableName))
        createIndexes(*m_connection, m_tableName, *m_indexList, errors);
}
