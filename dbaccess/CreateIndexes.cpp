#include "dbaccess/CreateIndexes.h"

#include "dbaccess/CreateTable.h"
#include "dbaccess/DBConnection.h"
#include "dbaccess/DBImportTable.h"
#include "foundation/CommonUtils.h"
#include "foundation/DbKind.h"
#include "foundation/ErrorType.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/LogUtils.h"
#include "foundation/StringResource.h"
#include "platform/db/DbConnection.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/IndexMetadata.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/MainDataModule.h"

namespace {
void showStepAndLog(const QString& message)
{
    currentShowProcess().showStep(message);
    appLog().logHint(message);
}

void markDuplicates(TIndexMetadataList& indexes)
{
    for (int i = 0; i < indexes.count(); ++i) {
        IIndexMetadata* index = indexes.indexAt(i);
        for (int j = 0; j < indexes.count() && !index->skipped; ++j)
            if (j != i && index->sameColumnsAs(*indexes.indexAt(j)))
                index->skipped = true;
    }
}

void createOneIndex(TDBConnection& connection, const QString& table, const IIndexMetadata& index,
                    TErrInfoList* errors)
{
    TAbsCreateTable& generator = connection.generator();
    const TKwStringsComponent* templates = mainDataModule().table(QStringLiteral("IndexSQL"));
    const QString format = templates ? sectionTextOrDefault(*templates, dbKindName(generator.kind())) : QString();
    // Oracle index names share one namespace per schema: name them after table and first column.
    const QString base = generator.kind() == dbkind::Oracle ? table + u'_' + index.fieldAt(0)->destName : index.name;
    TStringList& known = connection.createdIndexNames();
    const QString name = uniqueIndexName(generator, base, &known);
    const QString sql = formatText(format, {index.isUnique ? QStringLiteral("UNIQUE") : QString(), name,
                                            generator.fullTableName(table), indexColumnList(index, &generator, false)});
    if (!connection.tryExecSQL(sql, TErrorType::CreateIndex, errors))
        return;
    known.add(name);
    showStepAndLog(formatStringResource(5005, {index.name, name}));
}
} // namespace

void createIndexes(TDBConnection& connection, const QString& table, TIndexMetadataList& indexes,
                   TErrInfoList* errors)
{
    DbConnection& pack = connection.packConnection();
    try {
        if (pack.inTransaction())
            pack.commit();
    } catch (const std::exception& e) {
        if (errors)
            errors->tracker().addExceptionNoRecord(e, QStringLiteral("commit"), connection.getDBType(), TErrorType::CreateIndex);
        return;
    }
    if (indexes.count() == 0)
        return;
    std::unique_ptr<TStringList> names;
    try {
        names = connection.getIndexNames(fullDestinationName(table));
    } catch (const std::exception&) {
        // Unknown names only risk a clash, which the index statement then reports.
    }
    connection.createdIndexNames() = names ? *names : TStringList();
    markDuplicates(indexes);

    bool announced = false;
    for (int i = 0; i < indexes.count(); ++i) {
        const IIndexMetadata& index = *indexes.indexAt(i);
        if (index.isPrimary)
            continue; // made with the table
        if (index.allFieldsMapped()) {
            if (!announced)
                showStepAndLog(formatStringResource(5004, {table}));
            announced = true;
            createOneIndex(connection, table, index, errors);
            continue;
        }
        const QString message = formatStringResource(10001, {index.name, table, indexColumnList(index, nullptr, true)});
        appLog().logWarning(message);
        currentShowProcess().addLine(message);
    }
}
