#include "dbaccess/ExtendFieldLengths.h"

#include "dbaccess/CreateTable.h"
#include "dbaccess/DBConnection.h"
#include "dbaccess/DBImportTable.h"
#include "foundation/CommonUtils.h"
#include "foundation/DbKind.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/LogUtils.h"
#include "foundation/StringResource.h"
#include "foundation/TextUtils.h"
#include "records/FieldMetadata.h"
#include "records/ReadDataField.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/MainDataModule.h"

#include <vector>

namespace {
struct TAlter {
    QString column;
    QString typeText;
    QString statement;
};

void dropScratch(TDBConnection& connection, const QString& scratch)
{
    try {
        connection.dropTable(scratch);
    } catch (const std::exception&) {
        // A left-over copy harms nothing; the row's own failure matters more.
    }
}

QString destNameOfSource(const TStringList& destToSourceMap, const QString& sourceName)
{
    for (qsizetype i = 0; i < destToSourceMap.count(); ++i)
        if (TStringList::hasName(destToSourceMap.at(i))
            && destToSourceMap.valueFromIndex(i).compare(sourceName, Qt::CaseInsensitive) == 0)
            return destToSourceMap.name(i);
    return QString();
}

const IReadDataField* failingField(const IReadDataRecord& record, const TStringList& failures, qsizetype line)
{
    qint64 index = -1;
    if (parseIntegerText(failures.name(line), &index) && index >= 0 && index < record.fieldCount()) {
        const IReadDataField* field = record.fieldAt(int(index));
        if (field->fieldName().compare(failures.valueFromIndex(line), Qt::CaseInsensitive) == 0)
            return field;
    }
    return record.fieldByName(failures.valueFromIndex(line));
}

QString widenedTypeText(const TAbsCreateTable& generator, const TFieldMetadata& field, int length)
{
    const int kind = generator.kind();
    if (kind == dbkind::Access && length >= 255)
        return field.getNotNull() ? QStringLiteral("MEMO NOT NULL") : QStringLiteral("MEMO");
    QString text = generator.columnTypeTextWithLength(field, field.getPrecision(), length);
    // MySQL's MODIFY redefines the whole column: without the clause the column would lose NOT NULL.
    if (kind == dbkind::MySQL && field.getNotNull() && !generator.neverNotNull(field.getTypeName()))
        text += generator.getNotNullText();
    return text;
}
} // namespace

int neededTextLength(const QString& text, int multiCharLength)
{
    int length = 0;
    for (const QChar c : text)
        length += c.unicode() > 254 ? multiCharLength : 1;
    return length;
}

bool extendFieldLengths(TDBConnection& connection, const QString& table, const TStringList& destToSourceMap,
                        IReadDataRecord& record)
{
    const QString fullName = fullDestinationName(table);
    const QString scratch = connection.copyTableStructure(fullName);
    if (scratch.isEmpty())
        return false;
    TStringList failures;
    std::vector<TAlter> alters;
    try {
        connection.findFailingFieldsDestToSource(scratch, destToSourceMap, failures, record);
        const std::unique_ptr<TFieldMetadataList> fields = connection.getFieldList(fullName);
        TAbsCreateTable& generator = connection.generator();
        for (qsizetype i = 0; i < failures.count(); ++i) {
            if (isBlankText(failures.valueFromIndex(i)))
                continue;
            const IReadDataField* source = failingField(record, failures, i);
            const QString destName = destNameOfSource(destToSourceMap, failures.valueFromIndex(i));
            const TFieldMetadata* field = fields ? fields->findByName(destName) : nullptr;
            if (!source || !field || source->dataType() != rftString) {
                dropScratch(connection, scratch);
                return false;
            }
            const int needed = neededTextLength(source->asString(), connection.getMultiCharLength());
            if (needed <= field->getLength()) {
                dropScratch(connection, scratch);
                return false;
            }
            const QString typeText = widenedTypeText(generator, *field, (needed + 9) / 10 * 10);
            const TKwStringsComponent* templates = mainDataModule().table(QStringLiteral("extendFieldLength"));
            const QString format = templates ? sectionTextOrDefault(*templates, dbKindName(generator.kind())) : QString();
            alters.push_back({destName, typeText,
                              formatText(format, {generator.fullTableName(table), generator.columnNameForm(destName),
                                                  typeText})});
        }
    } catch (const std::exception&) {
        dropScratch(connection, scratch);
        return false;
    }
    dropScratch(connection, scratch);
    if (alters.empty())
        return false;
    for (const TAlter& alter : alters) {
        try {
            connection.execSQL(alter.statement);
        } catch (const std::exception&) {
            return false;
        }
        const QString message = formatStringResource(5006, {table, alter.column, alter.typeText});
        currentShowProcess().addLine(message);
        appLog().logWarning(message);
    }
    return true;
}
