#include "records/ErrTrack.h"

#include "foundation/Exception.h"
#include "foundation/PasswordMask.h"
#include "foundation/TextFormat.h"
#include "foundation/TypedStream.h"
#include "records/AbsDBDumpData.h"
#include "records/ErrInfoList.h"
#include "records/ReadDataRecord_Hash.h"
#include "records/StoredPayload.h"

#include <QIODevice>

namespace {
const QString kFolder = QStringLiteral("error");
const QString kIndexName = QStringLiteral("error.errinfo");
TErrorCodeHook g_errorCodeHook = nullptr;

[[noreturn]] void fileNotFound(const QString& name)
{
    throw Exception(formatText(QStringLiteral("%s[\"%s\"] not found!"),
                               {QStringLiteral("File"), kFolder + u'/' + name}));
}
} // namespace

void setErrorCodeHook(TErrorCodeHook hook) { g_errorCodeHook = hook; }
TErrorCodeHook errorCodeHook() { return g_errorCodeHook; }

int errorCodeOf(const std::exception& error)
{
    return g_errorCodeHook ? g_errorCodeHook(error) : -1;
}

QString exceptionMessage(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return own->message();
    return QString::fromUtf8(error.what());
}

TErrTrack::TErrTrack(TAbsDBDumpData* folder, TErrInfoList* owner) : m_folder(folder), m_owner(owner)
{
}

TErrTrack::~TErrTrack()
{
    try {
        finishFile();
    } catch (...) {
        // Nothing can be reported from here; the index keeps the last finished file.
    }
}

void TErrTrack::setRunIdentity(const QString& configFileName, const QString& configId)
{
    m_configFileName = configFileName;
    m_configId = configId;
}

void TErrTrack::beginTable(const QString& name, const QString& displayName)
{
    m_tableName = name;
    m_displayName = displayName;
    m_fieldMapping.clear();
    m_definitions = nullptr;
    m_metadata = nullptr;
    m_currentGroup = nullptr;
}

void TErrTrack::setTableContext(const TDatasetFieldDefList* definitions, const TFieldMetadataList* metadata,
                                const TStringList& fieldMapping)
{
    m_definitions = definitions;
    m_metadata = metadata;
    m_fieldMapping = fieldMapping;
}

void TErrTrack::addError(const QString& message, const QString& statement, int errorCode, int dbKind,
                         const IReadDataRecord* record, TErrorType errorType)
{
    TErrGroup* group = m_owner->findGroup(m_tableName);
    const bool created = group == nullptr;
    if (created)
        group = m_owner->findOrCreateGroup(m_tableName);
    if (created || group->storedDisplayName.trimmed().isEmpty())
        group->storedDisplayName = m_displayName;
    const bool firstOfTable = m_currentGroup == nullptr;
    if (firstOfTable) {
        group->fieldMapping = m_fieldMapping;
        group->setDefinitions(m_definitions ? m_definitions->clone() : nullptr);
        group->setMetadata(m_metadata ? m_metadata->clone() : nullptr);
    }

    // The row is copied value by value first: one that cannot be read is
    // kept as NULL and named in the message instead of breaking the file.
    QString fullMessage = message;
    std::unique_ptr<TReadDataRecord_Hash> row;
    if (record && group->definitions()) {
        row = std::make_unique<TReadDataRecord_Hash>(group->definitions());
        QStringList failures;
        row->copyValuesFrom(*record, failures);
        if (!failures.isEmpty())
            fullMessage += QStringLiteral("\r\n") + failures.join(QStringLiteral("\r\n"));
    }

    auto info = std::make_unique<TErrInfo>();
    // A driver's message may quote the connection string it was given.
    fullMessage = maskPasswords(fullMessage);
    info->message = fullMessage;
    info->statement = maskPasswords(statement);
    info->errorType = errorTypeCode(errorType);
    info->dbKind = dbKind;
    info->errorCode = errorCode;
    info->group = group;
    TErrInfo* error = m_owner->addError(std::move(info));
    m_lastError = error;

    // Whole objects only reach the file.
    const QByteArray groupBytes =
        firstOfTable ? bytesWrittenBy([&](TWriter& w) { group->saveToWriter(w); }) : QByteArray();
    error->setWriteRecord(row.get());
    const QByteArray errorBytes = bytesWrittenBy([&](TWriter& w) { error->saveToWriter(w); });
    error->setWriteRecord(nullptr);

    if (firstOfTable) {
        if (!m_writer)
            startFile(group);
        m_writer->writeRaw(groupBytes);
        m_currentGroup = group;
    }
    if (!m_writer)
        startFile(nullptr);
    m_writer->writeRaw(errorBytes);
    ++m_errorsInFile;
    ++m_totalErrors;
    if (m_errorsInFile >= kErrorsPerFile)
        finishFile();
    if (m_errorCallback)
        m_errorCallback(fullMessage, errorType);
}

void TErrTrack::addErrorFromException(const std::exception& e, const QString& statement, int dbKind,
                                      const IReadDataRecord* record, TErrorType errorType)
{
    addError(exceptionMessage(e), statement, errorCodeOf(e), dbKind, record, errorType);
}

void TErrTrack::addErrorNoRecord(const QString& message, const QString& statement, int errorCode, int dbKind,
                                 TErrorType errorType)
{
    addError(message, statement, errorCode, dbKind, nullptr, errorType);
}

void TErrTrack::addExceptionNoRecord(const std::exception& e, const QString& statement, int dbKind,
                                     TErrorType errorType)
{
    addError(exceptionMessage(e), statement, errorCodeOf(e), dbKind, nullptr, errorType);
}

void TErrTrack::startFile(const TErrGroup* skipped)
{
    m_index.setValue(QStringLiteral("SumCount"), QString::number(m_totalErrors));
    QString name = QStringLiteral("error.errlist");
    if (m_folder->fileExists(kFolder, name)) {
        int number = std::max(m_fileCount, 1);
        do
            name = QStringLiteral("error%1.errlist").arg(number++);
        while (m_folder->fileExists(kFolder, name));
    }
    std::unique_ptr<QIODevice> device = m_folder->createFile(kFolder, name);
    if (!device)
        throw Exception(formatText(QStringLiteral("%s[\"%s\"] not found!"), {QStringLiteral("File"), kFolder + u'/' + name}));
    ++m_fileCount;
    m_index.setValue(QStringLiteral("FileCount"), QString::number(m_fileCount));
    m_index.setValue(QStringLiteral("FileItem%1").arg(m_fileCount), name);

    m_device = std::move(device);
    m_writer = std::make_unique<TWriter>(m_device.get(), kBufferSize);
    m_errorsInFile = 0;
    writeClassHeader(*m_writer, kErrorListFileClassId);
    m_writer->writeInteger(1);
    m_writer->writeInteger(m_totalErrors + 1);
    m_writer->writeInteger(m_totalErrors + kErrorsPerFile);
    m_writer->writeListBegin();
    for (int i = 0; i < m_owner->groupCount(); ++i)
        if (m_owner->groupAt(i) != skipped)
            m_owner->groupAt(i)->saveToWriter(*m_writer);
}

void TErrTrack::finishFile()
{
    if (!m_writer)
        return;
    std::unique_ptr<TWriter> writer = std::move(m_writer);
    std::unique_ptr<QIODevice> device = std::move(m_device);
    m_errorsInFile = 0;
    writer->writeListEnd();
    writeClassEnd(*writer);
    writer->flush();
    writer.reset();
    device->close();
    writeIndex();
}

void TErrTrack::writeIndex()
{
    m_index.setValue(QStringLiteral("SumCount"), QString::number(m_totalErrors));
    m_index.setValue(QStringLiteral("Guid"), m_configId);
    m_index.setValue(QStringLiteral("ConfigFileName"), m_configFileName);
    std::unique_ptr<QIODevice> device = m_folder->createFile(kFolder, kIndexName);
    const QByteArray bytes = m_index.text().toUtf8();
    if (!device || device->write(bytes) != bytes.size())
        throw Exception(QStringLiteral("Stream write error"));
    device->close();
}

void TErrTrack::openErrorInfo()
{
    finishFile();
    std::unique_ptr<QIODevice> device = m_folder->openFile(kFolder, kIndexName);
    if (!device)
        fileNotFound(kIndexName);
    m_index.setText(QString::fromUtf8(device->readAll()));
    device.reset();
    beginTable(QString(), QString());
    m_lastError = nullptr;
    m_owner->clearErrors();
    m_totalErrors = m_index.value(QStringLiteral("SumCount")).toInt();
    m_fileCount = m_index.value(QStringLiteral("FileCount")).toInt();
    m_configId = m_index.value(QStringLiteral("Guid"));
    m_configFileName = m_index.value(QStringLiteral("ConfigFileName"));
    m_currentFile = 1;
    loadErrorFile(1);
}

void TErrTrack::loadErrorFile(int number)
{
    const QString name = m_index.value(QStringLiteral("FileItem%1").arg(number));
    if (name.trimmed().isEmpty())
        return;
    std::unique_ptr<QIODevice> device = m_folder->openFile(kFolder, name);
    if (!device)
        fileNotFound(name);
    TReader reader(device.get(), kBufferSize);
    m_owner->loadFromStream(reader);
}

void TErrTrack::navigateTo(int number)
{
    m_currentFile = number;
    loadErrorFile(number);
}

void TErrTrack::firstErrorFile() { navigateTo(1); }
void TErrTrack::priorErrorFile() { navigateTo(std::max(1, m_currentFile - 1)); }
void TErrTrack::nextErrorFile() { navigateTo(std::max(1, std::min(m_fileCount, m_currentFile + 1))); }
void TErrTrack::lastErrorFile() { navigateTo(std::max(1, m_fileCount)); }
