#include "migration/DoExport_CopyConvert.h"

#include "foundation/ErrorType.h"
#include "foundation/Exception.h"
#include "foundation/TextFormat.h"
#include "foundation/TextUtils.h"
#include "migration/CopyConvert.h"
#include "migration/ExecProcess.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/IndexMetadata.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/StopFlag.h"

namespace {
constexpr int kUnknownKind = -1;
} // namespace

TDoExport_CopyConvert::TDoExport_CopyConvert(TCopyMapping* mapping) : m_mapping(mapping) {}

TDoExport_CopyConvert::~TDoExport_CopyConvert() = default;

void TDoExport_CopyConvert::prepareTable(const QString& source, const QString& destination,
                                         const TStringList* fieldMatch)
{
    m_sourceName = source;
    m_destName = destination;
    // A read that fails before the table-start callback must not report the previous table's counts.
    tableCreated = false;
    failedRecords = 0;
    copiedRecords = 0;
    m_rowsSeen = 0;
    m_selectedFields = fieldMatch ? lineNames(*fieldMatch) : TStringList();
    // The old importer goes first: it may still hold the previous table's statement.
    m_importer.reset();
    if (IDBConnection* dest = m_mapping->destConnection())
        m_importer = dest->createImportTable();
    m_fieldMap.clear();
    if (fieldMatch)
        reverseNameValueLines(*fieldMatch, m_fieldMap);
    m_copyDataFormat = execConvertText(QStringLiteral("copy data"));
}

int TDoExport_CopyConvert::destKind() const
{
    const IDBConnection* dest = m_mapping->destConnection();
    return dest ? dest->getDBType() : kUnknownKind;
}

void TDoExport_CopyConvert::showErrorCount(int count) const
{
    currentShowProcess().setBottomText(execConvertText(QStringLiteral("error count"), {count}));
}

void TDoExport_CopyConvert::mapIndexColumns(TIndexMetadataList* indexes) const
{
    if (!indexes)
        return;
    for (int i = 0; i < indexes->count(); ++i) {
        IIndexMetadata* index = indexes->indexAt(i);
        for (int c = 0; c < index->fieldCount(); ++c) {
            IIndexField* column = index->fieldAt(c);
            column->destName.clear();
            for (qsizetype m = 0; m < m_fieldMap.count(); ++m) {
                if (m_fieldMap.valueFromIndex(m).compare(column->sourceName, Qt::CaseInsensitive) == 0) {
                    column->destName = m_fieldMap.name(m);
                    break;
                }
            }
            if (column->destName.isEmpty()) {
                // A key over a column that is not copied cannot be built.
                index->skipped = true;
                break;
            }
        }
    }
}

bool TDoExport_CopyConvert::onBeginTable(int sourceKind, TDatasetFieldDefList& fieldDefs,
                                         TFieldMetadataList& fields, TIndexMetadataList* indexes,
                                         TErrInfoList* errors)
{
    tableCreated = false;
    failedRecords = 0;
    copiedRecords = 0;
    m_rowsSeen = 0;
    try {
        mapIndexColumns(indexes);
    } catch (const std::exception& e) {
        if (errors) {
            errors->tracker().addExceptionNoRecord(e, QString(), kUnknownKind, TErrorType::PrimaryKeyNames);
            showErrorCount(errors->tracker().totalErrors());
        }
        return false;
    }
    try {
        if (!m_importer)
            throw Exception(QStringLiteral("The destination connection gives no table writer, table name=")
                            + m_destName);
        const TImportTableSource source{&m_fieldMap, sourceKind, &fields, &fieldDefs, indexes};
        TImportTableOptions options;
        options.dropDestTable = m_mapping->job()->dropDestTable;
        options.clearDestTable = m_mapping->job()->clearDestTable;
        return m_importer->prepare(m_destName, source, options, tableCreated, errors);
    } catch (const std::exception& e) {
        if (errors) {
            errors->tracker().addExceptionNoRecord(e, QString(), destKind(), TErrorType::CreateTable);
            showErrorCount(errors->tracker().totalErrors());
        }
        return false;
    }
}

bool TDoExport_CopyConvert::onRecord(IReadDataRecord& record, TErrInfoList* errors)
{
    bool written = false;
    try {
        written = m_importer && m_importer->writeRecord(TWriteMode::Insert, record, errors);
        TCacheCurrentShowProcess& progress = currentShowProcess();
        const int n = ++m_rowsSeen;
        const QString count = progress.stepUnits < 1
            ? QString::number(n)
            : u'(' + QString::number(n) + u'/' + QString::number(progress.stepUnits) + u')';
        progress.reportUnits(n, formatText(m_copyDataFormat, {m_destName, count}));
    } catch (const std::exception& e) {
        if (errors)
            errors->tracker().addErrorFromException(e, QString(), destKind(), &record, TErrorType::Insert);
        written = false;
    }
    // Going on without error files would lose the record of refused rows.
    if (errors && errors->tracker().failed())
        requestStopForFailure();
    if (m_importer) {
        copiedRecords = m_importer->committedRows();
        if (m_importer->connectionLost()) {
            // Recorded once by the importer; the rest of the run cannot be written.
            requestStopForFailure();
            return false;
        }
    }
    if (written)
        return true;
    ++failedRecords;
    TCopyConvert* job = m_mapping->job();
    ++job->errorCount;
    showErrorCount(job->errorCount);
    return false;
}

void TDoExport_CopyConvert::finishTable(TErrInfoList* errors)
{
    if (!m_importer)
        return;
    m_importer->finish(errors);
    copiedRecords = m_importer->committedRows();
    if (m_importer->connectionLost())
        requestStopForFailure();
}

TBeginTableCallback TDoExport_CopyConvert::beginTableCallback()
{
    return [this](int sourceKind, TDatasetFieldDefList& fieldDefs, TFieldMetadataList& fields,
                  TIndexMetadataList* indexes, TErrInfoList* errors) {
        return onBeginTable(sourceKind, fieldDefs, fields, indexes, errors);
    };
}

TRecordCallback TDoExport_CopyConvert::recordCallback()
{
    return [this](IReadDataRecord& record, TErrInfoList* errors) { return onRecord(record, errors); };
}
