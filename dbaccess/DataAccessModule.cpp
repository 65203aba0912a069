#include "dbaccess/DataAccessModule.h"

#include "foundation/CommonUtils.h"
#include "foundation/DbKind.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"
#include "foundation/StringList.h"

#include <QRegularExpression>

namespace {

std::unique_ptr<TKwStringsComponent> loadShipped(const QString& name)
{
    auto table = std::make_unique<TKwStringsComponent>(nullptr, name);
    kwTableLoadTextFile(*table, QStringLiteral(":/data/dbaccess/") + name + QStringLiteral(".txt"));
    return table;
}

bool isOracleTimestampForm(const QString& raw)
{
    static const QRegularExpression interval(QStringLiteral("^INTERVAL (YEAR|DAY)\\([0-9]*\\) TO (MONTH|SECOND\\([0-9]*\\))$"));
    static const QRegularExpression timestamp(QStringLiteral("^TIMESTAMP\\([0-9]*\\)[A-Za-z0-9\\s]*$"));
    return interval.match(raw).hasMatch() || timestamp.match(raw).hasMatch();
}

} // namespace

TDataAccessModule::TDataAccessModule()
    : m_resources(loadShipped(QStringLiteral("UniDAC_Resource"))),
      m_metadataFieldTypes(loadShipped(QStringLiteral("UniDAC_MetadataFieldType")))
{
}

TDataAccessModule::~TDataAccessModule() = default;

TDataAccessModule& dataAccessModule()
{
    static TDataAccessModule module;
    return module;
}

QString mapSourceTypeName(int kind, const QString& raw)
{
    if (kind == dbkind::Oracle)
        return isOracleTimestampForm(raw) ? QStringLiteral("timestamp") : raw;
    const QString kindName = dbKindName(kind);
    const TStringList* codes =
        kindName.isEmpty() ? nullptr : dataAccessModule().metadataFieldTypes().findSectionLines(kindName);
    const QString mapped = codes && !raw.isEmpty() ? codes->value(raw) : QString();
    return mapped.isEmpty() ? raw : mapped;
}

const TStringList* dataAccessSection(const QString& section)
{
    return dataAccessModule().resources().findSectionLines(section);
}

QString providerNameOfKind(const QString& kindName)
{
    const TStringList* mapping = dataAccessSection(QStringLiteral("DataTypeMapping"));
    return mapping && !kindName.isEmpty() ? mapping->value(kindName) : QString();
}
