#include "shell/MainDataModule.h"

#include "foundation/CommonUtils.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"
#include "foundation/StringList.h"

#include <QDir>
#include <QFileInfo>

namespace {
std::unique_ptr<TStringList> mergedSections(const TKwStringsComponent* table, int kind)
{
    if (!table)
        return nullptr;
    const TStringList* base = table->findSectionLines(QStringLiteral("Default"));
    const TStringList* overlay = table->findSectionLines(dbKindName(kind));
    if (!base && !overlay)
        return nullptr;
    return mergeNameValues(base, overlay);
}
} // namespace

TMainDataModule::TMainDataModule()
{
    const QDir dir(QStringLiteral(":/data/main"));
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        auto table = std::make_unique<TKwStringsComponent>(nullptr, info.completeBaseName());
        kwTableLoadTextFile(*table, info.filePath());
        m_tables[info.completeBaseName().toUpper()] = std::move(table);
    }
}

TMainDataModule::~TMainDataModule() = default;

const TKwStringsComponent* TMainDataModule::table(const QString& name) const
{
    const auto it = m_tables.find(name.toUpper());
    return it == m_tables.end() ? nullptr : it->second.get();
}

QString TMainDataModule::globalOptionDefault(const QString& key) const
{
    const TKwStringsComponent* options = table(QStringLiteral("GlobalOption"));
    const TStringList* section = options ? options->findSectionLines(QStringLiteral("DefaultGlobalOption")) : nullptr;
    return section ? section->value(key) : QString();
}

std::unique_ptr<TStringList> TMainDataModule::mergedFieldMapping(int kind) const
{
    return mergedSections(table(QStringLiteral("FieldMapping")), kind);
}

std::unique_ptr<TStringList> TMainDataModule::mergedScopeTable(int kind) const
{
    return mergedSections(table(QStringLiteral("creatTableFieldScopeDef")), kind);
}

TMainDataModule& mainDataModule()
{
    static TMainDataModule module;
    return module;
}
