#include "shell/Startup.h"

#include "foundation/AES.h"
#include "foundation/Errors.h"
#include "foundation/LogUtils.h"
#include "foundation/ResourceCNDataModule.h"
#include "foundation/ResourceENDataModule.h"
#include "foundation/StringResource.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/ConvertManager.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/MainDataModule.h"

#include <memory>

namespace {
std::unique_ptr<TDataModule_ResourceCN> g_resourceCN;
std::unique_ptr<TDataModule_ResourceEN> g_resourceEN;
bool g_started = false;
TEditionRegistration g_editionRegistration = nullptr;
} // namespace

void setEditionRegistration(TEditionRegistration registration) { g_editionRegistration = registration; }

void startUp()
{
    if (g_started)
        return;
    g_started = true;

    // 1. Foundations.
    initConfigKey();
    createAppLog();
    createStringResourceManager(); // current language CN
    loadGlobalOptions();
    currentShowProcess() = TCacheCurrentShowProcess();
    dbOption() = TDBOption();

    // 2. Main data module and the global-option default lookup.
    TMainDataModule* defaults = &mainDataModule();
    setOptionDefaultLookup([defaults](const QString& key) { return defaults->globalOptionDefault(key); });

    // 3. Registry, then the message hooks.
    createConvertManager();
    registerMessageHooks();
    // Database error dialog hook: comes with the database error dialog.

    // 4. Resource modules of both languages; their tables are registered later
    //    by selectLanguage.
    g_resourceCN = std::make_unique<TDataModule_ResourceCN>();
    g_resourceEN = std::make_unique<TDataModule_ResourceEN>();

    // 5, 6. Job and connection-configuration creators, the database-access
    //       data module and the error-code hook: the layers above the shell
    //       install them through the edition registration.
    if (g_editionRegistration)
        g_editionRegistration();
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
    setOptionDefaultLookup(nullptr);
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
