#pragma once
// A provider of the data-access layer, found by name in DbProviderRegistry.

#include "platform/db/DbConnectSettings.h"
#include "platform/db/DbSession.h"

#include <QString>
#include <memory>

class DbProvider {
public:
    virtual ~DbProvider() = default;
    virtual QString name() const = 0;
    virtual bool takesPort() const = 0;
    virtual bool takesDatabase() const = 0;
    // Opens a session; raises DbError with the server's message and code.
    virtual std::unique_ptr<DbSession> connect(const DbConnectSettings& settings) = 0;
};
