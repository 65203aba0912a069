#include "migration/EditionRegistration.h"

#include "connconfig/DBConnectConfig.h"
#include "dbaccess/DBConnection.h"
#include "migration/CopyConvert.h"
#include "shell/ConvertManager.h"

#include <memory>

void registerEdition()
{
    TDBConvertManager& registry = convertManager();
    registry.registerConvertCreator(std::make_unique<TCopyConvertCreator>());
    for (const char* kind : {"MySQL", "Oracle"})
        registry.registerConnectConfigCreator(
            std::make_unique<TDBConnectConfigCreator>(QString::fromLatin1(kind)));
    installDbErrorCodeHook();
}
