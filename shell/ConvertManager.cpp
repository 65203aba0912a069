#include "shell/ConvertManager.h"

#include "foundation/Exception.h"
#include "foundation/StringResource.h"
#include "shell/TypeMapping.h"

#include <algorithm>

namespace {

std::unique_ptr<TDBConvertManager> g_manager;

template <typename Creater>
Creater* findCreater(const std::vector<std::unique_ptr<Creater>>& creaters, const QString& name)
{
    for (const auto& creater : creaters)
        if (creater->name().compare(name, Qt::CaseInsensitive) == 0)
            return creater.get();
    return nullptr;
}

void sortNames(TStringList& names)
{
    QStringList lines = names.lines();
    std::stable_sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    names.setLines(lines);
}

template <typename Creater>
void registerCreater(std::vector<std::unique_ptr<Creater>>& creaters, TStringList& names,
                     std::unique_ptr<Creater> creater)
{
    if (!creater)
        return;
    const QString name = creater->name();
    auto it = std::find_if(creaters.begin(), creaters.end(), [&](const std::unique_ptr<Creater>& c) {
        return c->name().compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it != creaters.end()) {
        *it = std::move(creater); // destroys the earlier creater
        const qsizetype index = names.indexOf(name);
        if (index >= 0)
            names.set(index, name);
        else
            names.add(name);
    } else {
        creaters.push_back(std::move(creater));
        names.add(name);
    }
    sortNames(names);
}

} // namespace

TDBConvertManager::TDBConvertManager() = default;
TDBConvertManager::~TDBConvertManager() = default;

std::unique_ptr<IDBConvert> TDBConvertManager::createConvert(const QString& name)
{
    TAbsConvertCreater* creater = findCreater(m_convertCreaters, name);
    return creater ? creater->create() : nullptr;
}

std::unique_ptr<IDBConectConfig> TDBConvertManager::createConnectConfig(const QString& name)
{
    TAbsDBConnectConfigCreater* creater = findCreater(m_connectConfigCreaters, name);
    return creater ? creater->create() : nullptr;
}

void TDBConvertManager::registerConnectConfigCreater(std::unique_ptr<TAbsDBConnectConfigCreater> creater)
{
    registerCreater(m_connectConfigCreaters, m_connectConfigNames, std::move(creater));
}

void TDBConvertManager::registerConvertCreater(std::unique_ptr<TAbsConvertCreater> creater)
{
    registerCreater(m_convertCreaters, m_convertNames, std::move(creater));
}

QString TDBConvertManager::connectConfigDescription(const QString& name) const
{
    const TAbsDBConnectConfigCreater* creater = findCreater(m_connectConfigCreaters, name);
    if (!creater)
        return QString();
    return resourceSectionText(creater->descriptionModule(), creater->descriptionSection());
}

int TDBConvertManager::getFieldScope(int kind, const QString& typeName)
{
    return fieldScopeOf(kind, typeName);
}

QString TDBConvertManager::getFieldTypeName(int kind, TFieldType fieldType)
{
    return fieldTypeNameOf(kind, fieldType);
}

bool TDBConvertManager::autoDetectLen(int kind, const QString& typeName, int& precision, int& scale)
{
    return autoDetectLength(kind, typeName, precision, scale);
}

TDBConvertManager& convertManager()
{
    if (!g_manager)
        throw Exception(QStringLiteral("Converter registry not created"));
    return *g_manager;
}

bool hasConvertManager() { return g_manager != nullptr; }

void createConvertManager()
{
    if (!g_manager)
        g_manager = std::make_unique<TDBConvertManager>();
}

void destroyConvertManager() { g_manager.reset(); }
