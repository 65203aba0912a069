#include "migration/CopyConvert.h"

#include "foundation/CommonUtils.h"
#include "foundation/Errors.h"
#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/StringList.h"
#include "migration/ExecuteConvert.h"
#include "records/ErrTrack.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/UIFrameList.h"


#include <algorithm>
#include <array>

namespace {

const QString kInit = QStringLiteral("Config/Init");
const QString kSourceConnect = QStringLiteral("Config/SourceConnect");
const QString kDestConnect = QStringLiteral("Config/DestConnect");
const QString kTables = QStringLiteral("Config/Tables");
const QString kFieldMatchPrefix = QStringLiteral("Config/FieldMatch/");
const QString kSqlPrefix = QStringLiteral("Config/SQL/");
const QString kSourceKind = QStringLiteral("Oracle");
const QString kDestKind = QStringLiteral("MySQL");

// The seven options in the order they are written and read.
struct TOptionSlot {
    const char* key;
    bool TCopyConvert::*field;
};
constexpr std::array<TOptionSlot, 7> kOptions{{
    {"QuoteFieldName", &TCopyConvert::quoteFieldName},
    {"UppercaseFieldName", &TCopyConvert::upperCaseFieldName},
    {"ClearSourceTable", &TCopyConvert::clearSourceTable},
    {"DropDestTable", &TCopyConvert::dropDestTable},
    {"ClearDestTable", &TCopyConvert::clearDestTable},
    {"TimeSuffix", &TCopyConvert::timeSuffix},
    {"SelectFields", &TCopyConvert::selectFields},
}};

QString kindNameOf(const IDBConnectConfig* config)
{
    return config ? dbKindName(config->getDBType()) : QString();
}

QString settingsTextOf(IDBConnectConfig* config)
{
    return config ? config->getSettings()->text() : QString();
}

QString connectText(IDBConnectConfig* config, bool withoutPasswords)
{
    if (!config)
        return QString();
    return withoutPasswords ? config->getPublicSettingsText() : config->getSettings()->text();
}

std::unique_ptr<IDBConnectConfig> configOfKind(const QString& kind, const TKwStringsComponent& table,
                                              const QString& section)
{
    if (!hasConvertManager())
        return nullptr;
    std::unique_ptr<IDBConnectConfig> config = convertManager().createConnectConfig(kind);
    if (config) {
        const TStringList* lines = table.findSectionLines(section);
        config->getSettings()->setText(lines ? lines->text() : QString());
    }
    return config;
}

// Creates the connection when missing and opens it; a missing configuration
// or an exception is a failure like a refused login.
bool openSide(std::unique_ptr<IDBConnection>& connection, IDBConnectConfig* config, int expectedKind,
              bool destination, QString& failureText, int& failedKind, int& errorCode)
{
    try {
        if (!connection && config)
            connection = config->createConnection();
        if (!connection) {
            failureText = QStringLiteral("No %1 connection settings").arg(dbKindName(expectedKind));
            failedKind = config ? config->getDBType() : expectedKind;
            errorCode = -1;
            return false;
        }
        int code = 0;
        if (connection->openConnect(failureText, code, destination))
            return true;
        errorCode = code;
    } catch (const std::exception& e) {
        failureText = exceptionMessage(e);
        errorCode = -1;
    }
    failedKind = connection ? connection->getDBType() : expectedKind;
    return false;
}

void closeAndFree(std::unique_ptr<IDBConnection>& connection)
{
    if (!connection)
        return;
    try {
        if (connection->isConnected())
            connection->closeConnect();
    } catch (const std::exception&) {
        // A link that broke cannot be closed more; the object still goes.
    }
    connection.reset();
}

} // namespace

// ---------------------------------------------------------------- mapping

TCopyMapping::TCopyMapping(TCopyConvert* job) : TAbsConvertMapping(job), m_copyJob(job) {}

TCopyMapping::~TCopyMapping() { releaseConnections(); }

TUIFrameList* TCopyMapping::getPages()
{
    if (!TAbsConvertMapping::getPages())
        setPages(std::make_unique<TUIFrameList>(this));
    return TAbsConvertMapping::getPages();
}

TStringList& TCopyMapping::tableLines() { return getMappingTable()->sectionLines(kTables); }

const TStringList* TCopyMapping::fieldMatchLines(const QString& source) const
{
    return const_cast<TCopyMapping*>(this)->getMappingTable()->findSectionLines(kFieldMatchPrefix + source);
}

QString TCopyMapping::customSQL(const QString& source, bool* found) const
{
    const TStringList* lines =
        const_cast<TCopyMapping*>(this)->getMappingTable()->findSectionLines(kSqlPrefix + source);
    if (found)
        *found = lines != nullptr;
    return lines ? lines->text() : QString();
}

bool TCopyMapping::connectBoth(QString& failureText, int& failedKind, int& errorCode, bool destination)
{
    failedKind = -1;
    if (!openSide(m_destConnection, m_copyJob->getDestConfig(), dbKindCode(kDestKind), destination, failureText,
                  failedKind, errorCode))
        return false;
    return openSide(m_sourceConnection, m_copyJob->getSourceConfig(), dbKindCode(kSourceKind), false,
                    failureText, failedKind, errorCode);
}

void TCopyMapping::releaseConnections()
{
    closeAndFree(m_sourceConnection);
    closeAndFree(m_destConnection);
}

bool TCopyMapping::sourceSettingsChanged() const
{
    return settingsTextOf(m_copyJob->getSourceConfig()).compare(m_sourceSettingsText, Qt::CaseInsensitive) != 0;
}

bool TCopyMapping::destSettingsChanged() const
{
    return settingsTextOf(m_copyJob->getDestConfig()).compare(m_destSettingsText, Qt::CaseInsensitive) != 0;
}

void TCopyMapping::rememberSettings()
{
    m_sourceSettingsText = settingsTextOf(m_copyJob->getSourceConfig());
    m_destSettingsText = settingsTextOf(m_copyJob->getDestConfig());
}

// -------------------------------------------------------------------- job

TCopyConvert::TCopyConvert()
    : TAbsDBConvert(TTitleTexts{QStringLiteral("CopyConvertTitle"), QStringLiteral("CopyConvertUIResource"),
                                QStringLiteral("global")})
{
    readOptions(nullptr);
    if (hasConvertManager()) {
        setSourceConfig(convertManager().createConnectConfig(kSourceKind));
        setDestConfig(convertManager().createConnectConfig(kDestKind));
    }
    setMapping(std::make_unique<TCopyMapping>(this));
}

TCopyConvert::~TCopyConvert() = default;

TCopyMapping* TCopyConvert::copyMapping() const { return static_cast<TCopyMapping*>(getMapping()); }

void TCopyConvert::readOptions(const TStringList* init)
{
    for (const TOptionSlot& option : kOptions) {
        const QString key = QString::fromLatin1(option.key);
        bool ok = false;
        const bool value = init && init->contains(key) ? textToBool(init->value(key), ok) : false;
        this->*option.field = ok ? value : getOptionBool(key);
    }
}

void TCopyConvert::saveConfig(TKwStringsComponent& table, bool withoutPasswords)
{
    TStringList& init = table.sectionLines(kInit);
    init.setValue(QStringLiteral("Source"), kindNameOf(getSourceConfig()));
    init.setValue(QStringLiteral("Dest"), kindNameOf(getDestConfig()));
    for (const TOptionSlot& option : kOptions)
        init.setValue(QString::fromLatin1(option.key),
                      this->*option.field ? QStringLiteral("True") : QStringLiteral("False"));

    table.sectionLines(kSourceConnect).setText(connectText(getSourceConfig(), withoutPasswords));
    table.sectionLines(kDestConnect).setText(connectText(getDestConfig(), withoutPasswords));

    const TKwStringsComponent& mapping = *copyMapping()->getMappingTable();
    for (qsizetype i = 0; i < mapping.sectionCount(); ++i) {
        const TKwStringList* section = mapping.sectionAt(i);
        table.sectionLines(section->name).setText(section->text());
    }
}

void TCopyConvert::loadConfig(const TKwStringsComponent& table)
{
    TCopyMapping* mapping = copyMapping();
    mapping->releaseConnections();
    setSourceConfig(nullptr);
    setDestConfig(nullptr);
    mapping->getMappingTable()->clearSections();

    const TStringList* init = table.findSectionLines(kInit);
    const QString sourceKind = init ? init->value(QStringLiteral("Source")) : QString();
    const QString destKind = init ? init->value(QStringLiteral("Dest")) : QString();
    readOptions(init);
    m_unreadOptions.clear();
    for (qsizetype i = 0; init && i < init->count(); ++i) {
        if (!TStringList::hasName(init->at(i)))
            continue;
        const QString name = init->name(i).trimmed();
        const bool read = name.compare(QStringLiteral("Source"), Qt::CaseInsensitive) == 0
            || name.compare(QStringLiteral("Dest"), Qt::CaseInsensitive) == 0
            || std::any_of(kOptions.begin(), kOptions.end(), [&](const TOptionSlot& option) {
                   return name.compare(QLatin1String(option.key), Qt::CaseInsensitive) == 0;
               });
        if (!read)
            m_unreadOptions << name;
    }

    if (sourceKind.compare(kSourceKind, Qt::CaseInsensitive) != 0)
        raiseCommonError(20000, 1, {sourceKind, kSourceKind});
    if (destKind.compare(kDestKind, Qt::CaseInsensitive) != 0)
        raiseCommonError(20001, 1, {destKind, kDestKind});

    setSourceConfig(configOfKind(sourceKind, table, kSourceConnect));
    setDestConfig(configOfKind(destKind, table, kDestConnect));
    mapping->rememberSettings();

    TKwStringsComponent& target = *mapping->getMappingTable();
    for (qsizetype i = 0; i < table.sectionCount(); ++i) {
        const TKwStringList* section = table.sectionAt(i);
        if (section->name.compare(kTables, Qt::CaseInsensitive) == 0)
            target.addSection(kTables, section->text());
        else if (section->name.startsWith(kFieldMatchPrefix) || section->name.startsWith(kSqlPrefix))
            target.addSection(section->name, section->text());
    }
}

void TCopyConvert::loadConnectPasswords(const TKwStringsComponent& table)
{
    if (IDBConnectConfig* source = getSourceConfig())
        if (const TStringList* lines = table.findSectionLines(kSourceConnect))
            source->loadPassword(*lines);
    if (IDBConnectConfig* dest = getDestConfig())
        if (const TStringList* lines = table.findSectionLines(kDestConnect))
            dest->loadPassword(*lines);
}

void TCopyConvert::executeConvert(IUIContext* context, bool structureOnly, bool quiet)
{
    executeCopyConvert(*this, context, structureOnly, quiet);
}

void TCopyConvert::executeImport(TAbsDBDumpData*, IUIContext*)
{
    // Loading an unpacked dump package into the destination is a later issue.
}

void TCopyConvert::executeExport(TAbsDBDumpData*, IUIContext*)
{
    // Exporting the source data into a dump package is a later issue.
}

void TCopyConvert::addRunPage(ITitled*, int, const QString&, TUIFrameList*)
{
    // The progress page comes with the windows; a headless run calls
    // executeConvert directly.
}

void TCopyConvert::applyRunOptions()
{
    TDBOption& option = dbOption();
    option.quoteNames = quoteFieldName;
    option.upperCaseNames = upperCaseFieldName;
    option.timeSuffix = timeSuffix;
}

std::unique_ptr<IDBConvert> TCopyConvertCreator::create() { return std::make_unique<TCopyConvert>(); }
