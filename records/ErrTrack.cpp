#include "records/ErrTrack.h"

#include "foundation/Exception.h"
#include "foundation/PasswordMask.h"
#include "foundation/TextFormat.h"
#include "foundation/TypedStream.h"
#include "records/AbsDBDumpData.h"
#include "records/ErrInfoList.h"
#include "records/ReadDataRecord_Hash.h"
#include "records/StoredPayload.h"

#include <QFileDevice>
#include <QIODevice>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <unistd.h>

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

    if (firstOfTable)
        m_currentGroup = group;
    ++m_totalErrors;
    if (!failed()) {
        errno = 0; // a failure's reason is the errno the failing call leaves
        try {
            if (firstOfTable) {
                if (!m_writer)
                    startFile(group);
                m_writer->writeRaw(groupBytes);
            }
            if (!m_writer)
                startFile(nullptr);
            m_writer->writeRaw(errorBytes);
            ++m_errorsInFile;
        } catch (const std::exception& e) {
            fail(writeFailureText(m_writingName, m_device.get(), e));
        }
        if (m_errorsInFile >= kErrorsPerFile)
            finishFile();
    }
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
    // The error being added is counted already; the file starts before it.
    const int before = m_totalErrors - 1;
    m_index.setValue(QStringLiteral("SumCount"), QString::number(before));
    QString name = QStringLiteral("error.errlist");
    if (m_folder->fileExists(kFolder, name)) {
        int number = std::max(m_fileCount, 1);
        do
            name = QStringLiteral("error%1.errlist").arg(number++);
        while (m_folder->fileExists(kFolder, name));
    }
    m_writingName = name;
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
    m_writer->writeInteger(before + 1);
    m_writer->writeInteger(before + kErrorsPerFile);
    m_writer->writeListBegin();
    for (int i = 0; i < m_owner->groupCount(); ++i)
        if (m_owner->groupAt(i) != skipped)
            m_owner->groupAt(i)->saveToWriter(*m_writer);
}

bool TErrTrack::flush()
{
    if (m_writer && !failed()) {
        errno = 0;
        try {
            m_writer->flush();
        } catch (const std::exception& e) {
            fail(writeFailureText(m_writingName, m_device.get(), e));
        }
    }
    return !failed();
}

void TErrTrack::finishFile()
{
    if (!m_writer)
        return;
    std::unique_ptr<TWriter> writer = std::move(m_writer);
    std::unique_ptr<QIODevice> device = std::move(m_device);
    m_errorsInFile = 0;
    if (failed())
        return; // the writer's own flush fails quietly; the failure is known
    errno = 0;
    try {
        writer->writeListEnd();
        writeClassEnd(*writer);
        writer->flush();
        writer.reset();
        // Delayed write errors (a full disk, a network file system) show at the sync.
        if (auto* file = dynamic_cast<QFileDevice*>(device.get()); file && file->handle() >= 0 &&
                                                                   ::fdatasync(file->handle()) != 0)
            throw Exception(QString::fromLocal8Bit(strerror(errno)));
        device->close();
    } catch (const std::exception& e) {
        fail(writeFailureText(m_writingName, device.get(), e));
        return;
    }
    try {
        writeIndex();
    } catch (const std::exception& e) {
        fail(exceptionMessage(e));
    }
}

void TErrTrack::fail(const QString& message)
{
    if (m_failure.isEmpty())
        m_failure = message;
    m_writer.reset();
    m_device.reset();
}

QString TErrTrack::pathOf(const QString& name) const
{
    QString folder = m_folder->getFolder();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + kFolder + u'/' + name;
}

QString TErrTrack::writeFailureText(const QString& name, const QIODevice* device, const std::exception& error) const
{
    const int code = errno;
    if (!device)
        return exceptionMessage(error); // the folder's own text, with the path and the reason
    // The stream only knows that it failed; a short write leaves the device
    // without a reason, the system call's errno has it.
    QString reason = device->errorString();
    if (reason.isEmpty() || reason == QStringLiteral("Unknown error"))
        reason = code != 0 ? QString::fromLocal8Bit(strerror(code)) : exceptionMessage(error);
    return QStringLiteral("Cannot write file \"%1\": %2").arg(pathOf(name), reason);
}

void TErrTrack::writeIndex()
{
    m_index.setValue(QStringLiteral("SumCount"), QString::number(m_totalErrors));
    m_index.setValue(QStringLiteral("Guid"), m_configId);
    m_index.setValue(QStringLiteral("ConfigFileName"), m_configFileName);
    m_folder->replaceFile(kFolder, kIndexName, m_index.text().toUtf8());
}

void TErrTrack::openErrorInfo()
{
    finishFile();
    beginTable(QString(), QString());
    m_lastError = nullptr;
    m_owner->clearErrors();
    m_notes.clear();
    m_loadedDamage.clear();
    m_fromListing = false;
    m_index.clear();
    m_files.clear();
    m_totalErrors = m_fileCount = 0;
    m_configId.clear();
    m_configFileName.clear();

    const QStringList listed = listedErrorFiles();
    std::unique_ptr<QIODevice> device = m_folder->openFile(kFolder, kIndexName);
    if (!device) {
        if (listed.isEmpty())
            fileNotFound(kIndexName);
        readFolderListing(QStringLiteral("The error index \"%1\" is missing").arg(pathOf(kIndexName)), listed);
        return;
    }
    const QByteArray bytes = device->readAll();
    device.reset();
    m_index.setText(QString::fromUtf8(bytes));
    m_configId = m_index.value(QStringLiteral("Guid"));
    m_configFileName = m_index.value(QStringLiteral("ConfigFileName"));
    if (const QString damage = indexDamage(bytes); !damage.isEmpty()) {
        readFolderListing(QStringLiteral("The error index \"%1\" is damaged (%2)").arg(pathOf(kIndexName), damage),
                          listed);
        return;
    }
    const int count = m_index.value(QStringLiteral("FileCount")).toInt();
    for (int n = 1; n <= count; ++n)
        m_files << m_index.value(QStringLiteral("FileItem%1").arg(n));
    for (const QString& name : listed) {
        if (!m_files.contains(name)) {
            readFolderListing(QStringLiteral("The error index \"%1\" does not name \"%2\" (a run that did not end?)")
                                  .arg(pathOf(kIndexName), name),
                              listed);
            return;
        }
    }
    m_totalErrors = m_index.value(QStringLiteral("SumCount")).toInt();
    m_fileCount = int(m_files.size());
    m_currentFile = 1;
    loadErrorFile(1);
}

// Why the index cannot be trusted, blank when it can: the tracker writes it
// whole, every line ended, its FileCount matching FileItem1..FileItemN, each
// a plain name inside the error folder.
QString TErrTrack::indexDamage(const QByteArray& bytes) const
{
    if (bytes.isEmpty())
        return QStringLiteral("empty");
    if (!bytes.endsWith('\n'))
        return QStringLiteral("its last line is cut off");
    bool ok = false;
    const QString countText = m_index.value(QStringLiteral("FileCount"));
    const int count = countText.trimmed().toInt(&ok);
    if (!ok || count < 0)
        return QStringLiteral("FileCount=%1 is no count").arg(countText);
    static const QRegularExpression itemKey(QStringLiteral("^FileItem([0-9]+)$"), QRegularExpression::CaseInsensitiveOption);
    std::map<long long, QString> items;
    for (const QString& line : m_index.lines()) {
        const QRegularExpressionMatch match = itemKey.match(TStringList::nameOf(line));
        if (!match.hasMatch())
            continue;
        const long long number = match.captured(1).toLongLong();
        const QString name = line.mid(line.indexOf(u'=') + 1);
        if (!items.emplace(number, name).second)
            return QStringLiteral("FileItem%1 is given twice").arg(number);
    }
    if (qsizetype(items.size()) != count || (count > 0 && (items.begin()->first != 1 || items.rbegin()->first != count)))
        return QStringLiteral("FileCount=%1 but %2 FileItem entries").arg(count).arg(items.size());
    QStringList seen;
    for (const auto& [number, name] : items) {
        if (name.trimmed().isEmpty())
            return QStringLiteral("FileItem%1 is blank").arg(number);
        if (name.contains(u'/') || name.contains(u'\\') || name == QStringLiteral(".") || name == QStringLiteral(".."))
            return QStringLiteral("FileItem%1=%2 leaves the error folder").arg(number).arg(name);
        if (seen.contains(name))
            return QStringLiteral("FileItem%1=%2 names a file twice").arg(number).arg(name);
        seen << name;
    }
    return QString();
}

// The folder's list files in their numeric order ("error.errlist" first).
QStringList TErrTrack::listedErrorFiles() const
{
    static const QRegularExpression listName(QStringLiteral("^error([0-9]*)\\.errlist$"));
    std::vector<std::pair<long long, QString>> found;
    if (std::unique_ptr<TStringList> files = m_folder->listFiles()) {
        for (const QString& path : files->lines()) {
            if (!path.startsWith(kFolder + u'/'))
                continue;
            const QString name = path.mid(kFolder.size() + 1);
            const QRegularExpressionMatch match = listName.match(name);
            if (match.hasMatch())
                found.emplace_back(match.captured(1).isEmpty() ? 0 : match.captured(1).toLongLong(), name);
        }
    }
    std::sort(found.begin(), found.end());
    QStringList names;
    for (const auto& entry : found)
        names << entry.second;
    return names;
}

// Reads every list file once, keeping those that can be opened, each up to
// its last complete error, to know the files and the errors they hold.
void TErrTrack::readFolderListing(const QString& why, const QStringList& files)
{
    m_fromListing = true;
    m_files.clear();
    m_notes << why + QStringLiteral("; the error list files of the folder were read instead.");
    int total = 0;
    for (const QString& name : files) {
        std::unique_ptr<QIODevice> device;
        try {
            device = m_folder->openFile(kFolder, name);
        } catch (const std::exception& e) {
            m_notes << exceptionMessage(e);
            continue;
        }
        if (!device)
            continue;
        QString damage;
        {
            TReader reader(device.get(), kBufferSize);
            m_owner->loadFromStream(reader, &damage);
        }
        total += m_owner->errorCount();
        if (!damage.isEmpty())
            m_notes << QStringLiteral("The error list file \"%1\" is incomplete (%2): its first %3 errors were read.")
                           .arg(pathOf(name), damage)
                           .arg(m_owner->errorCount());
        m_files << name;
    }
    m_owner->clearErrors();
    m_totalErrors = total;
    m_fileCount = int(m_files.size());
    m_index.setValue(QStringLiteral("SumCount"), QString::number(m_totalErrors));
    m_index.setValue(QStringLiteral("FileCount"), QString::number(m_fileCount));
    m_currentFile = 1;
    loadErrorFile(1);
}

QString TErrTrack::fileName(int number) const
{
    return number >= 1 && number <= m_files.size() ? m_files.at(number - 1) : QString();
}

void TErrTrack::loadErrorFile(int number)
{
    const QString name = fileName(number);
    if (name.trimmed().isEmpty())
        return;
    std::unique_ptr<QIODevice> device = m_folder->openFile(kFolder, name);
    if (!device)
        fileNotFound(name);
    TReader reader(device.get(), kBufferSize);
    // Files found without the index may end early (a killed run): what they hold is shown.
    m_owner->loadFromStream(reader, m_fromListing ? &m_loadedDamage : nullptr);
    if (!m_fromListing)
        m_loadedDamage.clear();
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
