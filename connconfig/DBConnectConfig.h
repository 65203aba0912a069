#pragma once
// The connection configuration of one database over the data-access layer:
// a kind and name=value settings, seeded from the kind's defaults section of
// "UniDAC_Resource", and its creator registered by kind name.

#include "shell/ConvertManager.h"
#include "shell/DBConvertImpl.h"

#include <QString>

#include <memory>

class TDBConnectConfig : public TAbsDBConnectConfig {
public:
    explicit TDBConnectConfig(int kind);
    ~TDBConnectConfig() override;

    int getDBType() const override { return m_kind; }
    // getPages: the inherited list. The pages that edit the settings come with
    // the windows; until then it stays empty.
    QString getPublicSettingsText() const override;
    void loadPassword(const TStringList& lines) override;
    std::unique_ptr<IDBConnection> createConnectionWith(const TStringList& settings) override;

private:
    int m_kind;
    const TStringList* m_settings; // the inherited list, not owned

};

class TDBConnectConfigCreator : public TAbsDBConnectConfigCreator {
public:
    // The kind is dbKindCode of the name; the description comes from the
    // module "UniDAC_DBTypeDescription", section = the name.
    explicit TDBConnectConfigCreator(const QString& name);
    std::unique_ptr<IDBConnectConfig> create() override;
};

// resourceText("UniDAC_UIResource", "global", key): texts of the settings pages.
QString settingsPageText(const QString& key);
