#include "dbaccess/SourceReading.h"

#include "dbaccess/ConnectionResourceList.h"
#include "dbaccess/CreateTable.h"
#include "dbaccess/DBConnection.h"
#include "foundation/Errors.h"
#include "foundation/StringList.h"
#include "foundation/TextFormat.h"
#include "platform/db/DbQuery.h"
#include "records/DatasetFieldDef.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/ReadDataRecord_DataSet.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/GlobalOptions.h"
#include "shell/MainDataModule.h"
#include "shell/StopFlag.h"
#include "shell/TypeMapping.h"

#include <QStringList>

namespace {

// A table's share of the progress bar above which its rows are counted.
constexpr double kCountRowsAbovePercent = 19;
constexpr int kTableMetadataNotFound = 5000;
constexpr int kNoReadableFields = 5001;

} // namespace

TSourceReading::TSourceReading(TDBConnection& connection, TConnectionResourceList& resources,
                               TErrInfoList* errors)
    : m_connection(connection), m_resources(resources), m_errors(errors)
{
}

void TSourceReading::record(const std::exception& error, const QString& statement, TErrorType errorType)
{
    if (m_errors)
        m_errors->tracker().addExceptionNoRecord(error, statement, m_connection.getDBType(), errorType);
}

int TSourceReading::countRows(const QString& tableForm)
{
    try {
        bool ok = false;
        const int n = m_connection.getSQLValue(formatText(QStringLiteral("select count(*) from %s"), {tableForm}))
                          .trimmed()
                          .toInt(&ok);
        return ok && n > 0 ? n : 0;
    } catch (const std::exception&) {
        return 0; // only the progress display needs the total
    }
}

bool TSourceReading::copyRows(DbQuery& query, IReadDataRecord& reader, const TRecordCallback& onRecord,
                              const QString& statement)
{
    const int limit = getOptionInt(QStringLiteral("ExportTableRecordCount"));
    bool result = true;
    int count = 0;
    try {
        query.first();
        while (!query.eof()) {
            if (!onRecord(reader, m_errors))
                result = false;
            ++count;
            query.next();
            // Tested after the row: a limit of 0 still copies the first row.
            if (limit >= 0 && count >= limit)
                break;
            if (stopRequested())
                return false;
        }
    } catch (const std::exception& e) {
        record(e, statement, TErrorType::ReadData);
        return false;
    }
    return result;
}

bool TSourceReading::readTable(const QString& table, const TStringList& fieldNames,
                               const TBeginTableCallback& onBeginTable, const TRecordCallback& onRecord,
                               bool structureOnly)
{
    if (!onBeginTable || !onRecord)
        return false;
    // The dictionary first: a table it does not have, or one without a column
    // to read, gets no statement here and no table at the destination.
    std::unique_ptr<TFieldMetadataList> tableFields;
    try {
        tableFields = m_connection.getFieldList(table);
        if (!tableFields || tableFields->getCount() == 0)
            raiseCommonError(kTableMetadataNotFound, 0, {table});
        if (fieldNames.isEmpty())
            raiseCommonError(kNoReadableFields, 0, {table});
    } catch (const std::exception& e) {
        record(e, QString(), TErrorType::ReadMetadata);
        return false;
    }

    const TAbsCreateTable& generator = m_connection.generator();
    QStringList columns;
    for (const QString& name : fieldNames.lines())
        columns << generator.columnNameForm(name);
    const QString columnList = columns.join(u',');
    const QString tableForm = generator.tableNameForm(table);
    const QString select = formatText(QStringLiteral("select %s from %s"), {columnList, tableForm});

    std::unique_ptr<TReadDataRecord_DataSet> reader;
    try {
        std::unique_ptr<DbQuery> query = m_connection.openSQL(select);
        reader = std::make_unique<TReadDataRecord_DataSet>(std::move(query), std::move(tableFields));
    } catch (const std::exception& e) {
        record(e, select, TErrorType::ReadData);
        return false;
    }

    TFieldMetadataList* fields = nullptr;
    TDatasetFieldDefList* defs = nullptr;
    TIndexMetadataList* indexes = nullptr;
    try {
        // The reader's list is the table's column list; the error list keeps its own copy.
        fields = m_resources.hold(table, reader->metadata()->clone());
        auto fieldDefs = std::make_unique<TDatasetFieldDefList>();
        fieldDefs->fillFromQuery(*reader->query());
        if (fieldDefs->defCount() == 0)
            raiseCommonError(kNoReadableFields, 0, {table});
        defs = m_resources.hold(table, std::move(fieldDefs));
        if (m_errors)
            m_errors->tracker().setTableContext(defs, fields, fieldNames);
        indexes = m_resources.hold(table, m_connection.getIndexList(table));
    } catch (const std::exception& e) {
        record(e, columnList, TErrorType::ReadMetadata);
        return false;
    }

    TCacheCurrentShowProcess& progress = currentShowProcess();
    if (progress.stepPercent > kCountRowsAbovePercent)
        progress.stepUnits = countRows(tableForm);

    if (!onBeginTable(m_connection.getDBType(), *defs, *fields, indexes, m_errors))
        return false;
    if (structureOnly)
        return true;
    return copyRows(*reader->query(), *reader, onRecord, select);
}

bool TSourceReading::readCustomSQL(const QString& sourceName, const QString& sql, TStringList& fieldMap,
                                   const TBeginTableCallback& onBeginTable, const TRecordCallback& onRecord)
{
    fieldMap.clear();
    if (!onBeginTable || !onRecord)
        return false;
    std::unique_ptr<DbQuery> query;
    try {
        query = m_connection.openSQL(sql);
    } catch (const std::exception& e) {
        record(e, sql, TErrorType::ReadData);
        return false;
    }

    const int kind = m_connection.getDBType();
    TFieldMetadataList* fields = nullptr;
    TDatasetFieldDefList* defs = nullptr;
    std::unique_ptr<TReadDataRecord_DataSet> reader;
    try {
        const std::unique_ptr<TStringList> typeMap = mainDataModule().mergedFieldMapping(kind);
        const std::unique_ptr<TStringList> scopeMap = mainDataModule().mergedScopeTable(kind);
        const TStringList noTypes;
        fields = m_resources.hold(sourceName, std::make_unique<TFieldMetadataList>(*query, typeMap ? *typeMap : noTypes));
        const std::vector<DbFieldDef>& queryDefs = query->fieldDefs();
        for (int i = 0; i < fields->getCount(); ++i) {
            TFieldMetadata& item = *fields->getItem(i);
            const DbFieldDef& def = queryDefs[size_t(i)];
            fieldMap.add(item.getName() + u'=' + item.getName());
            switch (scopeClassOfWord(scopeMap ? scopeMap->value(item.getTypeName()) : QString())) {
            case scLength:
                item.setLength(std::max(def.size, item.getPrecision()));
                item.setPrecision(-1);
                item.setScale(-1);
                break;
            case scInteger:
                item.setLength(-1);
                item.setScale(-1);
                if (item.getPrecision() < 1)
                    item.setPrecision(def.dataSize());
                break;
            case scScope:
            case scAutoDetect:
                item.setLength(-1);
                // The layer reports a decimal's digits, not its display width
                // with sign and point, so the precision needs no correction:
                // taking 1 or 2 off would lose the leading digits.
                item.setScale(def.scale);
                break;
            default:
                break;
            }
        }
        auto fieldDefs = std::make_unique<TDatasetFieldDefList>();
        fieldDefs->fillFromQuery(*query);
        defs = m_resources.hold(sourceName, std::move(fieldDefs));
        reader = std::make_unique<TReadDataRecord_DataSet>(std::move(query), fields->clone());
        if (m_errors)
            m_errors->tracker().setTableContext(defs, fields, TStringList());
    } catch (const std::exception& e) {
        record(e, QString(), TErrorType::ReadMetadata);
        return false;
    }

    currentShowProcess().stepUnits = 0;
    if (!onBeginTable(kind, *defs, *fields, nullptr, m_errors))
        return false;
    return copyRows(*reader->query(), *reader, onRecord, sql);
}
