#pragma once
// Small concrete jobs, pages and creators for the shell tests.

#include "foundation/KwStringsComponent.h"
#include "shell/ConvertManager.h"
#include "shell/DBConvertImpl.h"

// A job that writes one section of its own and records what it was asked.
class TTestJob : public TAbsDBConvert {
public:
    explicit TTestJob(const QString& tag = QString()) : TAbsDBConvert({QStringLiteral("TestJob"), {}, {}}), tag(tag) {}
    QString tag;
    bool lastWithoutPasswords = false;

    void saveConfig(TKwStringsComponent& table, bool withoutPasswords) override
    {
        lastWithoutPasswords = withoutPasswords;
        table.addSection(QStringLiteral("Config/Options"), QStringLiteral("Tag=%1\r\nPassword=s3cr\u00e9t\r\n").arg(tag));
    }
    void loadConfig(const TKwStringsComponent&) override {}
    void loadConnectPasswords(const TKwStringsComponent&) override {}
    void executeConvert(IUIContext*, bool, bool) override {}
    void executeImport(TAbsDBDumpData*, IUIContext*) override {}
    void executeExport(TAbsDBDumpData*, IUIContext*) override {}
    void addRunPage(ITitled*, int, const QString&, TUIFrameList*) override {}
    void applyRunOptions() override {}
};

// A page that counts its live instances.
class TTestPage : public IUIFrame {
public:
    explicit TTestPage(ITitled* owner, int* alive = nullptr) : m_owner(owner), m_alive(alive)
    {
        if (m_alive)
            ++*m_alive;
    }
    ~TTestPage() override
    {
        if (m_alive)
            --*m_alive;
    }
    QString getTitle() const override { return QStringLiteral("page"); }
    QString getDisplayTitle() const override { return getTitle(); }
    ITitled* getOwner() const override { return m_owner; }
    QWidget* getControl() const override { return nullptr; }
    bool isStartPage() const override { return false; }
    bool canCancel() const override { return true; }
    bool canNext() const override { return true; }
    bool canPrior() const override { return true; }
    bool canFinish() const override { return false; }
    void setCanCancel(bool) override {}
    void setCanNext(bool) override {}
    void setCanPrior(bool) override {}
    void setCanFinish(bool) override {}
    bool isFinishPage() const override { return false; }
    void setFinishPage(bool) override {}
    bool enter(IUIContext*) override { return doEnter(); }
    bool doEnter() override { return true; }

private:
    ITitled* m_owner;
    int* m_alive;
};

// A connection configuration whose connections are never needed here.
class TTestConfig : public TAbsDBConnectConfig {
public:
    using TAbsDBConnectConfig::TAbsDBConnectConfig;
    int getDBType() const override { return 1; }
    QString getPublicSettingsText() const override { return {}; }
    void loadPassword(const TStringList&) override {}
    std::unique_ptr<IDBConnection> createConnectionWith(const TStringList&) override { return nullptr; }
};

// Creators that count their live instances and tag what they make.
class TCountingConvertCreator : public TAbsConvertCreator {
public:
    TCountingConvertCreator(const QString& name, const QString& tag, int* alive)
        : TAbsConvertCreator(name), m_tag(tag), m_alive(alive)
    {
        ++*m_alive;
    }
    ~TCountingConvertCreator() override { --*m_alive; }
    std::unique_ptr<IDBConvert> create() override { return std::make_unique<TTestJob>(m_tag); }

private:
    QString m_tag;
    int* m_alive;
};

class TCountingConfigCreator : public TAbsDBConnectConfigCreator {
public:
    TCountingConfigCreator(const QString& name, const QString& module, const QString& section, int* alive)
        : TAbsDBConnectConfigCreator(name, module, section), m_alive(alive)
    {
        ++*m_alive;
    }
    ~TCountingConfigCreator() override { --*m_alive; }
    std::unique_ptr<IDBConnectConfig> create() override
    {
        return std::make_unique<TTestConfig>(TTitleTexts{name(), {}, {}});
    }

private:
    int* m_alive;
};
