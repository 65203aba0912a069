#include "migration/EditionRegistration.h"

#if __has_include("connconfig/UniDACDBConectConfig_Unit.h")
#include "connconfig/UniDACDBConectConfig_Unit.h"
#define QUENLOR_HAS_CONNCONFIG 1
#endif
#include "dbaccess/UniDACConnection_Unit.h"
#include "migration/CopyConvert_Unit.h"
#include "shell/ConvertManager.h"

#include <memory>

void registerEdition()
{
    TDBConvertManager& registry = convertManager();
    registry.registerConvertCreater(std::make_unique<TCopyConvertCreater>());
#ifdef QUENLOR_HAS_CONNCONFIG
    for (const char* kind : {"MySQL", "Oracle"})
        registry.registerConnectConfigCreater(
            std::make_unique<TUniDACDBConnectConfigCreater>(QString::fromLatin1(kind)));
#endif
    installDbErrorCodeHook();
}
