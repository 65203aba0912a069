#include "shell/ConvertManager.h"

#include "foundation/Exception.h"
#include "foundation/StringResource.h"
#include "shell/TypeMapping.h"

#include <algorithm>

namespace {

std::unique_ptr<TDBConvertManager> g_manager;

template <typename Creator>
Creator* findCreator(const std::vector<std::unique_ptr<Creator>>& creators, const QString& name)
{
    for (const auto& creator : creators)
        if (creator->name().compare(name, Qt::CaseInsensitive) == 0)
            return creator.get();
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

template <typename Creator>
void registerCreator(std::vector<std::unique_ptr<Creator>>& creators, TStringList& names,
                     std::unique_ptr<Creator> creator)
{
    if (!creator)
        return;
    const QString name = creator->name();
    auto it = std::find_if(creators.begin(), creators.end(), [&](const std::unique_ptr<Creator>& c) {
        return c->name().compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it != creators.end()) {
        *it = std::move(creator); // destroys the earlier creator
        const qsizetype index = names.indexOf(name);
        if (index >= 0)
            names.set(index, name);
        else
            names.add(name);
    } else {
        creators.push_back(std::move(creator));
        names.add(name);
    }
    sortNames(names);
}

} // namespace

TDBConvertManager::TDBConvertManager() = default;
TDBConvertManager::~TDBConvertManager() = default;

std::unique_ptr<IDBConvert> TDBConvertManager::createConvert(const QString& name)
{
    TAbsConvertCreator* creator = findCreator(m_convertCreators, name);
    return creator ? creator->create() : nullptr;
}

std::unique_ptr<IDBConnectConfig> TDBConvertManager::createConnectConfig(const QString& name)
{
    TAbsDBConnectConfigCreator* creator = findCreator(m_connectConfigCreators, name);
    return creator ? creator->create() : nullptr;
}

void TDBConvertManager::registerConnectConfigCreator(std::unique_ptr<TAbsDBConnectConfigCreator> creator)
{
    registerCreator(m_connectConfigCreators, m_connectConfigNames, std::move(creator));
}

void TDBConvertManager::registerConvertCreator(std::unique_ptr<TAbsConvertCreator> creator)
{
    registerCreator(m_convertCreators, m_convertNames, std::move(creator));
}

QString TDBConvertManager::connectConfigDescription(const QString& name) const
{
    const TAbsDBConnectConfigCreator* creator = findCreator(m_connectConfigCreators, name);
    if (!creator)
        return QString();
    return resourceSectionText(creator->descriptionModule(), creator->descriptionSection());
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
