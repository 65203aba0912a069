#pragma once
#include "shell/ITitled.h"

#include <memory>

class IConvertMapping;
class IDBConnectConfig;
class IUIContext;
class IUIFrame;
class TAbsDBDumpData;
class TKwStringsComponent;
class TUIFrameList;

// A migration job. The setters pass ownership: the job destroys what it holds.
class IDBConvert : public ITitled {
public:
    virtual IDBConnectConfig* getSourceConfig() const = 0;
    virtual IDBConnectConfig* getDestConfig() const = 0;
    virtual IConvertMapping* getMapping() const = 0;
    virtual void setSourceConfig(std::unique_ptr<IDBConnectConfig> config) = 0;
    virtual void setDestConfig(std::unique_ptr<IDBConnectConfig> config) = 0;
    virtual IUIFrame* getOwnPages() = 0;                                       // one page or none
    virtual void saveConfig(TKwStringsComponent& table, bool withoutPasswords) = 0;
    virtual void loadConfig(const TKwStringsComponent& table) = 0;
    virtual void loadConnectPasswords(const TKwStringsComponent& table) = 0;
    virtual void executeConvert(IUIContext* context, bool structureOnly, bool quiet) = 0;
    virtual void executeImport(TAbsDBDumpData* folder, IUIContext* context) = 0;
    virtual void executeExport(TAbsDBDumpData* folder, IUIContext* context) = 0;
    virtual void addRunPage(ITitled* owner, int operation, const QString& dumpFileName,
                            TUIFrameList* pages) = 0;
    virtual void applyRunOptions() = 0;
};
