#include "platform/db/DbProviderRegistry.h"

#include "platform/db/DbBuiltinProviders.h"

DbProviderRegistry& DbProviderRegistry::instance()
{
    static DbProviderRegistry* registry = [] {
        auto* r = new DbProviderRegistry; // lives to the end of the process
        registerBuiltinProviders(*r);
        return r;
    }();
    return *registry;
}

void DbProviderRegistry::registerProvider(std::unique_ptr<DbProvider> provider)
{
    for (auto& p : m_providers) {
        if (p->name().compare(provider->name(), Qt::CaseInsensitive) == 0) {
            p = std::move(provider);
            return;
        }
    }
    m_providers.push_back(std::move(provider));
}

DbProvider* DbProviderRegistry::find(const QString& name) const
{
    for (const auto& p : m_providers)
        if (p->name().compare(name, Qt::CaseInsensitive) == 0)
            return p.get();
    return nullptr;
}

QStringList DbProviderRegistry::names() const
{
    QStringList out;
    for (const auto& p : m_providers)
        out.append(p->name());
    return out;
}

bool DbProviderRegistry::takesPort(const QString& name) const
{
    const DbProvider* p = find(name);
    return p && p->takesPort();
}

bool DbProviderRegistry::takesDatabase(const QString& name) const
{
    const DbProvider* p = find(name);
    return p && p->takesDatabase();
}
