#include "shell/DBConvertImpl.h"

#include "foundation/KwStringsComponent.h"
#include "foundation/StringList.h"
#include "foundation/StringResource.h"
#include "shell/UIFrameList.h"

QString displayTitle(const QString& titleKey, const QString& titleModule, const QString& titleSection)
{
    if (titleModule.isEmpty() || titleSection.isEmpty())
        return titleKey;
    return resourceText(titleModule, titleSection, titleKey);
}

TAbsDBConvert::TAbsDBConvert(const TTitleTexts& title) : m_title(title) {}

TAbsDBConvert::~TAbsDBConvert() = default;

void TAbsDBConvert::setSourceConfig(std::unique_ptr<IDBConnectConfig> config)
{
    m_sourceConfig = std::move(config);
}

void TAbsDBConvert::setDestConfig(std::unique_ptr<IDBConnectConfig> config)
{
    m_destConfig = std::move(config);
}

void TAbsDBConvert::setMapping(std::unique_ptr<IConvertMapping> mapping)
{
    m_mapping = std::move(mapping);
}

void TAbsDBConvert::setOwnPage(std::unique_ptr<IUIFrame> page)
{
    m_ownPage = std::move(page);
}

TAbsDBConnectConfig::TAbsDBConnectConfig(const TTitleTexts& title)
    : m_title(title), m_settings(std::make_unique<TStringList>()), m_pages(std::make_unique<TUIFrameList>(this))
{
}

TAbsDBConnectConfig::~TAbsDBConnectConfig() = default;

std::unique_ptr<IDBConnection> TAbsDBConnectConfig::createConnection()
{
    return createConnectionWith(*m_settings);
}

TAbsConvertMapping::TAbsConvertMapping(IDBConvert* job, const TTitleTexts& title)
    : m_title(title), m_job(job), m_table(std::make_unique<TKwStringsComponent>())
{
}

TAbsConvertMapping::~TAbsConvertMapping() = default;

void TAbsConvertMapping::setPages(std::unique_ptr<TUIFrameList> pages)
{
    m_pages = std::move(pages);
}
