#include "foundation/StringResource.h"

#include "foundation/Errors.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/ModalSeam.h"
#include "foundation/TextFormat.h"

#include <utility>

namespace {

std::unique_ptr<TStringResourceManager> g_manager;
TErrorTypeNameHook g_errorTypeNameHook = nullptr;
TErrorDialogHook g_errorDialogHook = nullptr;

const QString kMainModule = QStringLiteral("MainDataResource");

QString moduleKey(const QString& module, const QString& language)
{
    return module + u'.' + language;
}

} // namespace

TStringResourceManager::TStringResourceManager() = default;
TStringResourceManager::~TStringResourceManager() = default;

void TStringResourceManager::registerModule(const QString& moduleName, TKwStringsComponent* table,
                                            const QString& language)
{
    if (!table || moduleName.isEmpty() || language.isEmpty())
        return;
    const QString key = moduleKey(moduleName, language);
    for (const auto& item : m_modules) {
        if (item->key.compare(key, Qt::CaseInsensitive) == 0) {
            modalSeam().showMessage(
                QStringLiteral("ResourceModule Name duplication name=\"%1\"").arg(moduleName), QString());
            return;
        }
    }
    auto item = std::make_unique<TResourceItem>();
    item->key = key;
    item->table = table;
    m_modules.push_back(std::move(item));
}

TKwStringsComponent* TStringResourceManager::findModule(const QString& key) const
{
    for (const auto& item : m_modules) {
        if (item->key.compare(key, Qt::CaseInsensitive) == 0)
            return item->table.data();
    }
    return nullptr;
}

TStringList* TStringResourceManager::moduleSection(const QString& moduleName, const QString& section) const
{
    const TKwStringsComponent* table = findModule(moduleKey(moduleName, m_language));
    return table ? table->findSectionLines(section) : nullptr;
}

void TStringResourceManager::addLanguageHandler(TLanguageHandler handler, QObject* object)
{
    if (!handler)
        return;
    auto item = std::make_unique<TResourceEventItem>();
    item->handler = handler;
    item->object = object;
    m_handlers.push_back(std::move(item));
}

void TStringResourceManager::removeLanguageHandler(TLanguageHandler handler, QObject* object)
{
    for (auto it = m_handlers.begin(); it != m_handlers.end(); ++it) {
        if ((*it)->handler == handler && (*it)->object == object) {
            m_handlers.erase(it);
            return;
        }
    }
}

void TStringResourceManager::setLanguage(const QString& code)
{
    if (code.compare(m_language, Qt::CaseInsensitive) == 0)
        return;
    m_language = code;
    // A handler may close its window and remove itself (or others) while the
    // list is walked: iterate over the entries present at the start and call
    // only those still registered.
    std::vector<const TResourceEventItem*> pending;
    pending.reserve(m_handlers.size());
    for (const auto& item : m_handlers)
        pending.push_back(item.get());
    for (const TResourceEventItem* entry : pending) {
        bool stillThere = false;
        for (const auto& item : m_handlers) {
            if (item.get() == entry) {
                stillThere = true;
                break;
            }
        }
        if (stillThere)
            entry->handler(entry->object);
    }
}

TStringResourceManager& stringResourceManager()
{
    // Lookups before start-up (or in tools that never start the shell) see an
    // empty manager rather than a null one.
    if (!g_manager)
        g_manager = std::make_unique<TStringResourceManager>();
    return *g_manager;
}

void createStringResourceManager()
{
    g_manager = std::make_unique<TStringResourceManager>();
}

void destroyStringResourceManager()
{
    g_manager.reset();
}

QStringList knownLanguages()
{
    return {QStringLiteral("CN"), QStringLiteral("EN")};
}

QString replaceEscapes(const QString& value)
{
    QString out = value;
    out.replace(QLatin1String("\\r\\n"), QLatin1String("\r\n"));
    return out;
}

TStringList* resourceSection(const QString& module, const QString& section)
{
    return stringResourceManager().moduleSection(module, section);
}

QString resourceSectionText(const QString& module, const QString& section)
{
    const TStringList* lines = resourceSection(module, section);
    return lines ? lines->text() : QString();
}

QString resourceText(const QString& module, const QString& section, const QString& key)
{
    const TStringList* lines = resourceSection(module, section);
    return lines ? replaceEscapes(lines->value(key)) : QString();
}

QString stringResourceText(int number)
{
    return resourceText(kMainModule, QStringLiteral("string resource"), QString::number(number));
}

QString formatStringResource(int number, const QVariantList& args)
{
    return formatText(stringResourceText(number), args);
}

QString errorStateName(int state)
{
    return resourceText(kMainModule, QStringLiteral("errorstate"), QString::number(state));
}

QString errorTypeName(int type)
{
    return g_errorTypeNameHook ? g_errorTypeNameHook(type) : QString();
}

QString fileDialogFilter(const QString& kind, const QString& extension)
{
    const TStringList* section = resourceSection(kMainModule, QStringLiteral("fileext"));
    if (!section)
        return QString();
    const QString description = formatText(replaceEscapes(section->value(kind)), {extension});
    const QString pattern = extension.startsWith(u'.') ? u'*' + extension : extension;
    return description + u'|' + pattern + u'|' + replaceEscapes(section->value(QStringLiteral("all")))
        + QStringLiteral("|*.*");
}

bool askYesNo(const QString& question)
{
    return modalSeam().askYesNo(question, stringResourceText(100));
}

bool showErrorDialog(const QString& message, const QString& detail)
{
    return g_errorDialogHook ? g_errorDialogHook(message, detail) : false;
}

bool splitResourceName(const QString& componentName, QString* module, QString* language)
{
    const qsizetype n = componentName.size();
    if (n < 4 || componentName.at(n - 3) != u'_')
        return false;
    if (module)
        *module = componentName.left(n - 3);
    if (language)
        *language = componentName.right(2);
    return true;
}

void registerResourceDataModule(QObject* dataModule)
{
    if (!dataModule)
        return;
    const QStringList known = knownLanguages();
    for (QObject* child : dataModule->children()) {
        auto* table = qobject_cast<TKwStringsComponent*>(child);
        QString module;
        QString language;
        if (!table || !splitResourceName(table->objectName(), &module, &language))
            continue;
        if (known.contains(language, Qt::CaseInsensitive))
            stringResourceManager().registerModule(module, table, language);
    }
}

void setErrorTypeNameHook(TErrorTypeNameHook hook) { g_errorTypeNameHook = hook; }
void setErrorDialogHook(TErrorDialogHook hook) { g_errorDialogHook = hook; }
TErrorTypeNameHook errorTypeNameHook() { return g_errorTypeNameHook; }
TErrorDialogHook errorDialogHook() { return g_errorDialogHook; }

void registerMessageHooks()
{
    setErrorTypeNameHook([](int type) {
        return resourceText(kMainModule, QStringLiteral("ErrorDataType"), QString::number(type));
    });
    setNumberedErrorTextHook([](int code) {
        return resourceText(kMainModule, QStringLiteral("common error"), QString::number(code));
    });
}
