#include "migration/EditionRegistration.h"

#include "connconfig/UniDACDBConectConfig_Unit.h"
#include "dbaccess/UniDACConnection_Unit.h"
#include "migration/CopyConvert_Unit.h"
#include "shell/ConvertManager.h"

#include <memory>

void registerEdition()
{
    TDBConvertManager& registry = convertManager();
    registry.registerConvertCreater(std::make_unique<TCopyConvertCreater>());
    for (const char* kind : {"MySQL", "Oracle"})
        registry.registerConnectConfigCreater(
            std::make_unique<TUniDACDBConnectConfigCreater>(QString::fromLatin1(kind)));
    installDbErrorCodeHook();
}
