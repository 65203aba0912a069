#include "connconfig/DBConnectConfig.h"

#include "dbaccess/DBConnection.h"
#include "dbaccess/DataAccessModule.h"
#include "foundation/CommonUtils.h"
#include "foundation/StringList.h"
#include "foundation/StringResource.h"

namespace {
const QString kPasswordKey = QStringLiteral("MainProperty_Password");
const QString kLoginPromptKey = QStringLiteral("MainProperty_LoginPrompt");
} // namespace

TDBConnectConfig::TDBConnectConfig(int kind) : m_kind(kind), m_settings(getSettings())
{
    // Line for line, empty values included: the defaults are not set through
    // setValue, which would drop them.
    if (const TStringList* defaults = dataAccessSection(QStringLiteral("Default_") + dbKindName(kind)))
        getSettings()->setLines(defaults->lines());
}

TDBConnectConfig::~TDBConnectConfig() = default;

QString TDBConnectConfig::getPublicSettingsText() const
{
    TStringList copy;
    copy.setLines(m_settings->lines());
    // Every password line goes: a hand-edited settings text may repeat the
    // name, and the public text must hold no password at all.
    while (copy.contains(kPasswordKey))
        copy.setValue(kPasswordKey, QString());
    copy.setValue(kLoginPromptKey, QStringLiteral("True"));
    return copy.text();
}

void TDBConnectConfig::loadPassword(const TStringList& lines)
{
    if (lines.isEmpty())
        return;
    TStringList& settings = *getSettings();
    settings.setValue(kPasswordKey, lines.value(kPasswordKey));
    settings.setValue(kLoginPromptKey, QStringLiteral("False"));
}

std::unique_ptr<IDBConnection> TDBConnectConfig::createConnectionWith(const TStringList& settings)
{
    auto connection = std::make_unique<TDBConnection>(m_kind);
    connection->setConnectParams(settings);
    return connection;
}

TDBConnectConfigCreator::TDBConnectConfigCreator(const QString& name)
    : TAbsDBConnectConfigCreator(name, QStringLiteral("UniDAC_DBTypeDescription"), name)
{
}

std::unique_ptr<IDBConnectConfig> TDBConnectConfigCreator::create()
{
    return std::make_unique<TDBConnectConfig>(dbKindCode(name()));
}

QString settingsPageText(const QString& key)
{
    return resourceText(QStringLiteral("UniDAC_UIResource"), QStringLiteral("global"), key);
}
