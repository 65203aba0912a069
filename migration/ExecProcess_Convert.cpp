#include "migration/ExecProcess_Convert.h"

#include "foundation/CommonUtils.h"
#include "foundation/ErrorType.h"
#include "foundation/LogUtils.h"
#include "foundation/StringResource.h"
#include "foundation/TextUtils.h"
#include "migration/CopyConvert.h"
#include "migration/DoExport_CopyConvert.h"
#include "records/AbsDBDumpData.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "shell/IImportTable.h"
#include "records/FieldMetadata.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/RunParam.h"
#include "shell/StopFlag.h"

namespace {
constexpr int kNoSQLDefinition = 8000;
const QString kCustomPrefix = QStringLiteral("SQL@");
} // namespace

TExecProcess_Convert::TExecProcess_Convert(IUIContext* context, TCopyConvert& job,
                                           std::unique_ptr<TAbsDBDumpData> folder, bool structureOnly)
    : m_context(context)
    , m_job(job)
    , m_mapping(job.copyMapping())
    , m_folder(std::move(folder))
    , m_structureOnly(structureOnly)
{
}

TExecProcess_Convert::~TExecProcess_Convert()
{
    // The driver's importer and the error list refer to the folder and the
    // connections: release them in this order.
    m_driver.reset();
    m_errors.reset();
}

TErrInfoList* TExecProcess_Convert::createErrorList()
{
    m_errors = std::make_unique<TErrInfoList>(m_folder.get());
    return m_errors.get();
}

void TExecProcess_Convert::releaseErrorList() { m_errors.reset(); }

bool TExecProcess_Convert::connectDatabases()
{
    int errorCode = -1;
    if (m_mapping->connectBoth(m_connectFailure, m_failedKind, errorCode, true))
        return true;
    TErrTrack& tracker = m_errors->tracker();
    tracker.addErrorNoRecord(m_connectFailure, QString(), errorCode, m_failedKind, TErrorType::Connect);
    TCacheCurrentShowProcess& progress = currentShowProcess();
    progress.setBottomText(execConvertText(QStringLiteral("error count"), {tracker.totalErrors()}));
    progress.showBase(execConvertText(QStringLiteral("connect database fial"), {dbKindName(m_failedKind)}));
    return false;
}

bool TExecProcess_Convert::beginRun()
{
    m_driver = std::make_unique<TDoExport_CopyConvert>(m_mapping);
    m_currentSource.clear();
    currentShowProcess().basePercent = 0;
    createdTables = 0;
    copiedTables = 0;
    return true;
}

void TExecProcess_Convert::endRun() { m_driver.reset(); }

int TExecProcess_Convert::tableCount() const { return int(m_mapping->tableLines().count()); }

QString TExecProcess_Convert::tableLine(int index) const
{
    const TStringList& lines = m_mapping->tableLines();
    return index >= 0 && index < lines.count() ? lines.at(index) : QString();
}

void TExecProcess_Convert::noteError(TErrorType type)
{
    ++m_tableErrors;
    switch (type) {
    case TErrorType::Insert:
    case TErrorType::Parameter:
    case TErrorType::CreateIndex:
    case TErrorType::DeleteRows:
        break; // the table is there; some of it is missing or left over
    default:
        m_tableFailed = true;
        break;
    }
}

void TExecProcess_Convert::beginTableReport(const QString& name)
{
    m_currentSource = name;
    m_tableErrors = 0;
    m_tableFailed = false;
    m_inTable = true;
    ++m_tablesStarted;
}

void TExecProcess_Convert::endTableReport()
{
    if (!m_inTable)
        return;
    m_inTable = false;
    const IImportTable* importer = m_driver ? m_driver->importer() : nullptr;
    if (m_tableFailed || (importer && importer->connectionLost()) || m_errors->tracker().failed())
        m_failedTables << m_currentSource;
    else if (m_tableErrors > 0 || stopRequested())
        m_incompleteTables << m_currentSource;
}

bool TExecProcess_Convert::copyTable(int index)
{
    QString source;
    QString destination;
    const QString line = tableLine(index);
    beginTableReport(line);
    if (!splitAtFirst(line, QStringLiteral("="), &source, &destination)) {
        m_errors->tracker().beginTable(line, QString());
        m_errors->tracker().addErrorNoRecord(
            QStringLiteral("The table line \"%1\" names no destination (source=destination expected)").arg(line),
            QString(), -1, -1, TErrorType::Initialising);
        endTableReport();
        return false;
    }
    m_currentSource = source;
    m_clearSourceAfterFinish = false;
    const bool custom = source.startsWith(kCustomPrefix, Qt::CaseSensitive);
    // Custom entries too, so that their failures are grouped under their name.
    m_errors->tracker().beginTable(source, destination);

    const TStringList* matches = m_mapping->fieldMatchLines(source);
    std::unique_ptr<TStringList> allFields;
    if (!matches && !custom) {
        allFields = allFieldsMatch(source);
        if (!allFields) {
            // Recorded; handled like a failed read. The previous table's importer
            // goes, or finishing this entry would build that table's indexes again.
            m_driver->prepareTable(source, destination, nullptr);
            return true;
        }
        matches = allFields.get();
    }
    m_driver->prepareTable(source, destination, matches);
    if (custom)
        copyCustomSQL();
    else
        copySourceTable();
    return true;
}

std::unique_ptr<TStringList> TExecProcess_Convert::allFieldsMatch(const QString& source)
{
    IDBConnection* connection = m_mapping->sourceConnection();
    std::unique_ptr<TFieldMetadataList> fields;
    try {
        fields = connection->getFieldList(source);
    } catch (const std::exception& e) {
        m_errors->tracker().addExceptionNoRecord(e, QString(), connection->getDBType(), TErrorType::ReadMetadata);
        return nullptr;
    }
    auto lines = std::make_unique<TStringList>();
    for (int i = 0; fields && i < fields->getCount(); ++i) {
        const QString name = fields->getItem(i)->getName();
        lines->add(name + u'=' + name);
    }
    appLog().logHint(execConvertText(QStringLiteral("all fields"), {source}));
    return lines;
}

void TExecProcess_Convert::copyCustomSQL()
{
    const QString& source = m_driver->sourceName();
    bool found = false;
    const QString sql = m_mapping->customSQL(source, &found);
    if (!found || isBlankText(sql)) {
        // Nothing is sent: the message text is no statement.
        m_errors->tracker().addErrorNoRecord(formatStringResource(kNoSQLDefinition, {source}), QString(), -1,
                                             m_mapping->sourceConnection()->getDBType(), TErrorType::ReadData);
        return;
    }
    const TDBOption& option = dbOption();
    const QString destination = m_driver->destName() + (option.timeSuffix ? option.suffixText : QString());
    m_mapping->sourceConnection()->readCustomSQL(source, destination, sql, m_driver->fieldMap(),
                                                 m_driver->beginTableCallback(), m_driver->recordCallback(),
                                                 m_errors.get());
}

void TExecProcess_Convert::copySourceTable()
{
    IDBConnection* connection = m_mapping->sourceConnection();
    const QString& source = m_driver->sourceName();
    const bool read = connection->readTable(source, m_driver->selectedFields(), m_driver->beginTableCallback(),
                                            m_driver->recordCallback(), m_structureOnly, m_errors.get());
    // A structure-only run copied no row: emptying the source would lose them.
    // The rows go only after the destination committed them (afterTable).
    m_clearSourceAfterFinish = read && m_job.clearSourceTable && !m_structureOnly;
    // With a row limit only part of the table was copied: emptying it would
    // lose the rest.
    const int limit = getOptionInt(QStringLiteral("ExportTableRecordCount"));
    if (m_clearSourceAfterFinish && limit >= 0) {
        m_clearSourceAfterFinish = false;
        appLog().logWarning(QStringLiteral("ClearSourceTable is not applied to \"%1\": ExportTableRecordCount=%2 "
                                           "copies only part of the table")
                                .arg(source)
                                .arg(limit));
    }
}

void TExecProcess_Convert::afterTable(int)
{
    TErrTrack& tracker = m_errors->tracker();
    const int errorsBefore = tracker.totalErrors();
    m_driver->finishTable(m_errors.get());
    // A failed final commit would otherwise cost the rows on both sides.
    if (m_clearSourceAfterFinish && tracker.totalErrors() == errorsBefore)
        m_mapping->sourceConnection()->deleteAllRows(m_driver->sourceName(), m_errors.get());
    m_clearSourceAfterFinish = false;
    if (m_driver->tableCreated)
        ++createdTables;
    endTableReport();
    if (!m_failedTables.contains(m_currentSource))
        ++copiedTables;
}

QString TExecProcess_Convert::tableStartText(int index) const
{
    const QString line = tableLine(index);
    QString source;
    if (!splitAtFirst(line, QStringLiteral("="), &source, nullptr))
        source = line;
    return execConvertText(QStringLiteral("start copy table data"), {source});
}

QString TExecProcess_Convert::tableEndText(int) const
{
    const TDoExport_CopyConvert* driver = m_driver.get();
    return execConvertText(QStringLiteral("end  copy table data"),
                           {m_currentSource, m_tableErrors, driver ? driver->copiedRecords : 0,
                            QString::fromLatin1(driver && driver->tableCreated ? "True" : "False")});
}

QString TExecProcess_Convert::summaryText() const
{
    const int errors = m_errors ? m_errors->tracker().totalErrors() : 0;
    QStringList notStarted;
    for (int i = m_tablesStarted; i < tableCount(); ++i) {
        QString source;
        notStarted << (splitAtFirst(tableLine(i), QStringLiteral("="), &source, nullptr) ? source : tableLine(i));
    }
    const bool filesFailed = m_errors && m_errors->tracker().failed();
    const bool logFailed = !appLog().fileError().isEmpty();
    if (errors == 0 && !filesFailed && !logFailed && notStarted.isEmpty() && m_failedTables.isEmpty() && m_incompleteTables.isEmpty())
        return execConvertText(QStringLiteral("success copy data"), {createdTables, copiedTables});
    QStringList parts{execConvertText(QStringLiteral("failed copy data"), {errors, createdTables, copiedTables})};
    if (!m_failedTables.isEmpty())
        parts << execConvertText(QStringLiteral("failed tables"), {m_failedTables.join(QStringLiteral(", "))});
    if (!m_incompleteTables.isEmpty())
        parts << execConvertText(QStringLiteral("incomplete tables"), {m_incompleteTables.join(QStringLiteral(", "))});
    if (!notStarted.isEmpty())
        parts << execConvertText(QStringLiteral("tables not started"), {notStarted.join(QStringLiteral(", "))});
    if (filesFailed)
        parts << execConvertText(QStringLiteral("error files failed"), {m_errors->tracker().failureMessage()});
    if (logFailed)
        parts << execConvertText(QStringLiteral("log file failed"), {appLog().logFileName(), appLog().fileError()});
    return parts.join(QStringLiteral("; "));
}

int TExecProcess_Convert::operationCode() const { return m_structureOnly ? opStruct : opMove; }
