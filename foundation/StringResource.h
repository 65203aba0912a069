#pragma once
// String resources: the registered keyed string tables per module and
// language, the current language, language-change handlers, and the lookups
// every shown or logged text goes through.

#include "foundation/KwStringsComponent.h"
#include "foundation/StringList.h"
#include "foundation/TextFormat.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

using TLanguageHandler = void (*)(QObject* object);

struct TResourceItem {
    QString key; // module.language, e.g. MainDataResource.CN
    // Not owned (the resource data module owns it); guarded so that a table
    // destroyed before the manager gives "none" instead of a dangling pointer.
    QPointer<TKwStringsComponent> table;
};

struct TResourceEventItem {
    TLanguageHandler handler = nullptr;
    QObject* object = nullptr; // not owned
};

class TStringResourceManager {
public:
    TStringResourceManager();
    ~TStringResourceManager();

    void registerModule(const QString& moduleName, TKwStringsComponent* table, const QString& language);
    TKwStringsComponent* findModule(const QString& key) const;
    TStringList* moduleSection(const QString& moduleName, const QString& section) const;
    void addLanguageHandler(TLanguageHandler handler, QObject* object);
    void removeLanguageHandler(TLanguageHandler handler, QObject* object);
    // Handlers run in registration order; a handler may add or remove
    // handlers (its own included) while they run: only entries still
    // registered when their turn comes are called.
    void setLanguage(const QString& code);
    QString currentLanguage() const { return m_language; }

    qsizetype moduleCount() const { return qsizetype(m_modules.size()); }
    qsizetype handlerCount() const { return qsizetype(m_handlers.size()); }

private:
    std::vector<std::unique_ptr<TResourceItem>> m_modules;
    std::vector<std::unique_ptr<TResourceEventItem>> m_handlers;
    QString m_language = QStringLiteral("CN");
};

// The process-wide manager, created at start-up (createStringResourceManager).
TStringResourceManager& stringResourceManager();
void createStringResourceManager();
void destroyStringResourceManager();

// Known languages, in order.
QStringList knownLanguages(); // {"CN", "EN"}

// Lookups over the process-wide manager. Key lookups turn the stored
// backslash-r-backslash-n into CR LF; whole-section lookups do not.
TStringList* resourceSection(const QString& module, const QString& section);
QString resourceSectionText(const QString& module, const QString& section);
QString resourceText(const QString& module, const QString& section, const QString& key);
QString stringResourceText(int number);
QString formatStringResource(int number, const QVariantList& args);
QString errorStateName(int state);
QString errorTypeName(int type);
QString fileDialogFilter(const QString& kind, const QString& extension);
bool askYesNo(const QString& question);                    // through the modal seam
bool showErrorDialog(const QString& message, const QString& detail);
QString replaceEscapes(const QString& value);

// Registers each keyed string table child of the data module whose object
// name splits into module and a known language (X_EN, MainDataResource_CN).
void registerResourceDataModule(QObject* dataModule);
// Module and language of a table component name; false when it does not split.
bool splitResourceName(const QString& componentName, QString* module, QString* language);

// Hooks filled at start-up; empty hooks give the documented fallbacks.
using TErrorTypeNameHook = QString (*)(int type);
using TErrorDialogHook = bool (*)(const QString& message, const QString& detail);
void setErrorTypeNameHook(TErrorTypeNameHook hook);
void setErrorDialogHook(TErrorDialogHook hook);
TErrorTypeNameHook errorTypeNameHook();
TErrorDialogHook errorDialogHook();
// Fills the error-type-name and numbered-error-text hooks from MainDataResource.
void registerMessageHooks();
