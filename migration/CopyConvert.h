#pragma once
// The migration job of this edition: an Oracle source configuration, a MySQL
// destination configuration, the mapping of tables, field matches and custom
// statements, and the seven run options; its creator and its mapping with
// the two connections.

#include "shell/ConvertManager.h"
#include "shell/DBConvertImpl.h"

#include <QString>
#include <QStringList>

#include <memory>

class TCopyConvert;
class TStringList;
class TUIFrameList;

class TCopyMapping : public TAbsConvertMapping {
public:
    explicit TCopyMapping(TCopyConvert* job); // not owned
    ~TCopyMapping() override;                 // releases the connections

    // The pages of table selection, destination names and options come with
    // the wizard; until then the list is empty, owned by the mapping.
    TUIFrameList* getPages() override;

    TCopyConvert* job() const { return m_copyJob; }
    // None until connectBoth made them; owned by the mapping.
    IDBConnection* sourceConnection() const { return m_sourceConnection.get(); }
    IDBConnection* destConnection() const { return m_destConnection.get(); }

    // Lines of "Config/Tables" (source=destination), appended empty when missing.
    TStringList& tableLines();
    // Lines of "Config/FieldMatch/<source>" (source field=destination field), or none.
    const TStringList* fieldMatchLines(const QString& source) const;
    // Text of "Config/SQL/<source>" for an "SQL@" source; found reports
    // whether the section exists.
    QString customSQL(const QString& source, bool* found = nullptr) const;

    // Destination first (with the destination flag given), then the source
    // (flag false). On failure: false, the failure text, the kind of the
    // database that failed and its error code; the source is not touched when
    // the destination fails. failedKind is -1 on success.
    bool connectBoth(QString& failureText, int& failedKind, int& errorCode, bool destination);
    // Closes and frees the source connection, then the destination connection.
    void releaseConnections();

    // Whether a configuration's settings differ (ignoring letter case) from
    // what rememberSettings stored.
    bool sourceSettingsChanged() const;
    bool destSettingsChanged() const;
    // Stores the current settings texts of both configurations.
    void rememberSettings();
    QString sourceSettingsText() const { return m_sourceSettingsText; }
    QString destSettingsText() const { return m_destSettingsText; }

private:
    TCopyConvert* m_copyJob; // not owned
    std::unique_ptr<IDBConnection> m_sourceConnection;
    std::unique_ptr<IDBConnection> m_destConnection;
    QString m_sourceSettingsText;
    QString m_destSettingsText;
};

class TCopyConvert : public TAbsDBConvert {
public:
    // Options from the global options; configurations "Oracle" (source) and
    // "MySQL" (destination) from the converter registry when it knows them.
    TCopyConvert();
    ~TCopyConvert() override;

    IUIFrame* getOwnPages() override { return nullptr; } // this job has none

    // Writes "Config/Init", "Config/SourceConnect", "Config/DestConnect" and
    // the mapping's sections; withoutPasswords stores the settings without the
    // password and with the login prompt on.
    void saveConfig(TKwStringsComponent& table, bool withoutPasswords) override;
    // Reads the job back. A source kind other than Oracle raises common error
    // 20000, a destination kind other than MySQL 20001; the job then keeps the
    // options read, no configurations and an empty mapping.
    void loadConfig(const TKwStringsComponent& table) override;
    // Takes only the passwords of the two connect sections of another table.
    void loadConnectPasswords(const TKwStringsComponent& table) override;
    // Runs the migration through the execution engine.
    void executeConvert(IUIContext* context, bool structureOnly, bool quiet) override;
    // Dump export and import are a later issue; both do nothing yet.
    void executeImport(TAbsDBDumpData* folder, IUIContext* context) override;
    void executeExport(TAbsDBDumpData* folder, IUIContext* context) override;
    // The progress page comes with the windows; nothing is appended yet.
    void addRunPage(ITitled* owner, int operation, const QString& dumpFileName, TUIFrameList* pages) override;
    // Copies QuoteFieldName, UppercaseFieldName and TimeSuffix into dbOption().
    void applyRunOptions() override;

    TCopyMapping* copyMapping() const;
    IUIFrame* runPage() const { return m_runPage.get(); }

    bool quoteFieldName = true;
    bool upperCaseFieldName = true;
    bool clearSourceTable = false;
    bool dropDestTable = false;
    bool clearDestTable = false;
    bool timeSuffix = false;
    bool selectFields = false;
    int errorCount = 0; // failed records of the current run
    // Names of the loaded "Config/Init" that nothing reads (a typo, another
    // version's setting): a run names them in its log.
    const QStringList& unreadOptions() const { return m_unreadOptions; }

private:
    void readOptions(const TStringList* init);

    std::unique_ptr<IUIFrame> m_runPage; // destroyed before everything the base holds
    QStringList m_unreadOptions;
};

class TCopyConvertCreator : public TAbsConvertCreator {
public:
    TCopyConvertCreator() : TAbsConvertCreator(QStringLiteral("CopyConvert")) {}
    std::unique_ptr<IDBConvert> create() override;
};
