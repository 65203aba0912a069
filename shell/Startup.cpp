#include "shell/Startup.h"

#include "foundation/AES.h"
#include "foundation/Errors.h"
#include "foundation/LogUtils_Unit.h"
#include "foundation/ResourceCNDataModule_Unit.h"
#include "foundation/ResourceENDataModule_Unit.h"
#include "foundation/StringResource.h"
#include "shell/ConvertManager.h"

#include <memory>

namespace {
std::unique_ptr<TDataModule_ResourceCN> g_resourceCN;
std::unique_ptr<TDataModule_ResourceEN> g_resourceEN;
bool g_started = false;
} // namespace

void startUp()
{
    if (g_started)
        return;
    g_started = true;

    // 1. Foundations.
    initConfigKey();
    createAppLog();
    createStringResourceManager(); // current language CN
    // Global options list, loaded from its file after the data-folder override: comes with the global options.
    // Current-progress object TCancheCurrentShowProcess: comes with the progress display.
    // Naming options TDBOption: comes with the global options.

    // 2. Main data module and the global-option default lookup: come with the global options.

    // 3. Registry, then the message hooks.
    createConvertManager();
    registerMessageHooks();
    // Database error dialog hook: comes with the database error dialog.

    // 4. Resource modules of both languages; their tables are registered later
    //    by selectLanguage.
    g_resourceCN = std::make_unique<TDataModule_ResourceCN>();
    g_resourceEN = std::make_unique<TDataModule_ResourceEN>();

    // 5. Job data module and the "CopyConvert" creater: come with the migration job.
    // 6. Database-access data module and the "MySQL" / "Oracle" creaters: come with the connection configuration.
    // 7. Error viewer hook: comes with the error list viewer.
}

void shutDown()
{
    // Reverse order of startUp, except that the resource manager goes before
    // the data modules whose tables it refers to; every step tolerates
    // objects that were never made.
    setNumberedErrorTextHook(nullptr);
    setErrorTypeNameHook(nullptr);
    destroyStringResourceManager();
    g_resourceEN.reset();
    g_resourceCN.reset();
    destroyConvertManager();
    destroyAppLog();
    g_started = false;
}

bool isStartedUp() { return g_started; }

QObject* resourceDataModule(const QString& language)
{
    if (language.compare(QStringLiteral("CN"), Qt::CaseInsensitive) == 0)
        return g_resourceCN.get();
    if (language.compare(QStringLiteral("EN"), Qt::CaseInsensitive) == 0)
        return g_resourceEN.get();
    return nullptr;
}

void selectLanguage(const QString& language)
{
    stringResourceManager().setLanguage(language);
    if (QObject* module = resourceDataModule(language))
        registerResourceDataModule(module);
}
