#pragma once
// Partial implementations of the job, connection-configuration and mapping
// interfaces, and the display-title rule they share with the wizard pages.

#include "shell/IConvertMapping.h"
#include "shell/IDBConnectConfig.h"
#include "shell/IDBConnection.h"
#include "shell/IDBConvert.h"
#include "shell/IUIFrame.h"

#include <QString>

#include <memory>

// The localised title: the title key itself when the module or the section is
// empty, else the resource text of (module, section, key) in the current
// language.
QString displayTitle(const QString& titleKey, const QString& titleModule, const QString& titleSection);

// Title key, module and section of a titled object.
struct TTitleTexts {
    QString key;
    QString module;
    QString section;
    QString display() const { return displayTitle(key, module, section); }
};

class TAbsDBConvert : public IDBConvert {
public:
    explicit TAbsDBConvert(const TTitleTexts& title = {});
    ~TAbsDBConvert() override;

    QString getTitle() const override { return m_title.key; }
    QString getDisplayTitle() const override { return m_title.display(); }
    IDBConnectConfig* getSourceConfig() const override { return m_sourceConfig.get(); }
    IDBConnectConfig* getDestConfig() const override { return m_destConfig.get(); }
    IConvertMapping* getMapping() const override { return m_mapping.get(); }
    // Replacing a configuration destroys the previous one.
    void setSourceConfig(std::unique_ptr<IDBConnectConfig> config) override;
    void setDestConfig(std::unique_ptr<IDBConnectConfig> config) override;
    IUIFrame* getOwnPages() override { return m_ownPage.get(); }

    TTitleTexts& title() { return m_title; }

protected:
    void setMapping(std::unique_ptr<IConvertMapping> mapping);
    void setOwnPage(std::unique_ptr<IUIFrame> page);

private:
    TTitleTexts m_title;
    // Destroyed in reverse order: own page, mapping (which holds the
    // connections), then the configurations with their pages.
    std::unique_ptr<IDBConnectConfig> m_sourceConfig;
    std::unique_ptr<IDBConnectConfig> m_destConfig;
    std::unique_ptr<IConvertMapping> m_mapping;
    std::unique_ptr<IUIFrame> m_ownPage;
};

class TAbsDBConnectConfig : public IDBConnectConfig {
public:
    explicit TAbsDBConnectConfig(const TTitleTexts& title = {});
    ~TAbsDBConnectConfig() override;

    QString getTitle() const override { return m_title.key; }
    QString getDisplayTitle() const override { return m_title.display(); }
    // Owned; its owner is this configuration.
    TUIFrameList* getPages() override { return m_pages.get(); }
    TStringList* getSettings() override { return m_settings.get(); }
    std::unique_ptr<IDBConnection> createConnection() override;

    TTitleTexts& title() { return m_title; }

private:
    TTitleTexts m_title;
    std::unique_ptr<TStringList> m_settings;
    std::unique_ptr<TUIFrameList> m_pages;
};

class TAbsConvertMapping : public IConvertMapping {
public:
    explicit TAbsConvertMapping(IDBConvert* job, const TTitleTexts& title = {});
    ~TAbsConvertMapping() override;

    QString getTitle() const override { return m_title.key; }
    QString getDisplayTitle() const override { return m_title.display(); }
    // None until a concrete class creates it.
    TUIFrameList* getPages() override { return m_pages.get(); }
    TKwStringsComponent* getMappingTable() override { return m_table.get(); }

    IDBConvert* job() const { return m_job; }
    TTitleTexts& title() { return m_title; }

protected:
    void setPages(std::unique_ptr<TUIFrameList> pages);

private:
    TTitleTexts m_title;
    IDBConvert* m_job; // not owned
    std::unique_ptr<TKwStringsComponent> m_table;
    std::unique_ptr<TUIFrameList> m_pages;
};
