#pragma once
// The program's defaults data module: the shipped data tables (type maps,
// statement templates, global option defaults), one keyed string table per
// file of the embedded folder :/data/main, named after the file.

#include <QString>

#include <map>
#include <memory>

class TKwStringsComponent;
class TStringList;

class TMainDataModule {
public:
    TMainDataModule();
    ~TMainDataModule();
    TMainDataModule(const TMainDataModule&) = delete;
    TMainDataModule& operator=(const TMainDataModule&) = delete;

    // The table of that name (ignoring case), or none.
    const TKwStringsComponent* table(const QString& name) const;
    // The built-in default of a global option ("GlobalOption" table, section
    // "DefaultGlobalOption"), or the empty text.
    QString globalOptionDefault(const QString& key) const;
    // "Default" section of "FieldMapping" / "creatTableFieldScopeDef" overlaid
    // with the kind's section; none when both are missing.
    std::unique_ptr<TStringList> mergedFieldMapping(int kind) const;
    std::unique_ptr<TStringList> mergedScopeTable(int kind) const;

private:
    std::map<QString, std::unique_ptr<TKwStringsComponent>> m_tables; // key upper-cased
};

// The process-wide module, made on first use (its data is embedded and cannot
// fail to load).
TMainDataModule& mainDataModule();
