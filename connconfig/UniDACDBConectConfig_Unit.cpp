#include "connconfig/UniDACDBConectConfig_Unit.h"

#include "dbaccess/UniDACConnection_Unit.h"
#include "dbaccess/UniDACDataModule_Unit.h"
#include "foundation/CommonUtils_Unit.h"
#include "foundation/StringList.h"
#include "foundation/StringResource.h"

namespace {
const QString kPasswordKey = QStringLiteral("MainProperty_Password");
const QString kLoginPromptKey = QStringLiteral("MainProperty_LoginPrompt");
} // namespace

TUniDACDBConectConfig::TUniDACDBConectConfig(int kind) : m_kind(kind), m_settings(getSettings())
{
    // Line for line, empty values included: the defaults are not set through
    // setValue, which would drop them.
    if (const TStringList* defaults = dataAccessSection(QStringLiteral("Default_") + dbKindName(kind)))
        getSettings()->setLines(defaults->lines());
}

TUniDACDBConectConfig::~TUniDACDBConectConfig() = default;

QString TUniDACDBConectConfig::getPublicSettingsText() const
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

void TUniDACDBConectConfig::loadPassword(const TStringList& lines)
{
    if (lines.isEmpty())
        return;
    TStringList& settings = *getSettings();
    settings.setValue(kPasswordKey, lines.value(kPasswordKey));
    settings.setValue(kLoginPromptKey, QStringLiteral("False"));
}

std::unique_ptr<IDBConnection> TUniDACDBConectConfig::createConnectionWith(const TStringList& settings)
{
    auto connection = std::make_unique<TUniDAC_Connection>(m_kind);
    connection->setConnectParams(settings);
    return connection;
}

TUniDACDBConnectConfigCreater::TUniDACDBConnectConfigCreater(const QString& name)
    : TAbsDBConnectConfigCreater(name, QStringLiteral("UniDAC_DBTypeDescription"), name)
{
}

std::unique_ptr<IDBConectConfig> TUniDACDBConnectConfigCreater::create()
{
    return std::make_unique<TUniDACDBConectConfig>(dbKindCode(name()));
}

QString settingsPageText(const QString& key)
{
    return resourceText(QStringLiteral("UniDAC_UIResource"), QStringLiteral("global"), key);
}
