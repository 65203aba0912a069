#pragma once
// Providers by name (compared ignoring case). The process-wide instance holds
// the built-in providers (DbBuiltinProviders).

#include "platform/db/DbProvider.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class DbProviderRegistry {
public:
    DbProviderRegistry() = default;
    static DbProviderRegistry& instance();

    // Replaces a provider of the same name.
    void registerProvider(std::unique_ptr<DbProvider> provider);
    DbProvider* find(const QString& name) const; // nullptr when unknown
    QStringList names() const;

    // False for unknown names.
    bool takesPort(const QString& name) const;
    bool takesDatabase(const QString& name) const;

private:
    std::vector<std::unique_ptr<DbProvider>> m_providers;
};
