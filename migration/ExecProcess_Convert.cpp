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
#include "records/FieldMetadata.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/DBOption.h"
#include "shell/RunParam.h"

#include <algorithm>

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

bool TExecProcess_Convert::copyTable(int index)
{
    m_errorsBeforeTable = m_errors->tracker().totalErrors();
    QString source;
    QString destination;
    if (!splitAtFirst(tableLine(index), QStringLiteral("="), &source, &destination))
        return false;
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
    QString sql = m_mapping->customSQL(source, &found);
    if (!found)
        sql = formatStringResource(kNoSQLDefinition, {source}); // the source rejects it as a failed read
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
    // Every error of the table, not only its refused rows: a metadata or read
    // failure leaves no row counted.
    const int errors = m_errors ? m_errors->tracker().totalErrors() - m_errorsBeforeTable : 0;
    return execConvertText(QStringLiteral("end  copy table data"),
                           {m_currentSource, std::max(errors, driver ? driver->failedRecords : 0),
                            driver ? driver->copiedRecords : 0,
                            QString::fromLatin1(driver && driver->tableCreated ? "True" : "False")});
}

QString TExecProcess_Convert::summaryText() const
{
    return execConvertText(QStringLiteral("success copy data"), {createdTables, copiedTables});
}

int TExecProcess_Convert::operationCode() const { return m_structureOnly ? opStruct : opMove; }
