#pragma once
// The converter registry: creators of jobs and connection configurations,
// registered by name, and the process-wide instance.

#include "foundation/StringList.h"
#include "shell/IDBConnectConfig.h"
#include "shell/IDBConvert.h"
#include "shell/IDBConvertManager.h"

#include <QString>

#include <memory>
#include <vector>

class TAbsConvertCreator {
public:
    explicit TAbsConvertCreator(const QString& name) : m_name(name) {}
    virtual ~TAbsConvertCreator() = default;
    QString name() const { return m_name; }
    virtual std::unique_ptr<IDBConvert> create() = 0;

private:
    QString m_name;
};

class TAbsDBConnectConfigCreator {
public:
    TAbsDBConnectConfigCreator(const QString& name, const QString& descriptionModule,
                               const QString& descriptionSection)
        : m_name(name), m_descriptionModule(descriptionModule), m_descriptionSection(descriptionSection)
    {
    }
    virtual ~TAbsDBConnectConfigCreator() = default;
    QString name() const { return m_name; }
    QString descriptionModule() const { return m_descriptionModule; }
    QString descriptionSection() const { return m_descriptionSection; }
    virtual std::unique_ptr<IDBConnectConfig> create() = 0;

private:
    QString m_name;
    QString m_descriptionModule;
    QString m_descriptionSection;
};

class TDBConvertManager : public IDBConvertManager {
public:
    TDBConvertManager();
    ~TDBConvertManager() override;

    std::unique_ptr<IDBConvert> createConvert(const QString& name) override;
    std::unique_ptr<IDBConnectConfig> createConnectConfig(const QString& name) override;
    // A later creator of the same name (ignoring case) replaces the earlier
    // one in its position; the name is listed once.
    void registerConnectConfigCreator(std::unique_ptr<TAbsDBConnectConfigCreator> creator) override;
    void registerConvertCreator(std::unique_ptr<TAbsConvertCreator> creator) override;
    const TStringList& connectConfigNames() const override { return m_connectConfigNames; }
    const TStringList& convertNames() const override { return m_convertNames; }
    QString connectConfigDescription(const QString& name) const override;

    // Type mapping by the shipped tables (shell/TypeMapping.h).
    int getFieldScope(int kind, const QString& typeName) override;
    QString getFieldTypeName(int kind, TFieldType fieldType) override;
    bool autoDetectLen(int kind, const QString& typeName, int& precision, int& scale) override;

private:
    std::vector<std::unique_ptr<TAbsConvertCreator>> m_convertCreators;
    std::vector<std::unique_ptr<TAbsDBConnectConfigCreator>> m_connectConfigCreators;
    TStringList m_convertNames;
    TStringList m_connectConfigNames;
};

// The process-wide registry: created at start-up before any creator
// registers, lives until the process ends.
TDBConvertManager& convertManager();
bool hasConvertManager();
void createConvertManager();
void destroyConvertManager();
